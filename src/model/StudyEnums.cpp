#include "model/StudyEnums.h"

namespace qv {

namespace {

template <typename Enum>
std::optional<Enum> findRaw(QStringView raw)
{
    for (Enum value : allCases<Enum>()) {
        if (rawValue(value) == raw)
            return value;
    }
    return std::nullopt;
}

} // namespace

QString rawValue(StudyAnswerDirection value)
{
    switch (value) {
    case StudyAnswerDirection::term:
        return QStringLiteral("term");
    case StudyAnswerDirection::definition:
        return QStringLiteral("definition");
    case StudyAnswerDirection::mixed:
        return QStringLiteral("mixed");
    }
    return {};
}

QString rawValue(StudyQuestionType value)
{
    switch (value) {
    case StudyQuestionType::written:
        return QStringLiteral("written");
    case StudyQuestionType::multipleChoice:
        return QStringLiteral("multiple_choice");
    case StudyQuestionType::trueFalse:
        return QStringLiteral("true_false");
    }
    return {};
}

QString rawValue(StudyGrading value)
{
    switch (value) {
    case StudyGrading::exact:
        return QStringLiteral("exact");
    case StudyGrading::lenient:
        return QStringLiteral("lenient");
    case StudyGrading::veryLenient:
        return QStringLiteral("very_lenient");
    }
    return {};
}

template <>
QList<StudyAnswerDirection> allCases<StudyAnswerDirection>()
{
    return {StudyAnswerDirection::term, StudyAnswerDirection::definition, StudyAnswerDirection::mixed};
}

template <>
QList<StudyQuestionType> allCases<StudyQuestionType>()
{
    return {StudyQuestionType::written, StudyQuestionType::multipleChoice, StudyQuestionType::trueFalse};
}

template <>
QList<StudyGrading> allCases<StudyGrading>()
{
    return {StudyGrading::exact, StudyGrading::lenient, StudyGrading::veryLenient};
}

template <>
std::optional<StudyAnswerDirection> fromRawValue<StudyAnswerDirection>(QStringView raw)
{
    return findRaw<StudyAnswerDirection>(raw);
}

template <>
std::optional<StudyQuestionType> fromRawValue<StudyQuestionType>(QStringView raw)
{
    return findRaw<StudyQuestionType>(raw);
}

template <>
std::optional<StudyGrading> fromRawValue<StudyGrading>(QStringView raw)
{
    return findRaw<StudyGrading>(raw);
}

} // namespace qv
