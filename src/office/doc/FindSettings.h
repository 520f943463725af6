#pragma once

#include "office/doc/DocTypes.h"
#include "office/doc/WordColor.h"

#include <QString>

namespace office::doc {

/// The options of find and replace. One instance lives in the Application and
/// every find object, on the selection or on a range, reads and writes it, so
/// an option that a search does not set is the one the previous search left.
struct FindSettings {
    QString text;
    bool forward = true;
    int wrap = kFindStop;
    bool format = false;
    bool matchCase = false;
    bool matchWholeWord = false;
    bool matchWildcards = false;
    bool matchSoundsLike = false;    ///< kept, not interpreted: matching stays literal
    bool matchAllWordForms = false;  ///< kept, not interpreted: matching stays literal

    QString replacementText;
    int replacementColor = kColorAutomatic;  ///< applied when format is on and not automatic
    QString replacementStyle;                ///< applied when format is on and not empty

    bool found = false;  ///< result of the last execute
};

}  // namespace office::doc
