#pragma once

#include "engine/RunPhase.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// What the typing panel shows, worked out from the published typing state and
// the project alone, so every rule can be checked without widgets.
namespace qv::editor::panel {

using engine::RunPhase;

// The status pill's text for a phase; an idle panel reads "Ready".
QString statusMessage(RunPhase phase, bool humanize);

// The plain words under the status when the text box differs from the
// project at the end of a run, or could not be checked; empty in every other
// phase.
QString differenceNote(RunPhase phase, std::optional<int> characters);

// Which row of buttons a phase gets.
enum class ActionRow {
    Start,     // one full-width start or resume button
    Exit,      // one full-width exit button
    PauseStop, // the pause (or continue) and stop pair
};
ActionRow actionRowFor(RunPhase phase);
QString startLabel(int resumeIndex);
QString pauseLabel(bool isPaused);
// Pausing needs a run: a job still waiting for its first text box (and not
// paused) has nothing to pause.
bool pauseEnabled(RunPhase phase, bool isPaused);

// Whether the phase waits for the target (the overlay's phases; they also
// reset its dismissal).
bool waitsForTarget(RunPhase phase);
bool overlayVisible(RunPhase phase, bool dismissed);

// Words of a text: pieces between single spaces, line feeds and tabs (whole
// characters: a carriage return and line feed together are one character and
// do not split).
int wordCount(const QString &text);
// Estimated minutes for the whole text at the project's speed, at least 1.
int estimatedMinutes(const QString &text, qint64 wpm);
// "≈ N min", never less than one minute.
QString timeLeftLabel(double progress, int estimatedMinutes);
// progress × 100, truncated.
int percent(double progress);
// "42% • ≈ 6 min left"
QString progressHeader(double progress, int estimatedMinutes);
QString percentComplete(double progress);

// Each word with its first letter upper case and the rest lower case.
QString capitalized(const QString &text);
QString modeLabel(bool humanize);
QString speedLabel(qint64 wpm);
QString etaLabel(int estimatedMinutes);

// The panel's glow line and shadow, as opacities of the accent colour (0:
// clear). `shimmer` runs from 0 to 1 as the pulse swings.
struct Glow {
    double line = 0;
    double shadow = 0;
    bool operator==(const Glow &) const = default;
};
Glow glowFor(RunPhase phase, bool reduceMotion, double shimmer);

// The moving highlight of the progress bar: shown only while typing; its
// offset runs from -60 to 240 and stands at 240 without motion.
bool highlightVisible(RunPhase phase);
inline constexpr double kHighlightWidth = 60;
inline constexpr double kHighlightStart = -60;
inline constexpr double kHighlightEnd = 240;
double highlightOffset(double sweep);

} // namespace qv::editor::panel
