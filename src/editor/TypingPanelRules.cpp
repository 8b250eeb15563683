#include "editor/TypingPanelRules.h"

#include "core/Text.h"

#include <cmath>
#include <limits>

namespace qv::editor::panel {

QString statusMessage(RunPhase phase, bool humanize)
{
    switch (phase) {
    case RunPhase::Idle:
        break;
    case RunPhase::Awaiting:
        return QStringLiteral("Waiting for Text Box");
    case RunPhase::Typing:
        return QStringLiteral("Typing...");
    case RunPhase::Paused:
        return QStringLiteral("Paused");
    case RunPhase::Editing:
        return humanize ? QStringLiteral("Editing...") : QStringLiteral("Finalizing (Exact Match)");
    case RunPhase::Done:
        return QStringLiteral("Done");
    case RunPhase::Differs:
        return QStringLiteral("Text Box Differs");
    case RunPhase::Unchecked:
        return QStringLiteral("Done, Not Checked");
    case RunPhase::Stopped:
        return QStringLiteral("Stopped");
    }
    return QStringLiteral("Ready");
}

QString differenceNote(RunPhase phase, std::optional<int> characters)
{
    const QString check = QStringLiteral("Check it before you go on.");
    if (phase == RunPhase::Unchecked)
        return QStringLiteral("This text box can\u2019t be read back, so what it holds was not compared with your "
                              "project. ")
               + check;
    if (phase != RunPhase::Differs)
        return {};
    if (!characters || *characters < 1)
        return QStringLiteral("The text box does not hold exactly your project's text. ") + check;
    return QStringLiteral("The text box differs from your project by %1 character%2. ")
               .arg(*characters)
               .arg(*characters == 1 ? QString() : QStringLiteral("s"))
           + check;
}

ActionRow actionRowFor(RunPhase phase)
{
    if (phase == RunPhase::Idle)
        return ActionRow::Start;
    if (phase == RunPhase::Done || phase == RunPhase::Differs || phase == RunPhase::Unchecked
        || phase == RunPhase::Stopped)
        return ActionRow::Exit;
    return ActionRow::PauseStop;
}

QString startLabel(int resumeIndex)
{
    return resumeIndex < 1 ? QStringLiteral("Start Typing") : QStringLiteral("Resume Typing");
}

QString pauseLabel(bool isPaused) { return isPaused ? QStringLiteral("Continue") : QStringLiteral("Pause"); }

bool pauseEnabled(RunPhase phase, bool isPaused) { return isPaused || phase != RunPhase::Awaiting; }

bool waitsForTarget(RunPhase phase) { return phase == RunPhase::Paused || phase == RunPhase::Awaiting; }

bool overlayVisible(RunPhase phase, bool dismissed) { return waitsForTarget(phase) && !dismissed; }

int wordCount(const QString &text)
{
    int words = 0;
    bool inWord = false;
    for (const QString &cluster : text::graphemes(text)) {
        const bool separator = cluster == u" " || cluster == u"\n" || cluster == u"\t";
        if (separator) {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            ++words;
        }
    }
    return words;
}

int estimatedMinutes(const QString &text, qint64 wpm)
{
    const int words = std::max(wordCount(text), 1);
    const double speed = wpm < 1 ? 1.0 : double(wpm);
    // std::round takes halves away from zero.
    const double minutes = std::round(double(words) / speed);
    return std::max(1, int(minutes));
}

QString timeLeftLabel(double progress, int estimatedMinutes)
{
    const double left = std::round((1.0 - progress) * double(estimatedMinutes));
    // Also catches NaN (a progress nobody reported sensibly).
    if (!(left >= 2))
        return QStringLiteral("\u2248 1 min");
    const double capped = std::min(left, double(std::numeric_limits<int>::max()));
    return QStringLiteral("\u2248 %1 min").arg(qint64(capped));
}

int percent(double progress)
{
    const double p = progress * 100.0;
    if (!std::isfinite(p))
        return 0;
    return int(std::clamp(p, -1e9, 1e9));
}

QString progressHeader(double progress, int estimatedMinutes)
{
    return QString::number(percent(progress)) + QStringLiteral("% \u2022 ") + timeLeftLabel(progress, estimatedMinutes)
           + QStringLiteral(" left");
}

QString percentComplete(double progress) { return QString::number(percent(progress)) + QStringLiteral("% complete"); }

QString capitalized(const QString &text)
{
    QString out = text.toLower();
    bool atWordStart = true;
    for (QChar &c : out) {
        if (c.isSpace()) {
            atWordStart = true;
        } else if (atWordStart) {
            c = c.toUpper();
            atWordStart = false;
        }
    }
    return out;
}

QString modeLabel(bool humanize) { return humanize ? QStringLiteral("Humanize") : QStringLiteral("Exact"); }

QString speedLabel(qint64 wpm) { return QString::number(wpm) + QStringLiteral(" WPM"); }

QString etaLabel(int estimatedMinutes) { return QString::number(estimatedMinutes) + QStringLiteral(" min"); }

Glow glowFor(RunPhase phase, bool reduceMotion, double shimmer)
{
    if (!waitsForTarget(phase))
        return {};
    if (reduceMotion)
        return {0.55, 0.12};
    const double t = std::clamp(shimmer, 0.0, 1.0);
    return {0.25 + (0.85 - 0.25) * t, 0.06 + (0.22 - 0.06) * t};
}

bool highlightVisible(RunPhase phase) { return phase == RunPhase::Typing; }

double highlightOffset(double sweep)
{
    return kHighlightStart + (kHighlightEnd - kHighlightStart) * std::clamp(sweep, 0.0, 1.0);
}

} // namespace qv::editor::panel
