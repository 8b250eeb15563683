// AT-SPI's GLib headers use "signals" as a name: they come before Qt's.
#include <atspi/atspi.h>

#include "platform/linux/AtspiAccessibility.h"

#include "core/Scheduler.h"
#include "platform/linux/AtspiElementRef.h"

#include <cstring>

namespace qv::linuxdesktop {

namespace {

constexpr const char *kEvents[] = {"object:state-changed:focused", "object:text-caret-moved", "object:text-changed",
                                   "object:children-changed", "window:activate"};

// An event handed to a listener is the listener's to free.
struct EventFree {
    void operator()(AtspiEvent *event) const { g_boxed_free(ATSPI_TYPE_EVENT, event); }
};

} // namespace

class AtspiAccessibility::Observer final : public platform::Subscription {
public:
    Observer(AtspiAccessibility *owner, quint64 id, std::weak_ptr<bool> alive)
        : m_owner(owner), m_id(id), m_alive(std::move(alive))
    {
    }
    ~Observer() override
    {
        if (!m_alive.expired())
            m_owner->m_observers.removeIf([this](const ObserverEntry &e) { return e.id == m_id; });
    }

private:
    AtspiAccessibility *m_owner;
    quint64 m_id;
    std::weak_ptr<bool> m_alive;
};

void AtspiAccessibility::registerListeners()
{
    for (const char *type : kEvents) {
        Owned<AtspiEventListener> listener(atspi_event_listener_new(&AtspiAccessibility::onEvent, this, nullptr));
        ErrorSlot error;
        if (atspi_event_listener_register(listener.get(), type, error.out()))
            m_listeners.push_back(std::move(listener));
    }
}

AtspiAccessibility::~AtspiAccessibility()
{
    *m_alive = false;
    m_alive.reset();
    for (const Owned<AtspiEventListener> &listener : m_listeners)
        for (const char *type : kEvents)
            atspi_event_listener_deregister(listener.get(), type, nullptr);
    clearFocusCache();
}

// ---- events and the focus cache -------------------------------------------

void AtspiAccessibility::onEvent(AtspiEvent *event, void *self)
{
    const std::unique_ptr<AtspiEvent, EventFree> owned(event);
    auto *me = static_cast<AtspiAccessibility *>(self);
    const char *raw = event->type ? event->type : "";
    const QByteArray type = QByteArray::fromRawData(raw, qsizetype(std::strlen(raw)));
    // The kept document is out of date from now on, not from when the
    // event loop gets round to it.
    me->noteChange(event->source, type);
    // Only focus moves and window activations change the focus cache; text,
    // caret and children events (browsers send them in bursts) end here.
    if (!type.startsWith("object:state-changed:focused") && !type.startsWith("window:activate"))
        return;
    // Events may arrive while another call waits for its reply: keep what is
    // needed and handle it from the event loop.
    PendingEvent pending;
    pending.type = QByteArray(raw);
    pending.source = ref(event->source);
    pending.detail1 = event->detail1;
    std::weak_ptr<bool> alive = me->m_alive;
    me->m_scheduler.singleShot(0, [me, alive, pending] {
        if (!alive.expired())
            me->handleEvent(pending);
    });
}

void AtspiAccessibility::handleEvent(const PendingEvent &event)
{
    AtspiAccessible *source = event.source.get();
    if (!source)
        return;
    const qint64 pid = pidOf(source);
    if (pid <= 0 || pid == m_ownPid)
        return;
    if (event.type.startsWith("object:state-changed:focused")) {
        if (event.detail1)
            setFocusCache(source, pid);
        else if (AtspiElementRef::same(source, m_focused.get()))
            clearFocusCache();
        notifyObservers(pid);
    } else if (event.type.startsWith("window:activate")) {
        notifyObservers(pid);
    }
}

void AtspiAccessibility::setFocusCache(AtspiAccessible *accessible, qint64 pid)
{
    if (m_focused && AtspiElementRef::same(m_focused.get(), accessible))
        return;
    clearFocusCache();
    m_focused = ref(accessible);
    m_focusedPid = pid;
}

void AtspiAccessibility::clearFocusCache()
{
    m_focused.reset();
    m_promoted.reset();
    m_focusedPid = 0;
}

bool AtspiAccessibility::focusCacheHolds(qint64 pid)
{
    if (!m_focused || m_focusedPid != pid)
        return false;
    // A focus event may name an object that is gone by now (a popup of word
    // completions), or one that held the focus only for a moment: a word
    // processor names its root pane while it replaces the paragraph that
    // takes the typing, and says nothing when the focus comes back. Look for
    // the focus again.
    const auto bits = states(m_focused.get(), pid);
    const auto has = [&](int state) { return bits && (*bits & (quint64(1) << state)); };
    if (bits && !has(ATSPI_STATE_DEFUNCT) && has(ATSPI_STATE_SHOWING) && has(ATSPI_STATE_FOCUSED))
        return true;
    clearFocusCache();
    return false;
}

void AtspiAccessibility::notifyObservers(qint64 pid)
{
    for (const ObserverEntry &entry : std::as_const(m_observers)) {
        if (entry.pid != pid)
            continue;
        const quint64 id = entry.id;
        std::weak_ptr<bool> alive = m_alive;
        m_scheduler.singleShot(0, [this, alive, id] {
            if (alive.expired())
                return;
            for (const ObserverEntry &e : std::as_const(m_observers)) {
                if (e.id == id) {
                    const auto changed = e.changed; // the callback may unsubscribe
                    if (changed)
                        changed();
                    return;
                }
            }
        });
    }
}

platform::SubscriptionPtr AtspiAccessibility::observeFocus(qint64 pid, std::function<void()> changed)
{
    if (!m_ready || pid <= 0 || pid == m_ownPid)
        return nullptr;
    const quint64 id = m_nextObserverId++;
    m_observers.append({id, pid, std::move(changed)});
    return std::make_unique<Observer>(this, id, m_alive);
}

} // namespace qv::linuxdesktop
