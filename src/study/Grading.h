#pragma once

#include "model/StudyEnums.h"

#include <QString>
#include <QStringList>

namespace qv::study {

// How answers compare. Pure functions: they read and change nothing else.

// Lower-cases with Unicode's default full mapping, locale-independent,
// including the final form of sigma at the end of a word.
QString lowerCased(const QString &text);

// Trimmed and lower-cased (Unicode's default mapping, locale-independent);
// the lenient levels then keep only letters and numbers, of any script, and
// delete white space, punctuation, symbols and combining marks, with no
// folding. For ASCII text that leaves exactly a-z and 0-9.
QString normalize(const QString &text, StudyGrading grading);

// Whether two texts are the same under canonical equivalence.
bool sameText(const QString &a, const QString &b);

// Edit distance over grapheme clusters with unit costs; clusters compare by
// canonical equivalence.
int levenshtein(const QString &a, const QString &b);

// Whether a response counts as the correct answer: never when the normalised
// response is empty; equal forms are right; otherwise the lenient level
// allows one edit and the very lenient level two. A correct answer that
// normalises to empty at a lenient level is compared at the exact level.
bool gradeAnswer(const QString &response, const QString &correct, StudyGrading grading);

// Whether a side of a card reads "true" or "false" (trimmed, any case).
bool isTrueFalseText(const QString &text);

// Appends to `choices` the candidates, in their order, whose exactly
// normalised text differs from every choice already there, until `choices`
// holds `limit` entries; so no two options of a question read alike.
void appendDistinctChoices(QStringList &choices, const QStringList &candidates, qsizetype limit);

} // namespace qv::study
