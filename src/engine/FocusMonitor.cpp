#include "engine/FocusMonitor.h"

#include "core/Scheduler.h"
#include "platform/Accessibility.h"
#include "platform/Workspace.h"

#include <QObject>

#include <cmath>

namespace qv::engine {

using platform::Attribute;

FocusMonitor::FocusMonitor(platform::Accessibility &accessibility, platform::Workspace &workspace, Scheduler &scheduler)
    : m_accessibility(accessibility), m_workspace(workspace), m_scheduler(scheduler)
{
    m_activation = QObject::connect(&m_workspace, &platform::Workspace::applicationActivated,
                                    [this](const platform::AppInfo &app) { handleAppActivated(app); });
    if (const auto front = m_workspace.frontmostApplication())
        observe(front->pid);
}

FocusMonitor::~FocusMonitor()
{
    QObject::disconnect(m_activation);
    // The observer's callback points at this monitor: end it first.
    m_observer.reset();
}

void FocusMonitor::observe(qint64 pid)
{
    if (m_observedPid && *m_observedPid == pid)
        return;
    teardown();
    m_observedPid = pid;
    m_appElement = m_accessibility.applicationElement(pid);
    m_observer = m_accessibility.observeFocus(pid, [this] { refreshFocus(); });
    if (!m_observer)
        return;
    refreshFocus();
}

void FocusMonitor::handleAppActivated(const platform::AppInfo &app)
{
    if (app.pid > 0)
        observe(app.pid);
}

bool FocusMonitor::isFresh(std::optional<qint64> frontmostPid, double maxAgeSeconds) const
{
    if (!frontmostPid || !m_observedPid || *frontmostPid != *m_observedPid || !m_lastFocusedAtNs)
        return false;
    if (!(maxAgeSeconds >= 0))
        return false;
    const qint64 ageNs = m_scheduler.nowNs() - *m_lastFocusedAtNs;
    return ageNs <= std::llround(maxAgeSeconds * 1e9);
}

void FocusMonitor::teardown()
{
    m_observer.reset();
    m_appElement = Element();
    m_lastFocused = Element();
    m_lastFocusedAtNs.reset();
}

void FocusMonitor::refreshFocus()
{
    if (m_appElement.isNull())
        return;
    const std::optional<QVariant> value = m_accessibility.read(m_appElement, Attribute::FocusedElement);
    if (!value || !value->canConvert<Element>() || value->metaType() != QMetaType::fromType<Element>())
        return;
    const Element focused = value->value<Element>();
    if (focused.isNull())
        return;
    m_lastFocused = focused;
    m_lastFocusedAtNs = m_scheduler.nowNs();
}

} // namespace qv::engine
