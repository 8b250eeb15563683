#include "study/views/StudyMode.h"

namespace qv::study {

QString rawValue(StudyMode mode)
{
    switch (mode) {
    case StudyMode::flashcards:
        return QStringLiteral("Flashcards");
    case StudyMode::learn:
        return QStringLiteral("Learn");
    case StudyMode::test:
        return QStringLiteral("Test");
    case StudyMode::review:
        return QStringLiteral("Review");
    }
    return {};
}

QList<StudyMode> allStudyModes()
{
    return {StudyMode::flashcards, StudyMode::learn, StudyMode::test, StudyMode::review};
}

std::optional<StudyMode> studyModeFromRawValue(QStringView raw)
{
    for (StudyMode mode : allStudyModes())
        if (raw == rawValue(mode))
            return mode;
    return std::nullopt;
}

} // namespace qv::study
