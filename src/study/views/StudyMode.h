#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

namespace qv::study {

// The four ways a set's page shows its set, in the order of its switcher.
enum class StudyMode { flashcards, learn, test, review };

// The switcher's button titles: "Flashcards", "Learn", "Test", "Review".
QString rawValue(StudyMode mode);
std::optional<StudyMode> studyModeFromRawValue(QStringView raw);
QList<StudyMode> allStudyModes();

// Learn and Review share one inline session.
inline bool isSessionMode(StudyMode mode) { return mode == StudyMode::learn || mode == StudyMode::review; }

} // namespace qv::study
