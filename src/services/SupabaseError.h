#pragma once

#include <QString>

#include <optional>
#include <ostream>
#include <string>

namespace qv {

// Every failure of a backend call, as one value the caller shows.
//
// kind Backend is the backend's own refusal or one of the client's fixed
// messages ("No response from server.", "Missing session tokens from
// server.", …): statusCode is the HTTP status when the server answered
// outside 200…299, empty otherwise.
// kind Transport (no network, refused connection, time-out, cancellation) and
// kind Decoding (an answer body of the wrong shape) pass the underlying
// failure through unchanged; they never carry a status, so a caller that
// looks for 401/403 sees only real backend answers.
//
// localizedDescription() is the text to show; it is the message itself,
// possibly empty.
struct SupabaseError {
    enum class Kind { Backend, Transport, Decoding };

    Kind kind = Kind::Backend;
    QString message;
    std::optional<int> statusCode;
    // The refusal's own code: the "error" or "error_code" member of a JSON
    // answer body ("invalid_grant"), empty when it has none.
    QString code;

    static SupabaseError backend(QString message, std::optional<int> status = std::nullopt, QString code = {});
    static SupabaseError transport(QString message);
    static SupabaseError decoding(QString message);

    QString localizedDescription() const { return message; }
    bool isBackend() const { return kind == Kind::Backend; }
    // A backend refusal of the session's token (401 or 403).
    bool isAuthorizationFailure() const;
    // The server itself says the session's tokens are no good: a refused
    // refresh token (400 invalid_grant) or a refused access token (401, 403).
    bool isSessionRejected() const;
    // No verdict on the session: no answer, a time-out, or a server failing
    // on its side (5xx).
    bool isUnreachable() const;
    // No answer came at all (no network, refused, timed out): the server
    // could not be reached, as opposed to one that answered with an error.
    bool isNoAnswer() const { return kind == Kind::Transport; }

    bool operator==(const SupabaseError &) const = default;
};

// The sentence shown for a refusal with this status whose body gives no
// readable text of its own (a proxy's HTML page, JSON without a message,
// plain text, nothing).
QString refusalSentence(int status);

// What an answer with an error status says: its own text, else the
// sentence for its status.
QString answerText(const SupabaseError &error);

// Readable test failures and logs.
std::string describe(const SupabaseError &error);
inline void PrintTo(const SupabaseError &error, std::ostream *out) { *out << describe(error); }

} // namespace qv
