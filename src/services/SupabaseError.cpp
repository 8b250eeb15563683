#include "services/SupabaseError.h"

namespace qv {

SupabaseError SupabaseError::backend(QString message, std::optional<int> status, QString code)
{
    return {Kind::Backend, std::move(message), status, std::move(code)};
}

SupabaseError SupabaseError::transport(QString message)
{
    return {Kind::Transport, std::move(message), std::nullopt, {}};
}

SupabaseError SupabaseError::decoding(QString message)
{
    return {Kind::Decoding, std::move(message), std::nullopt, {}};
}

bool SupabaseError::isAuthorizationFailure() const
{
    return kind == Kind::Backend && (statusCode == 401 || statusCode == 403);
}

bool SupabaseError::isSessionRejected() const
{
    return isAuthorizationFailure()
           || (kind == Kind::Backend && statusCode == 400 && code == QLatin1String("invalid_grant"));
}

bool SupabaseError::isUnreachable() const
{
    return kind == Kind::Transport || (kind == Kind::Backend && statusCode && *statusCode >= 500);
}

QString refusalSentence(int status)
{
    if (status >= 500)
        return QStringLiteral("The server is having trouble right now (status %1). Please try again later.")
            .arg(status);
    return QStringLiteral("The server turned the request down (status %1). Please try again.").arg(status);
}

QString answerText(const SupabaseError &error)
{
    if (!error.message.isEmpty() || !error.statusCode)
        return error.message;
    return refusalSentence(*error.statusCode);
}

std::string describe(const SupabaseError &error)
{
    static const char *const kinds[] = {"backend", "transport", "decoding"};
    std::string text = std::string(kinds[int(error.kind)]) + " error \"" + error.message.toStdString() + "\"";
    if (error.statusCode)
        text += " status " + std::to_string(*error.statusCode);
    if (!error.code.isEmpty())
        text += " code " + error.code.toStdString();
    return text;
}

} // namespace qv
