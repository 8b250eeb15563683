#pragma once

#include "engine/RunPhase.h"
#include "model/Project.h"
#include "model/SaveResult.h"
#include "model/StudyProject.h"
#include "state/AccountSession.h"
#include "state/AppStateEnvironment.h"
#include "state/PreferenceKeys.h"
#include "state/SmartProfile.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

namespace qv {
class Storage;
class SupabaseClient;
namespace engine {
class TypingEngine;
}
} // namespace qv

namespace qv::state {

class HttpFetcher;
class Library;
class TypingJob;
class UpdateChecker;

// The one state object the views observe: one property with a change signal
// for each published value, and the operations views call. It is a façade
// over small companions (preferences, library, account, updates, typing job)
// that each stand alone.
class AppState final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<qv::Project> projects READ projects NOTIFY projectsChanged)
    Q_PROPERTY(QList<qv::StudyProject> studyProjects READ studyProjects NOTIFY studyProjectsChanged)
    Q_PROPERTY(QString statusText READ statusText WRITE setStatusText NOTIFY statusTextChanged)
    Q_PROPERTY(bool isTyping READ isTyping WRITE setIsTyping NOTIFY isTypingChanged)
    Q_PROPERTY(bool isPaused READ isPaused WRITE setIsPaused NOTIFY isPausedChanged)
    Q_PROPERTY(
        bool accessibilityReady READ accessibilityReady WRITE setAccessibilityReady NOTIFY accessibilityReadyChanged)
    Q_PROPERTY(bool accessibilitySkipped READ accessibilitySkipped WRITE setAccessibilitySkipped NOTIFY
                   accessibilitySkippedChanged)
    Q_PROPERTY(bool inputMonitoringReady READ inputMonitoringReady WRITE setInputMonitoringReady NOTIFY
                   inputMonitoringReadyChanged)
    Q_PROPERTY(
        bool skipInitialWelcome READ skipInitialWelcome WRITE setSkipInitialWelcome NOTIFY skipInitialWelcomeChanged)
    Q_PROPERTY(double progress READ progress WRITE setProgress NOTIFY progressChanged)
    Q_PROPERTY(bool isAuthenticated READ isAuthenticated NOTIFY isAuthenticatedChanged)
    Q_PROPERTY(QString authEmail READ authEmail NOTIFY authEmailChanged)
    Q_PROPERTY(bool isAuthLoading READ isAuthLoading NOTIFY isAuthLoadingChanged)
    Q_PROPERTY(QString authMessage READ authMessage NOTIFY authMessageChanged)
    Q_PROPERTY(QString profileName READ profileName NOTIFY profileNameChanged)
    Q_PROPERTY(std::optional<QByteArray> profileImageData READ profileImageData WRITE setProfileImageData NOTIFY
                   profileImageDataChanged)
    Q_PROPERTY(bool autoUpdateEnabled READ autoUpdateEnabled WRITE setAutoUpdateEnabled NOTIFY autoUpdateEnabledChanged)
    Q_PROPERTY(bool showUpdatePrompt READ showUpdatePrompt WRITE setShowUpdatePrompt NOTIFY showUpdatePromptChanged)
    Q_PROPERTY(QString updateVersion READ updateVersion NOTIFY updateVersionChanged)
    Q_PROPERTY(std::optional<QUrl> updateURL READ updateURL NOTIFY updateURLChanged)
    Q_PROPERTY(
        bool showNoUpdatePrompt READ showNoUpdatePrompt WRITE setShowNoUpdatePrompt NOTIFY showNoUpdatePromptChanged)
    Q_PROPERTY(bool reduceMotionEnabled READ reduceMotionEnabled WRITE setReduceMotionEnabled NOTIFY
                   reduceMotionEnabledChanged)
    Q_PROPERTY(bool showSmartBrief READ showSmartBrief WRITE setShowSmartBrief NOTIFY showSmartBriefChanged)
    Q_PROPERTY(QString defaultMode READ defaultMode NOTIFY defaultModeChanged)
    Q_PROPERTY(bool suppressTopBar READ suppressTopBar WRITE setSuppressTopBar NOTIFY suppressTopBarChanged)
    Q_PROPERTY(QString typingTargetAppName READ typingTargetAppName WRITE setTypingTargetAppName NOTIFY
                   typingTargetAppNameChanged)
    Q_PROPERTY(QString detectionDebug READ detectionDebug WRITE setDetectionDebug NOTIFY detectionDebugChanged)
    Q_PROPERTY(QString runNote READ runNote NOTIFY runNoteChanged)
    Q_PROPERTY(std::optional<int> typingDifference READ typingDifference NOTIFY typingDifferenceChanged)

