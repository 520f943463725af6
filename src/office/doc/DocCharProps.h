#pragma once

#include "office/doc/DocBytes.h"
#include "office/doc/WordColor.h"

namespace office::doc {

/// Character formatting as a Word file stores it: the font by its index in the
/// font table; every field has an "inherit" value that writes nothing.
struct DocCharProps {
    int istd = -1;       ///< character style index in the file's style sheet, -1 none
    int font = -1;       ///< font table index, -1 inherit
    int halfPoints = 0;  ///< 0 inherit
    int bold = -1;       ///< -1 inherit, 0 off, 1 on
    int italic = -1;
    int underline = -1;
    int color = kColorAutomatic;
    int language = -1;  ///< LCID, 1024 = no proofing

    /// Appends the property list (CHPX grpprl) for the fields that are set.
    void write(DocBytesOut &out) const;
    /// Reads a property list; modifiers it does not know are skipped.
    static DocCharProps read(const char *grpprl, int size);
};

}  // namespace office::doc
