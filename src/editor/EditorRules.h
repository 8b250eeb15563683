#pragma once

#include <QString>
#include <QStringList>

namespace qv::editor {

// The editor's pure rules: counts, derived speeds and times, and the texts
// its labels show. Kept apart from any widget so they can be checked alone.

inline const QString kNewProjectHeading = QStringLiteral("New Project");
inline const QString kModeWpm = QStringLiteral("wpm");
inline const QString kModeTime = QStringLiteral("time");
// The speed of an average person, used for the human time estimate.
constexpr int kAverageHumanWpm = 77;

// Maximal runs of non-whitespace characters (line breaks are whitespace).
int wordCount(const QString &text);

// max(1, round(words / max(1, divisor))), halves away from zero: the total
// minutes of an edited project (divisor: its speed) and the speed stored for
// a total time (divisor: the minutes).
qint64 roundedAtLeastOne(qint64 words, qint64 divisor);

// "8m TOTAL", "1h 0m TOTAL"; 0 or less reads as 1 minute.
QString totalTimeLabel(qint64 totalMinutes);
// "Human avg: 0m" for no words, else the time at the average human speed.
QString humanAvgTimeLabel(const QString &text);
// The value above the slider: "77 WPM" in words-per-minute mode, else the total time.
QString speedValueLabel(const QString &mode, qint64 wpm, qint64 totalMinutes);

// Each word with an upper-case first letter, the rest lower case ("medium" -> "Medium").
QString capitalized(const QString &word);

// The speed a suggestion's preset writes: 95, 62, or 77 for anything else.
qint64 speedForPreset(const QString &preset);

// The one-line summary of a suggestion; empty for a blank text.
QString smartHintText(const QString &text, const QString &grade, const QString &review, const QString &preset);

// Slider bounds for a mode: 40-250 for words per minute, 5-360 for anything else.
struct SliderRange {
    int minimum;
    int maximum;
};
SliderRange sliderRange(const QString &mode);

// The label of a tab ("New Essay" for 0, "AI Outline" otherwise) and of a review option.
QString tabLabel(int tab);

// The three speed presets of the New Essay tab.
enum class SpeedPreset { essay, timedExam, shortResponse };
QString presetLabel(SpeedPreset preset);

const QStringList &gradeOptions();
const QStringList &reviewOptions();

// Predicted sessions of this many minutes or more get a warning.
constexpr int kLongSessionMinutes = 120;
inline const QString kLongSessionWarning = QStringLiteral(
    "Long session predicted. Consider a shorter draft or higher speed.");

} // namespace qv::editor
