#include "platform/sim/SimApp.h"

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimElement.h"

namespace qv::sim {

SimApp::SimApp(SimDesktop &desktop, qint64 pid, QString name, QString bundleId)
    : m_desktop(desktop), m_pid(pid), m_name(std::move(name)), m_bundleId(std::move(bundleId))
{
    m_root = std::make_shared<SimElement>(*this, nullptr, platform::Roles::Application, QRect());
    m_root->setTitle(m_name);
}

SimApp::~SimApp() = default;

SimElement &SimApp::addWindow(QRect frame, const QString &title)
{
    SimElement &window = m_root->addElement(platform::Roles::Window, frame);
    if (!title.isEmpty())
        window.setTitle(title);
    m_desktop.windowAdded(window);
    return window;
}

std::vector<SimElement *> SimApp::windows() const
{
    std::vector<SimElement *> out;
    for (SimElement *w : m_desktop.windowsFrontToBack()) {
        if (&w->app() == this)
            out.push_back(w);
    }
    return out;
}

SimElement *SimApp::keyWindow() const
{
    const auto all = windows();
    return all.empty() ? nullptr : all.front();
}

SimElement *SimApp::focusedElement() const
{
    SimElement *key = keyWindow();
    if (!key || !key->m_windowFocus || !key->m_windowFocus->isLive())
        return nullptr;
    return key->m_windowFocus;
}

void SimApp::activate() { m_desktop.activate(*this); }

bool SimApp::isFrontmost() const { return m_desktop.frontmost() == this; }

void SimApp::setHung(bool hung)
{
    if (m_hung == hung)
        return;
    m_hung = hung;
    if (!hung) {
        // A recovered application works off the keys it was sent meanwhile.
        auto pending = std::move(m_pendingKeys);
        m_pendingKeys.clear();
        for (auto &key : pending)
            key();
    }
}

void SimApp::quit()
{
    if (!m_running)
        return;
    m_running = false;
    m_hung = false;
    m_pendingKeys.clear();
    m_desktop.appQuit(*this);
}

} // namespace qv::sim
