#pragma once

#include "office/doc/Style.h"

namespace celltrove::exporting {

/// Adds the character style `styleName` ("tw4winExternal" or "tw4winInternal")
/// to a document's `styles` unless a style of that name is there: Courier New, no
/// proofing (language 1024), colour index 15 (grey) for the external style and
/// 6 (red) for the internal one.
void EnsureTaggedStyle(office::doc::Styles &styles, const QString &styleName);

}  // namespace celltrove::exporting
