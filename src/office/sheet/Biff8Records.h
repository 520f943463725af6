#pragma once

#include <cstdint>

namespace office::sheet::biff {

/// Record ids of the BIFF5/BIFF8 workbook stream that the engine reads or rebuilds.
enum RecordId : std::uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kExternSheet = 0x0017,
    kName = 0x0018,
    kNote = 0x001C,
    kDateMode = 0x0022,
    kFilePass = 0x002F,
    kContinue = 0x003C,
    kCodePage = 0x0042,
    kObj = 0x005D,
    kColInfo = 0x007D,
    kWsBool = 0x0081,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kMulBlank = 0x00BE,
    kRString = 0x00D6,
    kDbCell = 0x00D7,
    kXf = 0x00E0,
    kMergedCells = 0x00E5,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kExtSst = 0x00FF,
    kSupBook = 0x01AE,
    kTxo = 0x01B6,
    kDimensions = 0x0200,
    kBlank = 0x0201,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRow = 0x0208,
    kIndex = 0x020B,
    kArray = 0x0221,
    kTable = 0x0236,
    kWindow2 = 0x023E,
    kRk = 0x027E,
    kFormat = 0x041E,
    kShrFmla = 0x04BC,
    kBof = 0x0809,
    // BOF ids of BIFF2, BIFF3 and BIFF4, which are refused.
    kBofBiff2 = 0x0009,
    kBofBiff3 = 0x0209,
    kBofBiff4 = 0x0409,
};

/// BOF substream types.
enum SubstreamType : std::uint16_t {
    kGlobals = 0x0005,
    kVbModule = 0x0006,
    kWorksheet = 0x0010,
    kChart = 0x0020,
    kMacroSheet = 0x0040,
    kWorkspace = 0x0100,
};

/// Largest record body a BIFF8 record may carry (BIFF5: 2080).
constexpr int kMaxRecordData = 8224;

}  // namespace office::sheet::biff
