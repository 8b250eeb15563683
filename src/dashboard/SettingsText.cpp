#include "dashboard/SettingsText.h"

#include "core/Text.h"
#include "dashboard/DashboardText.h"

namespace qv::dashboard {

QString initials(const QString &name)
{
    // Only the plain space separates words: a tab keeps two words together.
    const QStringList words = name.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return QStringLiteral("QV");
    QString letters = text::graphemes(words.at(0)).value(0);
    if (words.size() > 1)
        letters += text::graphemes(words.at(1)).value(0);
    // Upper-casing the whole result may lengthen it ("ß" → "SS").
    return letters.toUpper();
}

QStringList presetOptions()
{
    return {QStringLiteral("balanced"), QStringLiteral("timed"), QStringLiteral("accurate")};
}

QStringList modeOptions() { return {QStringLiteral("wpm"), QStringLiteral("time")}; }

QString presetLabel(const QString &preset)
{
    if (preset == QLatin1String("timed"))
        return QStringLiteral("Timed exam");
    if (preset == QLatin1String("accurate"))
        return QStringLiteral("Accuracy first");
    return QStringLiteral("Balanced");
}

QString modeLabel(const QString &mode)
{
    return mode == QLatin1String("wpm") ? QStringLiteral("WPM") : QStringLiteral("Total time");
}

QString smartPreviewHint() { return QStringLiteral("Type a few lines to preview smart settings."); }

bool isBlankSample(const QString &sample) { return text::trimmed(sample).isEmpty(); }

std::optional<SmartPreviewLine> smartPreviewLine(const QString &sample, const state::SmartProfile &profile)
{
    if (isBlankSample(sample))
        return std::nullopt;
    return SmartPreviewLine{
        QStringLiteral("Preview: ") + profile.essayType,
        QStringLiteral("Grade ") + profile.grade + QStringLiteral(" \u2022 ") + capitalized(profile.review),
        QStringLiteral("\u2248 ") + QString::number(profile.predictedMinutes) + QLatin1Char('m'),
    };
}

} // namespace qv::dashboard
