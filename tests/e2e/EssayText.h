#pragma once

// The essay the end-to-end tests and the real-typing benchmark type: the
// sample essay's opening, cut after the sentence that reaches a number of
// words, laid out as a writer would: each paragraph opened with a tab, and
// a closing line with quotes, an accented word, an em dash and an emoji.
#include "SampleText.h"

#include <QString>

namespace qv::e2e {

inline QString realEssay(int words)
{
    const QString all = QString::fromUtf8(kSampleText).trimmed();
    QString cut = all;
    int count = 0;
    bool inWord = false;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const bool letter = !all[i].isSpace();
        if (letter && !inWord)
            ++count;
        inWord = letter;
        if (count >= words && (all[i] == QLatin1Char('.') || all[i] == QLatin1Char('?'))) {
            cut = all.left(i + 1);
            break;
        }
    }
    cut.replace(QStringLiteral("\n\n"), QStringLiteral("\n\n\t"));
    return cut + QStringLiteral("\n\n\tWritten at the \"caf\u00e9 on the jetty\" \u2014 for Mara \U0001F30A");
}

} // namespace qv::e2e
