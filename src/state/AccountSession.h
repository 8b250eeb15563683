#pragma once

#include "core/Scheduler.h"
#include "services/Result.h"
#include "services/SupabaseProfile.h"
#include "services/SupabaseSession.h"
#include "state/AppError.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <variant>

namespace qv {
class SupabaseClient;
}

namespace qv::state {

class Preferences;

// The signed-in account: holds and stores the session, signs in and out,
// checks the session at start and on activation, re-reads the profile every
// five minutes, and changes the password. Every operation that talks to the
// backend returns at once; its outcome shows in the published values.
//
// Only the server's rejection of the session's tokens signs the user out; an
// unreachable or failing server keeps the session held and stored (and the
// user signed in, when they were), and the next activation or refresh tick
// tries again. A replaced session reaches the disk at once.
//
// Sign-in and sign-out start a new session generation. A flow still in flight
// from an older generation no longer writes the session, the stored session,
// isAuthenticated or authEmail, so a late answer can't sign a signed-out user
// back in (its failure message still shows, as the last finisher decides it).
class AccountSession final : public QObject {
    Q_OBJECT
public:
    static constexpr double kProfileRefreshIntervalMs = 300'000.0;

    // Success message, or the failure.
    using ChangePasswordResult = std::variant<QString, AppError>;
    using ChangePasswordCompletion = std::function<void(ChangePasswordResult)>;

    AccountSession(SupabaseClient &client, Preferences &preferences, Scheduler &scheduler, QObject *parent = nullptr);
    ~AccountSession() override;

    bool isAuthenticated() const { return m_isAuthenticated; }
    const QString &authEmail() const { return m_authEmail; }
    bool isAuthLoading() const { return m_isAuthLoading; }
    const QString &authMessage() const { return m_authMessage; }
    const std::optional<SupabaseSession> &session() const { return m_session; }
    quint64 generation() const { return m_generation; }

    void restoreSession();
    void storeSession(const SupabaseSession &session);
    void enforceAuthGate();
    void signIn(const QString &email, const QString &password);
    void signOut();
    void refreshProfile();
    void startProfileRefreshTimer();
    // Refreshes the profile each time the application becomes active.
    void setupAppActiveRefresh();
    void changePassword(const QString &current, const QString &newPassword, ChangePasswordCompletion completion);

    // The activation observer's entry (public so tests can drive it).
    void applicationStateChanged(Qt::ApplicationState state);

    // What the user reads when the account server could not be reached.
    static QString unreachableMessage();

signals:
    void isAuthenticatedChanged();
    void authEmailChanged();
    void isAuthLoadingChanged();
    void authMessageChanged();

private:
    bool isCurrent(quint64 generation) const { return generation == m_generation; }
    void setAuthenticated(bool value);
    void setAuthEmail(const QString &value);
    void setAuthLoading(bool value);
    void setAuthMessage(const QString &value);
    // Takes a session refreshed by a flow of `generation` into use, if still current.
    void adoptSession(const SupabaseSession &session, quint64 generation);
    static QString emailFor(const SupabaseProfile &profile, const SupabaseSession &session);
    void becomeSignedIn(const SupabaseProfile &profile, const SupabaseSession &session);
    // A failed gate check: sign out only when the server rejected the session.
    void gateFailed(const SupabaseError &error);
    void scheduleRefreshTick();

    // Trades a refresh token for a new session and takes it into use. Refreshes
    // of one token share one request and its answer (restore, the gate and an
    // activation all refresh at launch), and a token that was already traded
    // gives the session that replaced it.
    QCoro::Task<SupabaseResult<SupabaseSession>> refreshTokens(QString refreshToken, quint64 generation);
    QCoro::Task<SupabaseResult<SupabaseProfile>> readProfileWithRefresh(SupabaseSession session, quint64 generation);
    QCoro::Task<SupabaseResult<void>> finalizeSession(SupabaseSession session, quint64 generation);
    QCoro::Task<> runRestore(SupabaseSession session, quint64 generation);
    QCoro::Task<> runGate(SupabaseSession session, quint64 generation);
    QCoro::Task<> runSignIn(QString email, QString password, quint64 generation);
    QCoro::Task<> runRefresh(SupabaseSession session, quint64 generation);
    QCoro::Task<> runChangePassword(QString email, QString current, QString newPassword,
                                    ChangePasswordCompletion completion);

    SupabaseClient &m_client;
    Preferences &m_preferences;
    Scheduler &m_scheduler;

    std::optional<SupabaseSession> m_session;
    quint64 m_generation = 0;
    struct RefreshFlight;
    std::shared_ptr<RefreshFlight> m_refreshFlight;
    // Refresh tokens this generation traded, the newest last; a flow that
    // started before a refresh may still hold one of them.
    static constexpr qsizetype kSpentTokensKept = 8;
    QStringList m_spentRefreshTokens;
    Scheduler::TimerId m_refreshTimer = 0;
    bool m_activeObserverInstalled = false;

    bool m_isAuthenticated = false;
    QString m_authEmail;
    bool m_isAuthLoading = false;
    QString m_authMessage;
};

} // namespace qv::state
