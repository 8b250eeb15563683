#include "editor/EditorRules.h"

#include "core/Text.h"

#include <algorithm>
#include <cmath>

namespace qv::editor {

int wordCount(const QString &text)
{
    int count = 0;
    bool inWord = false;
    for (const QString &cluster : text::graphemes(text)) {
        if (text::isWhitespace(cluster)) {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            ++count;
        }
    }
    return count;
}

qint64 roundedAtLeastOne(qint64 words, qint64 divisor)
{
    const double quotient = double(words) / double(std::max<qint64>(1, divisor));
    // std::round rounds halves away from zero.
    return std::max<qint64>(1, qint64(std::round(quotient)));
}

namespace {
QString hoursAndMinutes(qint64 minutes) { return QStringLiteral("%1h %2m").arg(minutes / 60).arg(minutes % 60); }
} // namespace

QString totalTimeLabel(qint64 totalMinutes)
{
    const qint64 m = std::max<qint64>(1, totalMinutes);
    const QString time = totalMinutes >= 60 ? QStringLiteral("%1h %2").arg(m / 60).arg(m % 60) : QString::number(m);
    return time + QStringLiteral("m TOTAL");
}

QString humanAvgTimeLabel(const QString &text)
{
    const int words = wordCount(text);
    if (words == 0)
        return QStringLiteral("Human avg: 0m");
    const qint64 n = std::max<qint64>(1, qint64(std::round(words / double(kAverageHumanWpm))));
    if (n < 60)
        return QStringLiteral("Human avg: %1m").arg(n);
    return QStringLiteral("Human avg: ") + hoursAndMinutes(n);
}

QString speedValueLabel(const QString &mode, qint64 wpm, qint64 totalMinutes)
{
    if (mode == kModeWpm)
        return QStringLiteral("%1 WPM").arg(wpm);
    return totalTimeLabel(totalMinutes);
}

QString capitalized(const QString &word)
{
    // Each word gets an upper-case first letter and lower-case rest, one
    // character (grapheme) at a time so that no character is split.
    QString out;
    bool wordStart = true;
    for (const QString &cluster : text::graphemes(word)) {
        if (text::isWhitespace(cluster)) {
            out += cluster;
            wordStart = true;
            continue;
        }
        out += wordStart ? cluster.toUpper() : cluster.toLower();
        wordStart = false;
    }
    return out;
}

qint64 speedForPreset(const QString &preset)
{
    if (preset == u"timed")
        return 95;
    if (preset == u"accurate")
        return 62;
    return 77;
}

QString smartHintText(const QString &text, const QString &grade, const QString &review, const QString &preset)
{
    if (text::trimmed(text).isEmpty())
        return {};
    return QStringLiteral("Suggested: Grade ") + grade + QStringLiteral(" \u2022 ") + capitalized(review)
           + QStringLiteral(" \u2022 ") + capitalized(preset);
}

SliderRange sliderRange(const QString &mode)
{
    if (mode == kModeWpm)
        return {40, 250};
    return {5, 360};
}

QString tabLabel(int tab) { return tab == 0 ? QStringLiteral("New Essay") : QStringLiteral("AI Outline"); }

QString presetLabel(SpeedPreset preset)
{
    switch (preset) {
    case SpeedPreset::essay:
        return QStringLiteral("Essay");
    case SpeedPreset::timedExam:
        return QStringLiteral("Timed Exam");
    case SpeedPreset::shortResponse:
        return QStringLiteral("Short Response");
    }
    return {};
}

const QStringList &gradeOptions()
{
    static const QStringList options{"9", "10", "11", "12"};
    return options;
}

const QStringList &reviewOptions()
{
    static const QStringList options{"light", "medium", "heavy"};
    return options;
}

} // namespace qv::editor
