#pragma once

#include "model/StudyEnums.h"

#include <QString>

namespace qv::study {

// How answers compare. Pure functions: they read and change nothing else.

// Trimmed and lower-cased (locale-independent); the lenient levels then keep
// only the code points a-z and 0-9, deleting everything else (accented and
// non-Latin letters included, with no folding).
QString normalize(const QString &text, StudyGrading grading);

// Whether two texts are the same under canonical equivalence.
bool sameText(const QString &a, const QString &b);

// Edit distance over grapheme clusters with unit costs; clusters compare by
// canonical equivalence.
int levenshtein(const QString &a, const QString &b);

// Whether a response counts as the correct answer: never when the normalised
// response is empty; equal forms are right; otherwise the lenient level
// allows one edit and the very lenient level two.
bool gradeAnswer(const QString &response, const QString &correct, StudyGrading grading);

// Whether a side of a card reads "true" or "false" (trimmed, any case).
bool isTrueFalseText(const QString &text);

} // namespace qv::study
