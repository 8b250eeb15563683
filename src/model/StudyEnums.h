#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace qv {

// String-valued enums of a study set. The raw value of each case is the text
// stored for it in the data files; cases are declared in the order of their
// list of all cases.

enum class StudyAnswerDirection { term, definition, mixed };
enum class StudyQuestionType { written, multipleChoice, trueFalse };
enum class StudyGrading { exact, lenient, veryLenient };

QString rawValue(StudyAnswerDirection value);
QString rawValue(StudyQuestionType value);
QString rawValue(StudyGrading value);

// A question type is identified by its raw value.
inline QString id(StudyQuestionType value) { return rawValue(value); }

// Reading from a raw value: anything that is not exactly one of the raw
// values gives nothing.
template <typename Enum>
std::optional<Enum> fromRawValue(QStringView raw);

template <>
std::optional<StudyAnswerDirection> fromRawValue<StudyAnswerDirection>(QStringView raw);
template <>
std::optional<StudyQuestionType> fromRawValue<StudyQuestionType>(QStringView raw);
template <>
std::optional<StudyGrading> fromRawValue<StudyGrading>(QStringView raw);

template <typename Enum>
QList<Enum> allCases();

template <>
QList<StudyAnswerDirection> allCases<StudyAnswerDirection>();
template <>
QList<StudyQuestionType> allCases<StudyQuestionType>();
template <>
QList<StudyGrading> allCases<StudyGrading>();

} // namespace qv
