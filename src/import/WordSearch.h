#pragma once

#include "office/doc/Application.h"
#include "run/RunUi.h"

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

/// Replaces every match of the wildcard `pattern` in the active document by
/// `replacement` in the character style "tw4winInternal": format and wildcards
/// on, forward, wrap around, the other match options off. Processes pending
/// window events first (`ui`, when given). True when anything was replaced.
bool ReplaceAllAsInternal(office::doc::Application &word, const QString &pattern, const QString &replacement,
                          run::RunUi *ui = nullptr);

/// Replaces every `text` inside the first table of `document` by `replacement`,
/// writing only the texts (the other find options stay as they were). Nothing
/// outside that table changes; a document without a table is left alone.
void ReplaceInFirstTable(office::doc::Document &document, const QString &text, const QString &replacement);

/// Empties every cell of the first table of `document` whose whole content is
/// one blank or one no-break space (character 160). Yields once per cell.
void ClearBlankTableCells(office::doc::Document &document, run::RunUi *ui = nullptr);

}  // namespace celltrove::importing
