#include "dashboard/DashboardMode.h"

namespace qv::dashboard {

QList<DashboardMode> allDashboardModes() { return {DashboardMode::writer, DashboardMode::study, DashboardMode::test}; }

QString rawValue(DashboardMode mode)
{
    switch (mode) {
    case DashboardMode::writer:
        return QStringLiteral("writer");
    case DashboardMode::study:
        return QStringLiteral("study");
    case DashboardMode::test:
        return QStringLiteral("test");
    }
    return {};
}

std::optional<DashboardMode> dashboardModeFromRawValue(const QString &raw)
{
    for (DashboardMode m : allDashboardModes())
        if (rawValue(m) == raw)
            return m;
    return std::nullopt;
}

QString title(DashboardMode mode)
{
    switch (mode) {
    case DashboardMode::writer:
        return QStringLiteral("Quorvel");
    case DashboardMode::study:
        return QStringLiteral("Lexmoor");
    case DashboardMode::test:
        return QStringLiteral("Trivane");
    }
    return {};
}

QString fallbackSymbol(DashboardMode mode)
{
    switch (mode) {
    case DashboardMode::writer:
        return QStringLiteral("pencil.tip");
    case DashboardMode::study:
        return QStringLiteral("book.closed");
    case DashboardMode::test:
        return QStringLiteral("clock.arrow.circlepath");
    }
    return {};
}

QString pickerSubtitle(DashboardMode mode)
{
    switch (mode) {
    case DashboardMode::writer:
        return QStringLiteral("Create and type writing projects.");
    case DashboardMode::study:
        return QStringLiteral("Study sets, quizzes, and flashcards.");
    case DashboardMode::test:
        return QStringLiteral("Timed practice and test sessions.");
    }
    return {};
}

} // namespace qv::dashboard
