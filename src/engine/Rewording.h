#pragma once

#include <QString>
#include <QStringList>

namespace qv::engine {

// The small rewording rules of the engine. A word is a piece of the text
// split at " " only (empty pieces dropped: tabs and line feeds stay inside
// words, runs of spaces separate like one). Matches are case-sensitive.

QStringList splitWords(const QString &text);

// Every match of "[^.!?]+[.!?]" in order, untrimmed: leading spaces and line
// feeds belong to a sentence; a closing stretch without a mark is none.
QStringList matchingSentences(const QString &text);

// Trimmed, one word swapped, "This " turned into "That " (all of them, when
// the sentence starts so) and the first " is " into " tends to be ".
QString rewriteSentence(const QString &sentence);

// The first word whose key is in the swap table has every occurrence of its
// key replaced by the stronger word ("good," → "beneficial,"; "Good" stays
// as it is, and no later word is tried). When a word was chosen the words are
// joined with single spaces; otherwise the text comes back byte for byte.
QString applyWordSwap(const QString &text);

// With six words or more, drops the first filler word among the words at
// even positions (0, 2, 4, ...) and joins with single spaces (also when none
// was dropped); shorter texts come back unchanged. Only a bare filler counts:
// one with punctuation at either end is passed over, so no rewording ever
// removes a sentence's or a clause's mark.
QString removeFillers(const QString &text);

// The last `count` words joined with single spaces plus one trailing space;
// the empty string when there are none.
QString tailWords(const QString &text, int count);

// Whether the text after the last line feed looks like a heading: after
// trimming spaces and tabs, non-empty and either under 43 characters without
// lower-case letters (equal to its upper-case form), or under 49 characters
// ending with ":". Characters are grapheme clusters.
bool isHeadingLine(const QString &text);

} // namespace qv::engine
