#include "state/AppState.h"

#include "core/Scheduler.h"
#include "model/Storage.h"
#include "platform/Permissions.h"
#include "services/SupabaseClient.h"
#include "state/Library.h"
#include "state/NetworkHttpFetcher.h"
#include "state/Preferences.h"
#include "state/SmartSuggestions.h"
#include "state/TypingJob.h"
#include "state/UpdateChecker.h"

#include <QPointer>

namespace qv::state {

AppState::AppState(AppStateEnvironment environment, QObject *parent)
    : QObject(parent), m_env(std::move(environment)), m_preferences(*m_env.preferences)
{
    Q_ASSERT(m_env.scheduler && m_env.clock && m_env.preferences && m_env.workspace && m_env.permissions);

    // 1. Published values: their initial values, four of them from the store.
    m_autoUpdateEnabled = prefs::autoUpdateEnabled(m_preferences);
    m_reduceMotionEnabled = prefs::reduceMotion(m_preferences);
    m_showSmartBrief = prefs::showSmartBrief(m_preferences);
    m_defaultMode = prefs::defaultMode(m_preferences);

    // 2. The file store (it makes the data folder now).
    m_storage = std::make_unique<Storage>(m_env.dataFolders, *m_env.clock);
    m_library = new Library(*m_storage, *m_env.scheduler, *m_env.clock, this);
    connect(m_library, &Library::projectsChanged, this, &AppState::projectsChanged);
    connect(m_library, &Library::studyProjectsChanged, this, &AppState::studyProjectsChanged);

    // 3-4. The typing engine and the typing job that drives it.
    if (m_env.makeTypingEngine)
        m_typingEngine = m_env.makeTypingEngine();
    TypingJob::Services typing;
    typing.scheduler = m_env.scheduler;
    typing.preferences = m_env.preferences;
    typing.workspace = m_env.workspace;
    typing.permissions = m_env.permissions;
    typing.accessibility = m_env.accessibility;
    typing.input = m_env.input;
    typing.desktop = m_env.desktop;
    typing.engine = m_typingEngine;
    typing.accessibilityReady = [this] { return m_accessibilityReady; };
    typing.inputMonitoringReady = [this] { return m_inputMonitoringReady; };
    m_typingJob = new TypingJob(std::move(typing), this);
    connect(m_typingJob, &TypingJob::statusTextChanged, this, &AppState::statusTextChanged);
    connect(m_typingJob, &TypingJob::isTypingChanged, this, &AppState::isTypingChanged);
    connect(m_typingJob, &TypingJob::isPausedChanged, this, &AppState::isPausedChanged);
    connect(m_typingJob, &TypingJob::progressChanged, this, &AppState::progressChanged);
    connect(m_typingJob, &TypingJob::phaseChanged, this, &AppState::phaseChanged);
    connect(m_typingJob, &TypingJob::typingTargetAppNameChanged, this, &AppState::typingTargetAppNameChanged);
    connect(m_typingJob, &TypingJob::detectionDebugChanged, this, &AppState::detectionDebugChanged);
    connect(m_typingJob, &TypingJob::runNoteChanged, this, &AppState::runNoteChanged);
    connect(m_typingJob, &TypingJob::typingDifferenceChanged, this, &AppState::typingDifferenceChanged);

    // 5. The backend client.
    m_supabase = std::make_unique<SupabaseClient>(m_env.backendUrl, m_env.backendAnonKey,
                                                  SupabaseClient::defaultTimeout, m_env.backendTransport);
    m_account = new AccountSession(*m_supabase, m_preferences, *m_env.scheduler, this);
    connect(m_account, &AccountSession::isAuthenticatedChanged, this, &AppState::isAuthenticatedChanged);
    connect(m_account, &AccountSession::authEmailChanged, this, &AppState::authEmailChanged);
    connect(m_account, &AccountSession::isAuthLoadingChanged, this, &AppState::isAuthLoadingChanged);
    connect(m_account, &AccountSession::authMessageChanged, this, &AppState::authMessageChanged);

    m_siteFetcher = m_env.siteFetcher ? m_env.siteFetcher : std::make_shared<NetworkHttpFetcher>();
    m_updates = new UpdateChecker(
        *m_siteFetcher, *m_env.scheduler, *m_env.workspace, m_env.siteUrl, m_env.version,
        [this] { return m_autoUpdateEnabled; }, this);
    connect(m_updates, &UpdateChecker::updateVersionChanged, this, &AppState::updateVersionChanged);
    connect(m_updates, &UpdateChecker::updateUrlChanged, this, &AppState::updateURLChanged);
    connect(m_updates, &UpdateChecker::showUpdatePromptChanged, this, &AppState::showUpdatePromptChanged);
    connect(m_updates, &UpdateChecker::showNoUpdatePromptChanged, this, &AppState::showNoUpdatePromptChanged);

    // 8. Both lists load later; they stay empty until then.
    m_library->startInitialLoad();

    // 9-10. Permissions, read once.
    m_accessibilityReady = m_env.permissions->accessibilityReady();
    m_inputMonitoringReady = m_env.permissions->inputSynthesisReady();

    // 11-12. The profile.
    m_profileName = prefs::profileName(m_preferences);
    m_profileImageData = prefs::profileImage(m_preferences);

    // 13-15. The account.
    restoreSession();
    startProfileRefreshTimer();
    setupAppActiveRefresh();

    // 16. The update check, once the initialiser has returned.
    QPointer<AppState> self(this);
    m_env.scheduler->singleShot(0, [self] {
        if (self)
            self->checkForUpdates(false);
    });
}

AppState::~AppState()
{
    // The companions go before the storage, client and fetcher they refer to
    // (the typing job first: it stops a run that is still typing).
    delete m_typingJob;
    delete m_updates;
    delete m_account;
    delete m_library;
}

template <typename T>
void AppState::assign(T &field, const T &value, void (AppState::*changed)())
{
    if (field == value)
        return;
    field = value;
    emit(this->*changed)();
}

// ---- published values kept by the companions

const QList<Project> &AppState::projects() const { return m_library->projects(); }
const QList<StudyProject> &AppState::studyProjects() const { return m_library->studyProjects(); }
bool AppState::isAuthenticated() const { return m_account->isAuthenticated(); }
QString AppState::authEmail() const { return m_account->authEmail(); }
bool AppState::isAuthLoading() const { return m_account->isAuthLoading(); }
QString AppState::authMessage() const { return m_account->authMessage(); }
bool AppState::showUpdatePrompt() const { return m_updates->showUpdatePrompt(); }
QString AppState::updateVersion() const { return m_updates->updateVersion(); }
std::optional<QUrl> AppState::updateURL() const { return m_updates->updateUrl(); }
bool AppState::showNoUpdatePrompt() const { return m_updates->showNoUpdatePrompt(); }
const QString &AppState::statusText() const { return m_typingJob->statusText(); }
bool AppState::isTyping() const { return m_typingJob->isTyping(); }
bool AppState::isPaused() const { return m_typingJob->isPaused(); }
double AppState::progress() const { return m_typingJob->progress(); }
engine::RunPhase AppState::phase() const { return m_typingJob->phase(); }
const QString &AppState::typingTargetAppName() const { return m_typingJob->typingTargetAppName(); }
std::optional<int> AppState::typingDifference() const { return m_typingJob->typingDifference(); }
const QString &AppState::detectionDebug() const { return m_typingJob->detectionDebug(); }
const QString &AppState::runNote() const { return m_typingJob->runNote(); }
void AppState::setShowUpdatePrompt(bool v) { m_updates->setShowUpdatePrompt(v); }
void AppState::setShowNoUpdatePrompt(bool v) { m_updates->setShowNoUpdatePrompt(v); }

// ---- setters

void AppState::setStatusText(const QString &v) { m_typingJob->setStatusText(v); }
void AppState::setIsTyping(bool v) { m_typingJob->setIsTyping(v); }
void AppState::setIsPaused(bool v) { m_typingJob->setIsPaused(v); }
void AppState::setAccessibilityReady(bool v) { assign(m_accessibilityReady, v, &AppState::accessibilityReadyChanged); }
void AppState::setAccessibilitySkipped(bool v)
{
    assign(m_accessibilitySkipped, v, &AppState::accessibilitySkippedChanged);
}
void AppState::setInputMonitoringReady(bool v)
{
    assign(m_inputMonitoringReady, v, &AppState::inputMonitoringReadyChanged);
}
void AppState::setSkipInitialWelcome(bool v) { assign(m_skipInitialWelcome, v, &AppState::skipInitialWelcomeChanged); }
void AppState::setProgress(double v) { m_typingJob->setProgress(v); }
void AppState::setProfileImageData(const std::optional<QByteArray> &v)
{
    assign(m_profileImageData, v, &AppState::profileImageDataChanged);
}
void AppState::setAutoUpdateEnabled(bool v) { assign(m_autoUpdateEnabled, v, &AppState::autoUpdateEnabledChanged); }
void AppState::setReduceMotionEnabled(bool v)
{
    assign(m_reduceMotionEnabled, v, &AppState::reduceMotionEnabledChanged);
}
void AppState::setShowSmartBrief(bool v) { assign(m_showSmartBrief, v, &AppState::showSmartBriefChanged); }
void AppState::setSuppressTopBar(bool v) { assign(m_suppressTopBar, v, &AppState::suppressTopBarChanged); }
void AppState::setTypingTargetAppName(const QString &v) { m_typingJob->setTypingTargetAppName(v); }
void AppState::setDetectionDebug(const QString &v) { m_typingJob->setDetectionDebug(v); }

// ---- preferences

void AppState::updateProfileName(const QString &name)
{
    assign(m_profileName, name, &AppState::profileNameChanged);
    m_preferences.setString(keys::profileName, name);
}

void AppState::setDefaultMode(const QString &mode)
{
    assign(m_defaultMode, mode, &AppState::defaultModeChanged);
    m_preferences.setString(defaultModeKey, mode);
}

// ---- smart suggestions

SmartProfile AppState::smartDefaults(const QString &text) const
{
    const smart::StoredDefaults stored{prefs::defaultGrade(m_preferences), prefs::defaultReview(m_preferences),
                                       prefs::defaultPreset(m_preferences)};
    return smart::smartDefaults(text, stored);
}

QString AppState::smartReason(const QString &text) const { return smart::smartReason(text); }

// ---- library

SaveResult AppState::saveProject(const Project &project) { return m_library->saveProject(project); }
SaveResult AppState::deleteProject(const Project &project) { return m_library->deleteProject(project); }
SaveResult AppState::saveStudyProject(const StudyProject &set) { return m_library->saveStudyProject(set); }
SaveResult AppState::deleteStudyProject(const StudyProject &set) { return m_library->deleteStudyProject(set); }
SaveResult AppState::resetStudyProgress(const StudyProject &set) { return m_library->resetStudyProgress(set); }

// ---- account

void AppState::restoreSession() { m_account->restoreSession(); }
void AppState::enforceAuthGate() { m_account->enforceAuthGate(); }
void AppState::signIn(const QString &email, const QString &password) { m_account->signIn(email, password); }
void AppState::signOut() { m_account->signOut(); }
void AppState::refreshProfile() { m_account->refreshProfile(); }
void AppState::startProfileRefreshTimer() { m_account->startProfileRefreshTimer(); }
void AppState::setupAppActiveRefresh() { m_account->setupAppActiveRefresh(); }
void AppState::changePassword(const QString &current, const QString &newPassword,
                              AccountSession::ChangePasswordCompletion completion)
{
    m_account->changePassword(current, newPassword, std::move(completion));
}

// ---- updates

void AppState::checkForUpdates(bool forcePrompt) { m_updates->checkForUpdates(forcePrompt); }

// ---- the typing job

void AppState::prepareTyping(const Project &project) { m_typingJob->prepareTyping(project); }
void AppState::togglePause() { m_typingJob->togglePause(); }
void AppState::stopTyping() { m_typingJob->stopTyping(); }
void AppState::resetTyping() { m_typingJob->resetTyping(); }
int AppState::resumeIndex(const Project &project) const { return m_typingJob->resumeIndex(project); }
void AppState::clearResumeIndex(const Project &project) { m_typingJob->clearResumeIndex(project); }

} // namespace qv::state
