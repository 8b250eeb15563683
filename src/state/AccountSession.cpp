#include "state/AccountSession.h"

#include "services/SupabaseClient.h"
#include "state/PreferenceKeys.h"
#include "state/Preferences.h"

#include <QGuiApplication>
#include <QPointer>

#include <utility>
#include <vector>

namespace qv::state {

namespace {
const QString kSessionExpired = QStringLiteral("Session expired. Please sign in again.");
const QString kUnreachable = QStringLiteral("Couldn't reach the account server. Check your connection and try again.");
} // namespace

AccountSession::AccountSession(SupabaseClient &client, Preferences &preferences, Scheduler &scheduler, QObject *parent)
    : QObject(parent), m_client(client), m_preferences(preferences), m_scheduler(scheduler)
{
}

AccountSession::~AccountSession()
{
    if (m_refreshTimer != 0)
        m_scheduler.cancel(m_refreshTimer);
}

// ---- published values

void AccountSession::setAuthenticated(bool value)
{
    if (m_isAuthenticated == value)
        return;
    m_isAuthenticated = value;
    emit isAuthenticatedChanged();
}

void AccountSession::setAuthEmail(const QString &value)
{
    if (m_authEmail == value)
        return;
    m_authEmail = value;
    emit authEmailChanged();
}

void AccountSession::setAuthLoading(bool value)
{
    if (m_isAuthLoading == value)
        return;
    m_isAuthLoading = value;
    emit isAuthLoadingChanged();
}

void AccountSession::setAuthMessage(const QString &value)
{
    if (m_authMessage == value)
        return;
    m_authMessage = value;
    emit authMessageChanged();
}

QString AccountSession::unreachableMessage() { return kUnreachable; }

void AccountSession::becomeSignedIn(const SupabaseProfile &profile, const SupabaseSession &session)
{
    setAuthenticated(true);
    setAuthEmail(emailFor(profile, session));
    // The launch's notice about an unreachable server has done its work.
    if (m_authMessage == kUnreachable)
        setAuthMessage(QString());
}

QString AccountSession::emailFor(const SupabaseProfile &profile, const SupabaseSession &session)
{
    if (profile.email)
        return *profile.email;
    return session.email.value_or(QString());
}

// ---- session storage

void AccountSession::storeSession(const SupabaseSession &session)
{
    const QByteArray json = session.toJson();
    if (json.isEmpty())
        return;
    m_preferences.setData(keys::session, json);
    // At once, not after the store's quiet period: a refresh has already
    // spent the old refresh token, so a crash before the write would sign
    // the user out at the next launch. A failed write is announced by the
    // store itself (saveFailed), which the dashboard shows.
    (void)m_preferences.flush();
}

void AccountSession::adoptSession(const SupabaseSession &session, quint64 generation)
{
    if (!isCurrent(generation))
        return;
    m_session = session;
    storeSession(session);
}

// ---- token refresh, one at a time

// A refresh on its way: later askers with the same refresh token wait for
// its answer instead of sending the token again.
struct AccountSession::RefreshFlight {
    QString refreshToken;
    std::optional<SupabaseResult<SupabaseSession>> result;
    std::vector<std::coroutine_handle<>> waiters;