public:
    // Key constants views read as well.
    static inline const QString defaultGradeKey = keys::defaultGrade;
    static inline const QString defaultReviewKey = keys::defaultReview;
    static inline const QString presetKey = keys::defaultPreset;
    static inline const QString showSmartBriefKey = keys::showSmartBrief;
    static inline const QString defaultModeKey = keys::defaultMode;
    static inline const QString resumeProgressKey = keys::resumeProgress;

    explicit AppState(AppStateEnvironment environment, QObject *parent = nullptr);
    ~AppState() override;

    // ---- published values
    const QList<Project> &projects() const;
    const QList<StudyProject> &studyProjects() const;
    const QString &statusText() const;
    bool isTyping() const;
    bool isPaused() const;
    bool accessibilityReady() const { return m_accessibilityReady; }
    bool accessibilitySkipped() const { return m_accessibilitySkipped; }
    bool inputMonitoringReady() const { return m_inputMonitoringReady; }
    bool skipInitialWelcome() const { return m_skipInitialWelcome; }
    double progress() const;
    engine::RunPhase phase() const;
    bool isAuthenticated() const;
    QString authEmail() const;
    bool isAuthLoading() const;
    QString authMessage() const;
    const QString &profileName() const { return m_profileName; }
    const std::optional<QByteArray> &profileImageData() const { return m_profileImageData; }
    bool autoUpdateEnabled() const { return m_autoUpdateEnabled; }
    bool showUpdatePrompt() const;
    QString updateVersion() const;
    std::optional<QUrl> updateURL() const;
    bool showNoUpdatePrompt() const;
    bool reduceMotionEnabled() const { return m_reduceMotionEnabled; }
    bool showSmartBrief() const { return m_showSmartBrief; }
    const QString &defaultMode() const { return m_defaultMode; }
    bool suppressTopBar() const { return m_suppressTopBar; }
    const QString &typingTargetAppName() const;
    const QString &detectionDebug() const;
    // What the last finished run left out of the text box, and why.
    const QString &runNote() const;
    // Characters by which the text box differed from the project at the end
    // of the run (phase Differs); absent when unknown or not differing.
    std::optional<int> typingDifference() const;

    // Setters through which views bind controls. Those of preferences do not
    // store: the settings window writes their keys itself.
    void setStatusText(const QString &v);
    void setIsTyping(bool v);
    void setIsPaused(bool v);
    void setAccessibilityReady(bool v);
    void setAccessibilitySkipped(bool v);
    void setInputMonitoringReady(bool v);
    void setSkipInitialWelcome(bool v);
    void setProgress(double v);
    void setProfileImageData(const std::optional<QByteArray> &v);
    void setAutoUpdateEnabled(bool v);
    void setShowUpdatePrompt(bool v);
    void setShowNoUpdatePrompt(bool v);
    void setReduceMotionEnabled(bool v);
    void setShowSmartBrief(bool v);
    void setSuppressTopBar(bool v);
    void setTypingTargetAppName(const QString &v);
    void setDetectionDebug(const QString &v);

    // ---- preferences
    void updateProfileName(const QString &name);
    void setDefaultMode(const QString &mode);
    Preferences &preferences() { return m_preferences; }

    // ---- smart suggestions (pure; read the stored defaults at every call)
    SmartProfile smartDefaults(const QString &text) const;
    QString smartReason(const QString &text) const;

    // ---- library; each says whether the change reached the disk, and why
    // not (the view the user acted in shows it)
    SaveResult saveProject(const Project &project);
    SaveResult deleteProject(const Project &project);
    SaveResult saveStudyProject(const StudyProject &set);
    SaveResult deleteStudyProject(const StudyProject &set);
    SaveResult resetStudyProgress(const StudyProject &set);

    // ---- account
    void restoreSession();
    void enforceAuthGate();
    void signIn(const QString &email, const QString &password);
    void signOut();
    void refreshProfile();
    void startProfileRefreshTimer();
    void setupAppActiveRefresh();
    void changePassword(const QString &current, const QString &newPassword,
                        AccountSession::ChangePasswordCompletion completion);

    // ---- updates
    void checkForUpdates(bool forcePrompt);

    // ---- the typing job
    void prepareTyping(const Project &project);
    void togglePause();
    void stopTyping();
    void resetTyping();
    int resumeIndex(const Project &project) const;
    void clearResumeIndex(const Project &project);

    // Companions, for views and tests that need more than the façade.
    Library &library() { return *m_library; }
    AccountSession &account() { return *m_account; }
    UpdateChecker &updates() { return *m_updates; }
    TypingJob &typingJob() { return *m_typingJob; }
    Storage &storage() { return *m_storage; }
    SupabaseClient &supabase() { return *m_supabase; }
    engine::TypingEngine *typingEngine() const { return m_typingEngine.get(); }

