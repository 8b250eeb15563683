#include "study/StudyLibraryText.h"

#include "core/Text.h"

#include <QLocale>

namespace qv::study::library {

namespace {
const QString kBullet = QStringLiteral(" \u2022 ");
}

const QStringList &gradeOptions()
{
    static const QStringList options{QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("11"),
                                     QStringLiteral("12"), QStringLiteral("University")};
    return options;
}

bool matchesSearch(const QString &title, const QString &searchText)
{
    if (text::trimmed(searchText).isEmpty())
        return true;
    // Plain lower-casing on both sides: no case folding, no accent folding.
    return title.toLower().contains(searchText.toLower());
}

QList<StudyProject> filterBySearch(const QList<StudyProject> &sets, const QString &searchText)
{
    QList<StudyProject> out;
    for (const StudyProject &set : sets)
        if (matchesSearch(set.title, searchText))
            out.append(set);
    return out;
}

QString emptyStateTitle(bool anyStored)
{
    return anyStored ? QStringLiteral("No matches") : QStringLiteral("No study sets yet");
}

QString rowMeta(const StudyProject &set)
{
    return QStringLiteral("Grade ") + set.grade + kBullet + QString::number(set.items.size())
           + QStringLiteral(" items");
}

QString masteredLine(qint64 mastered, qsizetype n) { return QStringLiteral("Mastered %1/%2").arg(mastered).arg(n); }

QString streakLine(qint64 streak) { return QStringLiteral("Streak %1").arg(streak); }

QString formatUpdated(const QDateTime &when) { return text::abbreviatedDateTime(when); }

QString resumeMeta(const StudyProject &set)
{
    return QStringLiteral("Updated ") + formatUpdated(set.updatedAt) + kBullet + QString::number(set.items.size())
           + QStringLiteral(" cards");
}

} // namespace qv::study::library
