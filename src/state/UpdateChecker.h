#pragma once

#include "core/Scheduler.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace qv::platform {
class Workspace;
}

namespace qv::state {

class HttpFetcher;

// Reads the update feed, compares its version with the running one and
// publishes the result, or opens the download at once when automatic updates
// are on and the user did not ask. One check at a time; all failures are silent.
class UpdateChecker final : public QObject {
    Q_OBJECT
public:
    static constexpr double kTimeoutMs = 60'000.0;

    UpdateChecker(HttpFetcher &fetcher, Scheduler &scheduler, platform::Workspace &workspace, QUrl siteBase,
                  QString currentVersion, std::function<bool()> autoUpdateEnabled, QObject *parent = nullptr);
    ~UpdateChecker() override;

    // The feed's address on the product web site; empty when it cannot be formed.
    static QUrl feedUrl(const QUrl &siteBase);

    void checkForUpdates(bool forcePrompt);
    bool inFlight() const { return m_inFlight; }

    const QString &updateVersion() const { return m_updateVersion; }
    const std::optional<QUrl> &updateUrl() const { return m_updateUrl; }
    bool showUpdatePrompt() const { return m_showUpdatePrompt; }
    bool showNoUpdatePrompt() const { return m_showNoUpdatePrompt; }
    void setShowUpdatePrompt(bool show);
    void setShowNoUpdatePrompt(bool show);

signals:
    void updateVersionChanged();
    void updateUrlChanged();
    void showUpdatePromptChanged();
    void showNoUpdatePromptChanged();

private:
    void handleResult(quint64 serial, const std::optional<QByteArray> &data, bool forcePrompt);
    void publish(const QString &version, const QUrl &url, bool forcePrompt);

    HttpFetcher &m_fetcher;
    Scheduler &m_scheduler;
    platform::Workspace &m_workspace;
    QUrl m_siteBase;
    QString m_currentVersion;
    std::function<bool()> m_autoUpdateEnabled;

    bool m_inFlight = false;
    quint64 m_serial = 0; // the running check; late answers of older ones are ignored
    Scheduler::TimerId m_timeout = 0;

    QString m_updateVersion;
    std::optional<QUrl> m_updateUrl;
    bool m_showUpdatePrompt = false;
    bool m_showNoUpdatePrompt = false;
    bool m_openedDownload = false;
};

} // namespace qv::state
