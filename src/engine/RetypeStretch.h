#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace qv::engine {

// One replacement inside a text: `deleteCount` UTF-16 units at `start`
// become `replacement`.
struct StretchEdit {
    int start = 0;
    int deleteCount = 0;
    QString replacement;
    friend bool operator==(const StretchEdit &, const StretchEdit &) = default;
};

// The exact stretches that the in-flight edits retype, measured in the
// typed buffer itself (UTF-16 offsets), so that deleting and retyping never
// takes more or less than what it means to. Words here are runs of
// characters without white space (spaces, tabs, line breaks).
class RetypeStretch {
public:
    // Where the `count`-th last word begins; the buffer's length when it
    // holds no word (or count < 1). Trailing white space stays in the stretch.
    static int lastWordsStart(const QString &buffer, int count);

    // The first word of `text` whose key is a plain word of the swap table,
    // with every occurrence of that key in it replaced by the stronger word;
    // everything else, white space included, stays as it stands. None when no
    // word is swappable or the chosen word does not contain its lower-case
    // key (a capitalised "Good" stays as it is).
    static std::optional<StretchEdit> firstWordSwap(const QString &text);

    // The letters of the word just typed, found through the offsets where
    // its characters landed in `buffer`, replaced by `replacement`: from its
    // first to its last letter, so leading digits or apostrophes and what
    // followed the letters stay. None when the offsets no longer match.
    static std::optional<StretchEdit> wordLetters(const QString &buffer, const QString &word, const QList<int> &offsets,
                                                  const QString &replacement);

    // The last complete sentence of the buffer ("[^.!?]+[.!?]").
    struct Sentence {
        int start = 0;    // where the match begins, leading white space included
        int ownStart = 0; // its first character that is not white space
        int end = 0;      // just after its closing mark
        QString withLeadingSpace() const;
        QString text; // the whole buffer it was found in
    };
    static std::optional<Sentence> lastSentence(const QString &buffer);
};

} // namespace qv::engine
