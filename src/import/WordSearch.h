#pragma once

#include "office/doc/Application.h"

#include <QString>

namespace celltrove::importing {

// Searches on the selection of the active document. Every routine writes a
// fixed set of find options; the options it does not write are those the
// previous search left, as the word processor keeps them.

/// Clears formatting, sets the text, an empty replacement, forward, wrap around,
/// format and the five match options off, and searches. True when found; the
/// selection then covers the match.
bool FindPlain(office::doc::Application &word, const QString &text);

/// Clears formatting, sets wrap around and searches forward for `text` with the
/// other options as they are. True when found (the "search-found" result).
bool FindAnywhere(office::doc::Application &word, const QString &text);

/// Replaces every `text` in the story by `replacement` coloured red, with
/// format on and the match options off. True when anything was replaced.
bool ReplaceAllRed(office::doc::Application &word, const QString &text, const QString &replacement);

}  // namespace celltrove::importing
