#pragma once

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

// Text units shared by every subsystem. Positions are UTF-16 code units (as
// QString stores them); "characters" are extended grapheme clusters, as a
// person counts them. Cluster tests look at the cluster's first scalar.
namespace qv::text {

// UTF-16 offsets of every grapheme boundary, from 0 to the length inclusive.
QList<int> graphemeBoundaries(QStringView s);
QStringList graphemes(QStringView s);
int graphemeCount(QStringView s);

// UTF-16 offset where grapheme `index` starts; clamps to [0, length].
int offsetOfGrapheme(QStringView s, int index);
// Number of graphemes that start before `offset` (clamped to the text).
int graphemeIndexAt(QStringView s, int offset);
// The nearest grapheme boundary at or before / at or after `offset`.
int boundaryAtOrBefore(QStringView s, int offset);
int boundaryAtOrAfter(QStringView s, int offset);
bool isGraphemeBoundary(QStringView s, int offset);

// First Unicode scalar of a text (0 for an empty one).
char32_t firstScalar(QStringView s);
int codePointCount(QStringView s);

// The Unicode White_Space property (spaces, tabs, line and paragraph breaks).
bool isWhitespaceScalar(char32_t c);
bool isNewlineScalar(char32_t c);

// A moment as the locale writes an abbreviated date and a short time
// without seconds, in local time: "Dec 6, 2026, 10:15 AM".
QString abbreviatedDateTime(const QDateTime &when, const QLocale &locale = QLocale());

// Trims whitespace and line breaks at both ends, scalar by scalar.
QString trimmed(QStringView s);

// Cluster tests by the first scalar. Letters and numbers follow the Unicode
// general categories (L*, and Nd/Nl/No so "½", "²" and "Ⅻ" are numbers).
bool isLetter(QStringView cluster);
bool isNumber(QStringView cluster);
bool isLetterOrNumber(QStringView cluster);
bool isUppercase(QStringView cluster);
bool isLowercase(QStringView cluster);
bool isWhitespace(QStringView cluster);
bool isNewline(QStringView cluster);
bool isPunctuation(QStringView cluster);

} // namespace qv::text
