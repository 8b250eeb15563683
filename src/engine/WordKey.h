#pragma once

#include <QString>
#include <QStringView>

namespace qv::engine {

// The key of a word for table lookups: the word without the characters at
// either end that are not letters or combining marks, lower-cased. Inner
// apostrophes and hyphens stay ("don't", "well-known"). Works scalar by
// scalar, so a decomposed accent at the end of a word is kept.
QString wordKey(QStringView word);

// Like wordKey, but only letters survive at the ends (marks are stripped
// too); the speed table looks words up this way.
QString letterCore(QStringView word);

} // namespace qv::engine
