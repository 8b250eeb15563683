#pragma once

#include "platform/sim/TextEditing.h"

#include <QString>

#include <functional>

namespace qv::sim {

// How a text box takes a selection written through accessibility.
enum class RangeWrites {
    Exact,            // as written, cut to the text
    SnapToGraphemes,  // widened to whole grapheme clusters, as many toolkits do
    RejectOutOfRange, // a range that does not fit the text is refused
    WithinParagraph,  // a range that spans a line break is refused (a
                      // document whose paragraphs are separate objects)
};

// What Tab does in a text box.
enum class TabBehaviour { InsertTab, MoveFocus };

// What a text box makes of a grapheme cluster joined by U+200D (a family
// emoji) when its parts arrive as keys: some editors take each part as a
// key of its own and lose or reorder them; a paste keeps the cluster.
enum class JoinedKeys {
    Kept,       // whole
    PartsLost,  // only the joiners land, the emoji between them are lost
    MovedApart, // the emoji land first, their joiners after them
    AllLost,    // nothing lands
};

// The ways real text boxes fall short of the ideal, one switch each. The
// defaults are a well-behaved box.
struct FieldQuirks {
    bool valueUnreadable = false;        // the whole text cannot be read
    bool onlyCharacterCount = false;     // of the text, only its length can be read
    bool selectedTextUnreadable = false; // the selected text cannot be read
    bool selectionNotSettable = false;   // the selection is read-only (and says so)
    bool selectionWritesIgnored = false; // selection writes are accepted but do nothing
    bool focusWritesIgnored = false;     // focus writes are accepted but do nothing
    bool caretWritesIgnored = false;     // caret writes (empty ranges) are accepted but do nothing
    double writeDelayMs = 0;             // accepted writes take effect this much later
    // A Backspace takes this long to be handled; a key that lands meanwhile
    // is lost, and the Backspace with it.
    double backspaceHandledAfterMs = 0;
    // Each arrow key keeps the application busy this long; keys that arrive
    // meanwhile wait their turn, so the caret trails a burst of arrows.
    double arrowCostMs = 0;
    // Typed characters are held and put in together this long after the
    // first of them (0: at once), as a busy word processor buffers them; a
    // shortcut is handled at once, ahead of them.
    double typedBufferedMs = 0;
    bool copyCopiesNothing = false; // the copy shortcut leaves the clipboard alone
    // The application claims the clipboard once more for the same copy this
    // long after it (0: never), as some do.
    double copyAgainAfterMs = 0;
    bool textNotWhole = false;      // the value is only a part of the text (says so)
    RangeWrites rangeWrites = RangeWrites::Exact;
    JoinedKeys joinedKeys = JoinedKeys::Kept;
    BackspaceUnit backspaceUnit = BackspaceUnit::Grapheme;
    // The application rewrites what is typed (autocorrect): given the text
    // before the insertion point and the typed grapheme, what lands instead.
    std::function<QString(const QString &before, const QString &typed)> transform;
    // Runs after every text a key inserted (typed graphemes, line breaks,
    // tabs), free to rewrite the whole box: autocorrect of the word before a
    // space, a length limit, …
    std::function<void(EditState &state, const QString &inserted)> afterInsert;
    // Return in a one-line box submits its form (a chat sends the message):
    // runs on every Return the box gets.
    std::function<void()> submit;
};

} // namespace qv::sim