    struct Awaiter {
        std::shared_ptr<RefreshFlight> flight;
        bool await_ready() const noexcept { return flight->result.has_value(); }
        void await_suspend(std::coroutine_handle<> waiter) { flight->waiters.push_back(waiter); }
        SupabaseResult<SupabaseSession> await_resume() const { return *flight->result; }
    };
};

QCoro::Task<SupabaseResult<SupabaseSession>> AccountSession::refreshTokens(QString refreshToken, quint64 generation)
{
    // Spent by an earlier refresh of this session: the held session is what
    // replaced it (the backend may revoke the session when a used refresh
    // token comes again). A backend that keeps refresh tokens is asked anew.
    if (isCurrent(generation) && m_session && m_session->refreshToken != refreshToken
        && m_spentRefreshTokens.contains(refreshToken)) {
        // A copy: the task would move from an lvalue it is given.
        co_return SupabaseResult<SupabaseSession>(*m_session);
    }
    if (m_refreshFlight && m_refreshFlight->refreshToken == refreshToken) {
        // A named awaiter: the compiler destroys a temporary one in a co_await
        // twice.
        RefreshFlight::Awaiter waiting{m_refreshFlight};
        SupabaseResult<SupabaseSession> shared = co_await waiting;
        co_return shared;
    }

    auto flight = std::make_shared<RefreshFlight>();
    flight->refreshToken = refreshToken;
    m_refreshFlight = flight;
    QPointer<AccountSession> self(this);
    auto refreshed = co_await m_client.refreshSession(refreshToken);
    if (self) {
        if (m_refreshFlight == flight)
            m_refreshFlight.reset();
        if (refreshed.ok() && isCurrent(generation)) {
            m_spentRefreshTokens.append(refreshToken);
            while (m_spentRefreshTokens.size() > kSpentTokensKept)
                m_spentRefreshTokens.removeFirst();
            adoptSession(refreshed.value(), generation);
        }
    }
    // Every waiter gets this answer, the session taken into use first.
    flight->result = refreshed;
    for (std::coroutine_handle<> waiter : std::exchange(flight->waiters, {}))
        waiter.resume();
    co_return refreshed;
}

// ---- profile read with one refresh

QCoro::Task<SupabaseResult<SupabaseProfile>> AccountSession::readProfileWithRefresh(SupabaseSession session,
                                                                                    quint64 generation)
{
    QPointer<AccountSession> self(this);
    auto first = co_await m_client.fetchProfile(session);
    if (first.ok() || !first.error().isAuthorizationFailure() || !self)
        co_return first;
    auto refreshed = co_await refreshTokens(session.refreshToken, generation);
    if (!refreshed.ok())
        co_return refreshed.error();
    if (!self)
        co_return first;
    co_return co_await m_client.fetchProfile(refreshed.value());
}

// ---- restore at start

void AccountSession::restoreSession()
{
    const auto data = m_preferences.dataValue(keys::session);
    if (!data)
        return;
    const auto session = SupabaseSession::fromJson(*data);
    if (!session)
        return; // left as it is until a sign-in or sign-out replaces it
    m_session = *session;
    runRestore(*session, m_generation);
}

QCoro::Task<> AccountSession::runRestore(SupabaseSession session, quint64 generation)
{
    QPointer<AccountSession> self(this);
    const auto profile = co_await readProfileWithRefresh(session, generation);
    if (!self)
        co_return;
    if (!profile.ok()) {
        // The session stays held and stored either way; only a server that
        // answered can say it expired, and one in trouble says only that.
        const SupabaseError &error = profile.error();
        if (error.isNoAnswer())
            setAuthMessage(kUnreachable);
        else if (error.isUnreachable())
            setAuthMessage(answerText(error));
        else
            setAuthMessage(kSessionExpired);
        co_return;
    }
    if (!isCurrent(generation))
        co_return;
    becomeSignedIn(profile.value(), session);
}

// ---- gate: the session still stands?

void AccountSession::enforceAuthGate()
{
    if (!m_session) {
        setAuthenticated(false);
        setAuthEmail(QString());
        return;
    }
    runGate(*m_session, m_generation);
}

QCoro::Task<> AccountSession::runGate(SupabaseSession session, quint64 generation)
{
    QPointer<AccountSession> self(this);
    const auto refreshed = co_await refreshTokens(session.refreshToken, generation);
    if (!self)
        co_return;
    if (!refreshed.ok()) {
        if (isCurrent(generation))
            gateFailed(refreshed.error());
        co_return;
    }
    const auto profile = co_await m_client.fetchProfile(refreshed.value());
    if (!self || !isCurrent(generation))
        co_return;
    if (!profile.ok()) {
        gateFailed(profile.error());
        co_return;
    }
    becomeSignedIn(profile.value(), refreshed.value());
}

void AccountSession::gateFailed(const SupabaseError &error)
{
    // Only the server's word that the tokens are no good ends the session. A
    // network failure must not: the user switches windows all the time, and
    // each switch checks again.
    if (error.isSessionRejected()) {
        signOut();
        return;
    }
    // Signed in: stay where the user was. At launch: say why the sign-in
    // view shows although a session is kept.
    if (!m_isAuthenticated)
        setAuthMessage(error.isNoAnswer() ? kUnreachable : answerText(error));
}

// ---- sign-in and sign-out

void AccountSession::signIn(const QString &email, const QString &password)
{
    ++m_generation;
    m_spentRefreshTokens.clear();
    runSignIn(email, password, m_generation);
}

QCoro::Task<> AccountSession::runSignIn(QString email, QString password, quint64 generation)
{
    QPointer<AccountSession> self(this);
    setAuthMessage(QString());
    setAuthLoading(true);
    std::optional<SupabaseError> failure;
    const auto session = co_await m_client.signIn(email, password);
    if (!self)
        co_return;
    if (!session.ok()) {
        failure = session.error();
    } else {
        const auto finalized = co_await finalizeSession(session.value(), generation);
        if (!self)
            co_return;
        if (!finalized.ok())
            failure = finalized.error();
    }
    setAuthLoading(false);
    if (failure) {
        const QString description = failure->localizedDescription();
        setAuthMessage(description.isEmpty() ? QStringLiteral("Sign in failed.") : description);
    }
}

QCoro::Task<SupabaseResult<void>> AccountSession::finalizeSession(SupabaseSession session, quint64 generation)
{
    QPointer<AccountSession> self(this);
    adoptSession(session, generation);
    const auto profile = co_await readProfileWithRefresh(session, generation);
    if (!profile.ok())
        co_return profile.error();
    if (self && isCurrent(generation)) {
        setAuthenticated(true);
        setAuthEmail(emailFor(profile.value(), session));
        setAuthMessage(QString());
    }
    co_return SupabaseResult<void>();
}

void AccountSession::signOut()
{
    ++m_generation;
    m_spentRefreshTokens.clear();
    m_session.reset();
    setAuthenticated(false);
    setAuthEmail(QString());
    setAuthMessage(QString());
    m_preferences.remove(keys::session);
    (void)m_preferences.flush(); // a failure is announced through saveFailed
}

// ---- profile refresh

void AccountSession::refreshProfile()
{
    if (!m_session)
        return;
    runRefresh(*m_session, m_generation);
}

QCoro::Task<> AccountSession::runRefresh(SupabaseSession session, quint64 generation)
{
    QPointer<AccountSession> self(this);
    const auto profile = co_await readProfileWithRefresh(session, generation);
    if (!self)
        co_return;
    if (profile.ok()) {
        // A session kept through an unreachable server at launch signs in
        // once the server answers again.
        if (isCurrent(generation) && !m_isAuthenticated)
            becomeSignedIn(profile.value(), session);
        co_return;
    }
    // The connection sentence only where no answer came; a server that
    // answered with an error status failed the refresh.
    const SupabaseError &error = profile.error();
    if (error.isAuthorizationFailure())
        setAuthMessage(kSessionExpired);
    else if (error.isNoAnswer())
        setAuthMessage(kUnreachable);
    else
        setAuthMessage(QStringLiteral("Failed to refresh profile."));
}

void AccountSession::startProfileRefreshTimer()
{
    if (m_refreshTimer != 0)
        m_scheduler.cancel(m_refreshTimer);
    scheduleRefreshTick();
}

void AccountSession::scheduleRefreshTick()
{
    m_refreshTimer = m_scheduler.singleShot(kProfileRefreshIntervalMs, [this] {
        scheduleRefreshTick();
        refreshProfile();
    });
}

void AccountSession::setupAppActiveRefresh()
{
    if (m_activeObserverInstalled || !qGuiApp)
        return;
    m_activeObserverInstalled = true;
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, &AccountSession::applicationStateChanged);
}

