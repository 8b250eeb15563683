#include "dashboard/DashboardText.h"

#include "core/Text.h"

#include <QRegularExpression>

namespace qv::dashboard {

QString capitalized(const QString &text)
{
    QString out;
    out.reserve(text.size());
    bool wordStart = true;
    for (QChar c : text) {
        if (c.isLetterOrNumber()) {
            out.append(wordStart ? c.toUpper() : c.toLower());
            wordStart = false;
        } else {
            out.append(c);
            // An apostrophe stays inside a word ("don't" → "Don't").
            wordStart = c != QLatin1Char('\'') && c != QChar(0x2019);
        }
    }
    return out;
}

QString rowSubtitle(const Project &project)
{
    return QStringLiteral("Grade ") + project.grade + QStringLiteral(" \u2022 Review ") + capitalized(project.review);
}

QString emptyStateText(bool hasProjects)
{
    return hasProjects ? QStringLiteral("No matches") : QStringLiteral("No projects yet");
}

QString emptyStateTip() { return QStringLiteral("Tip: Paste your draft to auto\u2011set grade, review, and time."); }

QString deletedBannerText(const QString &title) { return QStringLiteral("Deleted \"") + title + QLatin1Char('"'); }

QString gradeChip(const Project &project) { return QStringLiteral("Grade ") + project.grade; }

QString reviewChip(const Project &project) { return capitalized(project.review); }

QString originChip(const Project &project) { return project.isAI ? QStringLiteral("AI") : QStringLiteral("Manual"); }

QString wpmChip(const Project &project) { return QStringLiteral("WPM ") + QString::number(project.wpm); }

QString updatedLine(const QDateTime &updatedAt, const QLocale &locale)
{
    return QStringLiteral("Updated ") + text::abbreviatedDateTime(updatedAt, locale);
}

QString previewText(const Project &project)
{
    return project.text.isEmpty() ? QStringLiteral("No draft text yet.") : project.text;
}

} // namespace qv::dashboard
