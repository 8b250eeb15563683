#pragma once

#include "state/SmartProfile.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace qv::dashboard {

// The avatar's letters: the first character of the first two words (words
// are split at U+0020 only), upper-cased as a whole, or "QV" without words.
QString initials(const QString &name);

// Speed presets and typing modes offered in the settings, in display order.
QStringList presetOptions();
QStringList modeOptions();
// "Timed exam", "Accuracy first", else "Balanced".
QString presetLabel(const QString &preset);
// "WPM" for "wpm", else "Total time".
QString modeLabel(const QString &mode);

// The live preview of the smart suggestions for a sample text.
struct SmartPreviewLine {
    QString heading; // "Preview: Essay"
    QString detail;  // "Grade 10 • Medium"
    QString minutes; // "≈ 3m"
};
// The hint shown while the sample holds no text.
QString smartPreviewHint();
// Nothing for a blank sample; else the line for `profile`, which the caller
// computed from the whole, untrimmed sample.
std::optional<SmartPreviewLine> smartPreviewLine(const QString &sample, const state::SmartProfile &profile);
bool isBlankSample(const QString &sample);

} // namespace qv::dashboard
