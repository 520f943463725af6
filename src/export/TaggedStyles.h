#pragma once

#include "office/doc/Document.h"

namespace celltrove::exporting {

/// Adds the character style `styleName` ("tw4winExternal" or "tw4winInternal")
/// to `document` unless a style of that name is there: Courier New, no
/// proofing (language 1024), colour index 15 (grey) for the external style and
/// 6 (red) for the internal one.
void EnsureTaggedStyle(office::doc::Document &document, const QString &styleName);

}  // namespace celltrove::exporting
