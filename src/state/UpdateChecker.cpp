#include "state/UpdateChecker.h"

#include "platform/Workspace.h"
#include "state/Appcast.h"
#include "state/HttpFetcher.h"

#include <QPointer>
#include <QStringDecoder>

namespace qv::state {

UpdateChecker::UpdateChecker(HttpFetcher &fetcher, Scheduler &scheduler, platform::Workspace &workspace, QUrl siteBase,
                             QString currentVersion, std::function<bool()> autoUpdateEnabled, QObject *parent)
    : QObject(parent), m_fetcher(fetcher), m_scheduler(scheduler), m_workspace(workspace),
      m_siteBase(std::move(siteBase)), m_currentVersion(std::move(currentVersion)),
      m_autoUpdateEnabled(std::move(autoUpdateEnabled))
{
}

UpdateChecker::~UpdateChecker()
{
    if (m_timeout != 0)
        m_scheduler.cancel(m_timeout);
}

QUrl UpdateChecker::feedUrl(const QUrl &siteBase)
{
    if (!siteBase.isValid() || siteBase.isRelative() || siteBase.host().isEmpty())
        return {};
    QUrl url = siteBase;
    QString path = url.path();
    while (path.endsWith(u'/'))
        path.chop(1);
    url.setPath(path + QStringLiteral("/quorvel-site/appcast.xml"));
    url.setQuery(QString());
    url.setFragment(QString());
    return url.isValid() ? url : QUrl();
}

void UpdateChecker::checkForUpdates(bool forcePrompt)
{
    if (m_inFlight)
        return;
    m_inFlight = true;
    const QUrl url = feedUrl(m_siteBase);
    if (url.isEmpty()) {
        m_inFlight = false;
        return;
    }
    const quint64 serial = ++m_serial;
    QPointer<UpdateChecker> self(this);
    // Without a time-out a hung server would keep the check in flight for good.
    m_timeout = m_scheduler.singleShot(kTimeoutMs, [self, serial, forcePrompt] {
        if (self) {
            self->m_timeout = 0;
            self->handleResult(serial, std::nullopt, forcePrompt);
        }
    });
    m_fetcher.get(url, [self, serial, forcePrompt](std::optional<QByteArray> data) {
        if (self)
            self->handleResult(serial, data, forcePrompt);
    });
}

void UpdateChecker::handleResult(quint64 serial, const std::optional<QByteArray> &data, bool forcePrompt)
{
    if (!m_inFlight || serial != m_serial)
        return; // already handled (answer after the time-out, or the reverse)
    if (m_timeout != 0) {
        m_scheduler.cancel(m_timeout);
        m_timeout = 0;
    }
    if (data) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder.decode(*data);
        if (!decoder.hasError()) {
            const auto version = appcast::feedVersion(text);
            const auto address = appcast::feedDownloadAddress(text);
            if (version && address) {
                if (const auto url = appcast::openableUrl(*address))
                    publish(*version, *url, forcePrompt);
            }
        }
    }
    m_inFlight = false;
}

void UpdateChecker::publish(const QString &version, const QUrl &url, bool forcePrompt)
{
    const QString current = m_currentVersion.isEmpty() ? QStringLiteral("0") : m_currentVersion;
    if (appcast::isVersionNewer(version, current)) {
        if (m_updateVersion != version) {
            m_updateVersion = version;
            emit updateVersionChanged();
        }
        if (m_updateUrl != url) {
            m_updateUrl = url;
            emit updateUrlChanged();
        }
        if (m_autoUpdateEnabled && m_autoUpdateEnabled() && !forcePrompt) {
            // The launch check and the dashboard's check on every showing
            // (each sign-in) all find the same feed: the page opens once per
            // run.
            if (!m_openedDownload) {
                m_openedDownload = true;
                m_workspace.openUrl(url);
            }
        } else
            setShowUpdatePrompt(true);
    } else if (forcePrompt) {
        setShowNoUpdatePrompt(true);
    }
}

void UpdateChecker::setShowUpdatePrompt(bool show)
{
    if (m_showUpdatePrompt == show)
        return;
    m_showUpdatePrompt = show;
    emit showUpdatePromptChanged();
}

void UpdateChecker::setShowNoUpdatePrompt(bool show)
{
    if (m_showNoUpdatePrompt == show)
        return;
    m_showNoUpdatePrompt = show;
    emit showNoUpdatePromptChanged();
}

} // namespace qv::state
