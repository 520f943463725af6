#pragma once

namespace office::doc {

/// File formats of SaveAs, numbered as the object model numbers them.
enum class SaveFormat { Document = 0, Doc = Document, Rtf = 6 };

/// Units of the selection's moves (wdCharacter 1, wdLine 5, wdStory 6).
enum class Unit { Character = 1, Line = 5, Story = 6 };

/// Whether a move carries the selection along (Move) or stretches it (Extend).
enum class MoveMode { Move = 0, Extend = 1 };

/// Selection::type(): a collapsed insertion point, or a stretch of text.
enum SelectionType { kSelectionIP = 1, kSelectionNormal = 2 };

/// Find wrap modes: stop at the end, or continue from the other end.
enum FindWrap { kFindStop = 0, kFindContinue = 1, kFindAsk = 2 };

/// Find::execute replace modes.
enum class ReplaceMode { None = 0, One = 1, All = 2 };

/// Count value that moves as far as the story allows (wdForward).
constexpr int kForward = 1073741823;

}  // namespace office::doc
