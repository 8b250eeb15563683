#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace qv::engine {

// The fixed word and key tables of the typing engine. Built once; every
// lookup is an exact, case-sensitive comparison of whole strings. Keys and
// characters are single grapheme clusters held as QString.
struct WordTables {
    // Neighbouring letter keys on a QWERTY keyboard for each lower-case
    // letter, in a fixed order (the typo model draws from them by position).
    QHash<QString, QStringList> nearbyKeys;
    QSet<QString> fastWords;
    QSet<QString> slowWords;
    QSet<QString> smartWords;
    QSet<QString> fillerWords;
    QSet<QString> pausePunctuation;
    int errorCooldownWords = 8;
    // Plain word to the stronger word that replaces it.
    QHash<QString, QString> styleSwapMap;
    QSet<QString> digraphs;
    QSet<QString> vowels;

    // The one shared set of tables.
    static const WordTables &standard();

private:
    WordTables();
};

} // namespace qv::engine
