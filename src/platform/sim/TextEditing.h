#pragma once

#include "platform/Element.h"

#include <QString>

// Editing rules of a simulated text box: what one key does to its text and
// selection. Positions are UTF-16 units; the caret is a selection of length 0.
namespace qv::sim {

// What one Backspace removes when nothing is selected: a whole grapheme
// cluster (GTK) or one code point (Qt, terminals).
enum class BackspaceUnit { Grapheme, CodePoint };

struct EditState {
    QString text;
    platform::TextRange selection;
    friend bool operator==(const EditState &, const EditState &) = default;
};

namespace editing {

// The range inside [0, length]: a negative location or length counts as 0,
// an end past the text is cut at the end.
platform::TextRange clampRange(platform::TextRange range, qsizetype length);
// The smallest range with both ends on grapheme boundaries that holds `range`.
platform::TextRange snapToGraphemes(const QString &text, platform::TextRange range);
QString selectedText(const EditState &state);

// Typing: the selection is replaced by `inserted` and the caret follows it.
void replaceSelection(EditState &state, const QString &inserted);
// Backspace: deletes the selection, else one unit before the caret.
void backspace(EditState &state, BackspaceUnit unit);
// Left and Right collapse a selection to its start or end, else move one grapheme.
void moveLeft(EditState &state);
void moveRight(EditState &state);
// Up and Down: in one line to the start or the end; in several lines to the
// same column of the line above or below (the start or end past the edges).
void moveUp(EditState &state, bool multiLine);
void moveDown(EditState &state, bool multiLine);
void selectAll(EditState &state);

} // namespace editing
} // namespace qv::sim
