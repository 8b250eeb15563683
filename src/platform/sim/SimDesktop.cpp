#include "platform/sim/SimDesktop.h"

#include <algorithm>

namespace qv::sim {

SimDesktop::SimDesktop(VirtualScheduler &scheduler)
    : m_scheduler(scheduler), m_accessibility(*this), m_keyboard(*this), m_pasteboard(*this), m_workspace(*this),
      m_permissions(*this)
{
    m_apps.push_back(std::make_unique<SimApp>(*this, OwnPid, QStringLiteral("Quorvel"), QStringLiteral("quorvel")));
    m_frontmost = m_apps.front().get();
}

SimDesktop::~SimDesktop()
{
    for (Scheduler::TimerId id : m_timers)
        m_scheduler.cancel(id);
}

// --- Applications and windows ---

SimApp &SimDesktop::addApp(const QString &name, const QString &bundleId)
{
    const QString id = bundleId.isEmpty() ? name.toLower().remove(QLatin1Char(' ')) : bundleId;
    m_apps.push_back(std::make_unique<SimApp>(*this, m_nextPid++, name, id));
    return *m_apps.back();
}

SimApp *SimDesktop::app(qint64 pid) const
{
    for (const auto &a : m_apps) {
        if (a->pid() == pid)
            return a.get();
    }
    return nullptr;
}

void SimDesktop::activate(SimApp &app)
{
    if (!app.isRunning())
        return;
    SimElement *keyBefore = app.keyWindow();
    // Activation brings all of the application's windows forward, in their order.
    std::stable_partition(m_zOrder.begin(), m_zOrder.end(), [&app](SimElement *w) { return &w->app() != &app; });
    const bool changed = m_frontmost != &app;
    m_frontmost = &app;
    if (changed) {
        m_workspace.announceActivation(app.info());
        m_accessibility.notifyFocusChanged(app.pid());
    } else if (app.keyWindow() != keyBefore) {
        m_accessibility.notifyFocusChanged(app.pid());
    }
}

void SimDesktop::clearFrontmost() { m_frontmost = nullptr; }

void SimDesktop::raiseWithinZOrder(SimElement &window)
{
    auto it = std::find(m_zOrder.begin(), m_zOrder.end(), &window);
    if (it != m_zOrder.end())
        m_zOrder.erase(it);
    m_zOrder.push_back(&window);
}

void SimDesktop::raise(SimElement &window)
{
    SimApp &app = window.app();
    if (!window.isLive() || window.window() != &window)
        return;
    SimElement *keyBefore = app.keyWindow();
    activate(app);
    raiseWithinZOrder(window);
    if (app.keyWindow() != keyBefore)
        focusChanged(app, &window);
}

std::vector<SimElement *> SimDesktop::windowsFrontToBack() const
{
    std::vector<SimElement *> out;
    for (auto it = m_zOrder.rbegin(); it != m_zOrder.rend(); ++it) {
        if ((*it)->isLive())
            out.push_back(*it);
    }
    return out;
}

SimElement *SimDesktop::windowAt(QPoint global) const
{
    for (SimElement *w : windowsFrontToBack()) {
        if (w->frame().contains(global))
            return w;
    }
    return nullptr;
}

namespace {
// The deepest element under the point: later children lie on top of earlier
// ones; elements without a frame are transparent containers.
SimElement *hitTest(SimElement &parent, QPoint global)
{
    const auto &children = parent.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        SimElement &child = **it;
        if (child.frame().isEmpty()) {
            if (SimElement *inner = hitTest(child, global))
                return inner;
        } else if (child.frame().contains(global)) {
            SimElement *inner = hitTest(child, global);
            return inner ? inner : &child;
        }
    }
    return nullptr;
}
} // namespace

SimElement *SimDesktop::elementAt(QPoint global) const
{
    SimElement *window = windowAt(global);
    if (!window)
        return nullptr;
    SimElement *hit = hitTest(*window, global);
    return hit ? hit : window;
}