signals:
    void projectsChanged();
    void studyProjectsChanged();
    void statusTextChanged();
    void isTypingChanged();
    void isPausedChanged();
    void accessibilityReadyChanged();
    void accessibilitySkippedChanged();
    void inputMonitoringReadyChanged();
    void skipInitialWelcomeChanged();
    void progressChanged();
    void phaseChanged();
    void isAuthenticatedChanged();
    void authEmailChanged();
    void isAuthLoadingChanged();
    void authMessageChanged();
    void profileNameChanged();
    void profileImageDataChanged();
    void autoUpdateEnabledChanged();
    void showUpdatePromptChanged();
    void updateVersionChanged();
    void updateURLChanged();
    void showNoUpdatePromptChanged();
    void reduceMotionEnabledChanged();
    void showSmartBriefChanged();
    void defaultModeChanged();
    void suppressTopBarChanged();
    void typingTargetAppNameChanged();
    void detectionDebugChanged();
    void runNoteChanged();
    void typingDifferenceChanged();

private:
    template <typename T>
    void assign(T &field, const T &value, void (AppState::*changed)());

    AppStateEnvironment m_env;
    Preferences &m_preferences;

    // Published values owned here (the rest live in the companions).
    bool m_accessibilityReady = false;
    bool m_accessibilitySkipped = false;
    bool m_inputMonitoringReady = false;
    bool m_skipInitialWelcome = false;
    QString m_profileName;
    std::optional<QByteArray> m_profileImageData;
    bool m_autoUpdateEnabled = false;
    bool m_reduceMotionEnabled = false;
    bool m_showSmartBrief = true;
    QString m_defaultMode = QStringLiteral("wpm");
    bool m_suppressTopBar = false;

    std::unique_ptr<Storage> m_storage;
    std::shared_ptr<engine::TypingEngine> m_typingEngine;
    std::unique_ptr<SupabaseClient> m_supabase;
    std::shared_ptr<HttpFetcher> m_siteFetcher;
    Library *m_library = nullptr;
    AccountSession *m_account = nullptr;
    UpdateChecker *m_updates = nullptr;
    TypingJob *m_typingJob = nullptr;
};

} // namespace qv::state