void AccountSession::applicationStateChanged(Qt::ApplicationState state)
{
    if (state == Qt::ApplicationActive)
        refreshProfile();
}

// ---- password change

void AccountSession::changePassword(const QString &current, const QString &newPassword,
                                    ChangePasswordCompletion completion)
{
    if (current.isEmpty() || newPassword.isEmpty()) {
        completion(AppError{QStringLiteral("Enter current and new password.")});
        return;
    }
    if (!m_session) {
        completion(AppError{QStringLiteral("Please sign in again.")});
        return;
    }
    if (m_authEmail.isEmpty()) {
        completion(AppError{QStringLiteral("Missing account email.")});
        return;
    }
    runChangePassword(m_authEmail, current, newPassword, std::move(completion));
}

QCoro::Task<> AccountSession::runChangePassword(QString email, QString current, QString newPassword,
                                                ChangePasswordCompletion completion)
{
    QPointer<AccountSession> self(this);
    // Signing in again proves the current password and gives a fresh token:
    // the held one may have expired minutes ago. The new session is not kept.
    const auto proof = co_await m_client.signIn(email, current);
    if (!self)
        co_return;
    if (!proof.ok()) {
        completion(AppError{proof.error().localizedDescription()});
        co_return;
    }
    const auto updated = co_await m_client.updatePassword(proof.value().accessToken, newPassword);
    if (!self)
        co_return;
    if (!updated.ok()) {
        completion(AppError{updated.error().localizedDescription()});
        co_return;
    }
    completion(QStringLiteral("Password updated."));
}

} // namespace qv::state