// --- User actions ---

void SimDesktop::click(QPoint global)
{
    setPointer(global);
    SimElement *window = windowAt(global);
    if (window) {
        SimApp &app = window->app();
        raise(*window);
        SimElement *target = elementAt(global);
        // A hung application does not take the focus, though its window still comes forward.
        if (!app.isHung() && target && target->isFocusable()) {
            target->focus();
            if (target->holdsText())
                target->setCaret(target->text().size());
        }
    }
    if (window && window->app().pid() == OwnPid)
        m_input.emitLocalMouseUp(global);
    else
        m_input.emitGlobalMouseUp(global);
}

void SimDesktop::clickInto(SimElement &element)
{
    if (!element.isLive())
        return;
    // The user clicks where the element shows: its window comes forward even
    // when another window covered that point.
    const QPoint at = element.frame().isEmpty() ? m_workspace.pointerLocation().value_or(QPoint())
                                                : element.frame().center();
    setPointer(at);
    if (SimElement *window = element.window())
        raise(*window);
    if (!element.app().isHung() && element.isFocusable()) {
        element.focus();
        if (element.holdsText())
            element.setCaret(element.text().size());
    }
    if (element.app().pid() == OwnPid)
        m_input.emitLocalMouseUp(at);
    else
        m_input.emitGlobalMouseUp(at);
}

void SimDesktop::userType(SimElement &field, const QString &text)
{
    if (!field.isLive() || !field.holdsText())
        return;
    editing::replaceSelection(field.editState(), text);
}

void SimDesktop::userSetPasteboardText(const QString &text)
{
    m_pasteboard.putText(text, ClipboardEvent::Kind::UserChange);
}

void SimDesktop::userSetPasteboardItems(const QList<platform::TypedData> &items)
{
    m_pasteboard.putItems(items, ClipboardEvent::Kind::UserChange);
}

SimSchedule SimDesktop::at(double ms) { return SimSchedule(*this, Scheduler::msToNs(ms)); }

SimSchedule SimDesktop::after(double ms) { return SimSchedule(*this, m_scheduler.nowNs() + Scheduler::msToNs(ms)); }

// --- For the parts ---

void SimDesktop::schedule(double ms, std::function<void()> action)
{
    scheduleAtNs(m_scheduler.nowNs() + Scheduler::msToNs(ms), std::move(action));
}

void SimDesktop::scheduleAtNs(qint64 dueNs, std::function<void()> action)
{
    auto id = std::make_shared<Scheduler::TimerId>(0);
    *id = m_scheduler.scheduleNs(dueNs - m_scheduler.nowNs(), [this, id, action = std::move(action)] {
        m_timers.erase(*id);
        action();
    });
    m_timers.insert(*id);
}

void SimDesktop::windowAdded(SimElement &window)
{
    SimApp &app = window.app();
    SimElement *keyBefore = app.keyWindow();
    // A background application's new window opens behind the frontmost
    // application's windows; the frontmost application's opens on top.
    auto at = m_zOrder.end();
    if (m_frontmost && m_frontmost != &app)
        at = std::find_if(m_zOrder.begin(), m_zOrder.end(), [this](SimElement *w) { return &w->app() == m_frontmost; });
    m_zOrder.insert(at, &window);
    if (app.keyWindow() != keyBefore)
        focusChanged(app, &window);
}

void SimDesktop::focusChanged(SimApp &app, SimElement *window)
{
    if (!window || window == app.keyWindow())
        m_accessibility.notifyFocusChanged(app.pid());
}

void SimDesktop::appQuit(SimApp &app)
{
    std::erase_if(m_zOrder, [&app](SimElement *w) { return &w->app() == &app; });
    if (m_frontmost != &app)
        return;
    m_frontmost = nullptr;
    const auto remaining = windowsFrontToBack();
    if (!remaining.empty())
        activate(remaining.front()->app());
}

} // namespace qv::sim
