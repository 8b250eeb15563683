#pragma once

#include "services/HttpTransport.h"
#include "services/Result.h"
#include "services/SupabaseProfile.h"
#include "services/SupabaseSession.h"

#include <QCoro/QCoroTask>
#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>

namespace qv {

// The application's only client of its account backend: password sign-in,
// session refresh, password change and the user's profile row (created when
// the table has none). It keeps no state between calls and never retries.
//
// Every operation is a coroutine on the GUI thread returning a
// SupabaseResult: the value, or a SupabaseError. Backend refusals carry the
// HTTP status and the answer body as their message ("Invalid session (401)."
// for a 401 about an invalid JWT, "Request failed." for a body that is not
// UTF-8); transport and decoding failures pass through with kind Transport or
// Decoding and no status. Arguments are copied, so a call may outlive the
// caller's strings, and a call in flight keeps the transport alive.
class SupabaseClient {
public:
    static constexpr std::chrono::milliseconds defaultTimeout{60000};

    // Takes the address and key as given. Without a transport, requests go
    // out over the network (NetworkTransport). `timeout` bounds each request.
    SupabaseClient(QUrl url, QString anonKey, std::chrono::milliseconds timeout = defaultTimeout,
                   std::shared_ptr<HttpTransport> transport = nullptr);

    // POST auth/v1/token?grant_type=password.
    QCoro::Task<SupabaseResult<SupabaseSession>> signIn(QString email, QString password) const;
    // POST auth/v1/token?grant_type=refresh_token.
    QCoro::Task<SupabaseResult<SupabaseSession>> refreshSession(QString refreshToken) const;
    // PUT auth/v1/user; the answer body is not read.
    QCoro::Task<SupabaseResult<void>> updatePassword(QString accessToken, QString newPassword) const;
    // GET rest/v1/profiles?id=eq.<userId>&select=id,email; when there is no
    // row: POST the row, then the same GET once more.
    QCoro::Task<SupabaseResult<SupabaseProfile>> fetchProfile(SupabaseSession session) const;

    const QUrl &url() const { return m_context.url; }
    const QString &anonKey() const { return m_context.anonKey; }

    struct Context {
        QUrl url;
        QString anonKey;
        std::chrono::milliseconds timeout;
        std::shared_ptr<HttpTransport> transport;
    };

private:
    Context m_context;
};

} // namespace qv
