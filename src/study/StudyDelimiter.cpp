#include "study/StudyDelimiter.h"

namespace qv::study {

const QList<StudyDelimiter> &allDelimiters()
{
    static const QList<StudyDelimiter> all{StudyDelimiter::Auto,      StudyDelimiter::Tab,   StudyDelimiter::Comma,
                                           StudyDelimiter::Semicolon, StudyDelimiter::Colon, StudyDelimiter::Dash,
                                           StudyDelimiter::Pipe};
    return all;
}

QString rawValue(StudyDelimiter delimiter)
{
    switch (delimiter) {
    case StudyDelimiter::Auto:
        return QStringLiteral("Auto");
    case StudyDelimiter::Tab:
        return QStringLiteral("Tab");
    case StudyDelimiter::Comma:
        return QStringLiteral("Comma");
    case StudyDelimiter::Semicolon:
        return QStringLiteral("Semicolon");
    case StudyDelimiter::Colon:
        return QStringLiteral("Colon");
    case StudyDelimiter::Dash:
        return QStringLiteral("Dash");
    case StudyDelimiter::Pipe:
        return QStringLiteral("Pipe");
    }
    return {};
}

std::optional<StudyDelimiter> delimiterFromRawValue(const QString &raw)
{
    for (StudyDelimiter d : allDelimiters())
        if (rawValue(d) == raw)
            return d;
    return std::nullopt;
}

std::optional<QString> token(StudyDelimiter delimiter)
{
    switch (delimiter) {
    case StudyDelimiter::Auto:
        return std::nullopt;
    case StudyDelimiter::Tab:
        return QStringLiteral("\t");
    case StudyDelimiter::Comma:
        return QStringLiteral(",");
    case StudyDelimiter::Semicolon:
        return QStringLiteral(";");
    case StudyDelimiter::Colon:
        return QStringLiteral(":");
    case StudyDelimiter::Dash:
        return QStringLiteral(" - ");
    case StudyDelimiter::Pipe:
        return QStringLiteral("|");
    }
    return std::nullopt;
}

} // namespace qv::study
