// AT-SPI's GLib headers use "signals" as a name: they come before Qt's.
#include <atspi/atspi.h>

#include "platform/linux/AtspiAccessibility.h"

#include "core/Scheduler.h"
#include "core/Text.h"
#include "platform/linux/AtspiCall.h"
#include "platform/linux/AtspiElementRef.h"
#include "platform/linux/AtspiRoles.h"
#include "platform/linux/X11Workspace.h"

#include <QPointer>
#include <QRect>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace qv::linuxdesktop {

using platform::Attribute;
using platform::Element;
using platform::TextRange;

namespace {

constexpr int kMaxWalkNodes = 600;
constexpr int kMaxChildrenPerNode = 256;
constexpr int kMaxWalkDepth = 40;
constexpr int kMaxHitDepth = 40;

bool looksLikeTimeout(const GError *error)
{
    if (!error || !error->message)
        return false;
    const QByteArray m(error->message);
    return m.contains("NoReply") || m.contains("Did not receive a reply") || m.contains("Timeout")
        || m.contains("timed out");
}

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

AtspiAccessibility::AtspiAccessibility(Scheduler &scheduler, X11Workspace &workspace)
    : m_scheduler(scheduler), m_workspace(workspace), m_ownPid(qint64(::getpid()))
{
    const int init = atspi_init();
    m_ready = init == 0 || init == 1;
    if (!m_ready)
        return;
    atspi_set_timeout(kBusTimeoutMs, -1);
    static const char *const kEvents[] = {"object:state-changed:focused", "object:text-caret-moved",
                                          "object:text-changed", "window:activate"};
    for (const char *type : kEvents) {
        AtspiEventListener *listener = atspi_event_listener_new(&AtspiAccessibility::onEvent, this, nullptr);
        GError *error = nullptr;
        if (atspi_event_listener_register(listener, type, &error))
            m_listeners.append(listener);
        else
            g_object_unref(listener);
        if (error)
            g_error_free(error);
    }
    QObject::connect(&m_workspace, &platform::Workspace::applicationActivated, &m_context,
                     [this](const platform::AppInfo &app) { notifyObservers(app.pid); });
}

AtspiAccessibility::~AtspiAccessibility()
{
    *m_alive = false;
    m_alive.reset();
    for (AtspiEventListener *listener : std::as_const(m_listeners)) {
        for (const char *type : {"object:state-changed:focused", "object:text-caret-moved", "object:text-changed",
                                 "window:activate"})
            atspi_event_listener_deregister(listener, type, nullptr);
        g_object_unref(listener);
    }
    clearFocusCache();
}

// ---- calls and back-off ----------------------------------------------------

bool AtspiAccessibility::admits(qint64 pid) const
{
    return m_ready && pid > 0 && pid != m_ownPid && !m_unresponsive.isBackedOff(pid, m_scheduler.nowNs())
        && processExists(pid);
}

bool AtspiAccessibility::processExists(qint64 pid)
{
    // A call to an application that just died can still come back "empty"
    // without an error: ask the kernel, which costs nothing.
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

bool AtspiAccessibility::isBackedOff(qint64 pid) const
{
    return m_unresponsive.isBackedOff(pid, m_scheduler.nowNs());
}

void AtspiAccessibility::finishCall(qint64 pid, qint64 elapsedNs, GError *error)
{
    if ((isSlow(elapsedNs) || looksLikeTimeout(error)) && pid > 0)
        m_unresponsive.mark(pid, m_scheduler.nowNs());
    if (error)
        g_error_free(error);
}

qint64 AtspiAccessibility::pidOf(AtspiAccessible *accessible)
{
    if (!accessible)
        return 0;
    const AtspiObject *o = ATSPI_OBJECT(accessible);
    const QByteArray bus = (o && o->app && o->app->bus_name) ? QByteArray(o->app->bus_name) : QByteArray();
    if (!bus.isEmpty()) {
        const auto it = m_pidByBus.constFind(bus);
        if (it != m_pidByBus.constEnd())
            return *it;
    }
    // Asks the bus daemon, not the application.
    GError *error = nullptr;
    const qint64 pid = qint64(atspi_accessible_get_process_id(accessible, &error));
    if (error) {
        g_error_free(error);
        return 0;
    }
    if (!bus.isEmpty() && pid > 0)
        m_pidByBus.insert(bus, pid);
    return pid;
}

Element AtspiAccessibility::wrap(AtspiAccessible *accessible)
{
    if (!accessible)
        return {};
    const qint64 pid = pidOf(accessible);
    if (pid <= 0 || pid == m_ownPid) {
        g_object_unref(accessible);
        return {};
    }
    return Element(std::make_shared<AtspiElementRef>(accessible, pid));
}

AtspiAccessible *AtspiAccessibility::unwrap(const Element &element)
{
    const auto *ref = dynamic_cast<const AtspiElementRef *>(element.ref());
    return ref ? ref->accessible() : nullptr;
}

// ---- events and the focus cache -------------------------------------------

void AtspiAccessibility::onEvent(AtspiEvent *event, void *self)
{
    auto *me = static_cast<AtspiAccessibility *>(self);
    // Events may arrive while another call waits for its reply: keep what is
    // needed and handle it from the event loop.
    PendingEvent pending;
    pending.type = QByteArray(event->type ? event->type : "");
    pending.source = event->source ? static_cast<AtspiAccessible *>(g_object_ref(event->source)) : nullptr;
    pending.detail1 = event->detail1;
    g_boxed_free(ATSPI_TYPE_EVENT, event);
    std::weak_ptr<bool> alive = me->m_alive;
    me->m_scheduler.singleShot(0, [me, alive, pending] {
        if (!alive.expired())
            me->handleEvent(pending);
        if (pending.source)
            g_object_unref(pending.source);
    });
}

void AtspiAccessibility::handleEvent(const PendingEvent &event)
{
    if (!event.source)
        return;
    const qint64 pid = pidOf(event.source);
    if (pid <= 0 || pid == m_ownPid)
        return;
    if (event.type.startsWith("object:state-changed:focused")) {
        if (event.detail1)
            setFocusCache(event.source, pid);
        else if (AtspiElementRef::same(event.source, m_focused))
            clearFocusCache();
        notifyObservers(pid);
    } else if (event.type.startsWith("window:activate")) {
        notifyObservers(pid);
    }
    // Caret and text events of the focused element need nothing more: the
    // cached element stays valid until focus moves.
}

void AtspiAccessibility::setFocusCache(AtspiAccessible *accessible, qint64 pid)
{
    if (m_focused && AtspiElementRef::same(m_focused, accessible))
        return;
    clearFocusCache();
    m_focused = static_cast<AtspiAccessible *>(g_object_ref(accessible));
    m_focusedPid = pid;
}

void AtspiAccessibility::clearFocusCache()
{
    if (m_focused)
        g_object_unref(m_focused);
    if (m_promoted)
        g_object_unref(m_promoted);
    m_focused = nullptr;
    m_promoted = nullptr;
    m_focusedPid = 0;
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

// ---- lookups ---------------------------------------------------------------

AtspiAccessible *AtspiAccessibility::appForPid(qint64 pid)
{
    if (!admits(pid))
        return nullptr;
    AtspiAccessible *desktop = atspi_get_desktop(0);
    if (!desktop)
        return nullptr;
    AtspiAccessible *found = nullptr;
    GError *error = nullptr;
    const int count = atspi_accessible_get_child_count(desktop, &error);
    if (error)
        g_error_free(error);
    for (int i = 0; i < count && !found; ++i) {
        GError *childError = nullptr;
        AtspiAccessible *app = atspi_accessible_get_child_at_index(desktop, i, &childError);
        if (childError)
            g_error_free(childError);
        if (!app)
            continue;
        if (pidOf(app) == pid)
            found = app;
        else
            g_object_unref(app);
    }
    g_object_unref(desktop);
    return found;
}

std::optional<quint64> AtspiAccessibility::states(AtspiAccessible *accessible, qint64 pid)
{
    if (!accessible || !admits(pid))
        return std::nullopt;
    AtspiStateSet *set = nullptr;
    {
        Call call(*this, pid);
        set = atspi_accessible_get_state_set(accessible);
        if (set && call.failed()) {
            g_object_unref(set);
            set = nullptr;
        }
    }
    if (!set)
        return std::nullopt;
    quint64 bits = 0;
    GArray *list = atspi_state_set_get_states(set);
    if (list) {
        for (guint i = 0; i < list->len; ++i) {
            const int s = g_array_index(list, AtspiStateType, i);
            if (s >= 0 && s < 64)
                bits |= quint64(1) << s;
        }
        g_array_free(list, TRUE);
    }
    g_object_unref(set);
    return bits;
}

bool AtspiAccessibility::hasState(AtspiAccessible *accessible, qint64 pid, int state)
{
    const auto bits = states(accessible, pid);
    return bits && (*bits & (quint64(1) << state));
}

std::optional<int> AtspiAccessibility::role(AtspiAccessible *accessible, qint64 pid)
{
    if (!accessible || !admits(pid))
        return std::nullopt;
    Call call(*this, pid);
    const AtspiRole r = atspi_accessible_get_role(accessible, call.error());
    if (call.failed())
        return std::nullopt;
    return int(r);
}

AtspiAccessible *AtspiAccessibility::findFocused(AtspiAccessible *app, qint64 pid)
{
    if (!app || !admits(pid))
        return nullptr;
    QList<AtspiAccessible *> windows;
    {
        Call call(*this, pid);
        const int count = atspi_accessible_get_child_count(app, call.error());
        for (int i = 0; i < count && i < kMaxChildrenPerNode && !call.failed(); ++i)
            if (AtspiAccessible *w = atspi_accessible_get_child_at_index(app, i, nullptr))
                windows.append(w);
    }
    // The active window first.
    std::stable_partition(windows.begin(), windows.end(),
                          [&](AtspiAccessible *w) { return hasState(w, pid, ATSPI_STATE_ACTIVE); });
    AtspiAccessible *found = nullptr;
    for (AtspiAccessible *window : std::as_const(windows)) {
        if (found || !admits(pid))
            break;
        // One query where the application can search itself.
        if (AtspiCollection *collection = iface(atspi_accessible_get_collection_iface, window, pid)) {
            bool answered = false;
            // Some toolkits leave the focused state on hidden objects (a tab
            // behind another): the focused object showing on screen first.
            for (const bool showing : {true, false}) {
                if (found || !admits(pid))
                    break;
                AtspiStateSet *wanted = atspi_state_set_new(nullptr);
                atspi_state_set_add(wanted, ATSPI_STATE_FOCUSED);
                if (showing)
                    atspi_state_set_add(wanted, ATSPI_STATE_SHOWING);
                AtspiMatchRule *rule = atspi_match_rule_new(wanted, ATSPI_Collection_MATCH_ALL, nullptr,
                                                            ATSPI_Collection_MATCH_ALL, nullptr,
                                                            ATSPI_Collection_MATCH_ALL, nullptr,
                                                            ATSPI_Collection_MATCH_ALL, FALSE);
                GArray *matches = nullptr;
                {
                    Call call(*this, pid);
                    matches = atspi_collection_get_matches(collection, rule, ATSPI_Collection_SORT_ORDER_CANONICAL, 1,
                                                           TRUE, call.error());
                }
                if (matches) {
                    answered = true;
                    if (matches->len > 0)
                        found = static_cast<AtspiAccessible *>(
                            g_object_ref(g_array_index(matches, AtspiAccessible *, 0)));
                    for (guint i = 0; i < matches->len; ++i)
                        g_object_unref(g_array_index(matches, AtspiAccessible *, i));
                    g_array_free(matches, TRUE);
                }
                g_object_unref(rule);
                g_object_unref(wanted);
            }
            g_object_unref(collection);
            if (found || answered)
                continue;
        }
        // Otherwise a bounded walk of the window.
        QList<QPair<AtspiAccessible *, int>> queue{{static_cast<AtspiAccessible *>(g_object_ref(window)), 0}};
        int visited = 0;
        while (!queue.isEmpty()) {
            auto [node, depth] = queue.takeFirst();
            const auto bits = (found || visited >= kMaxWalkNodes || !admits(pid)) ? std::nullopt : states(node, pid);
            ++visited;
            if (bits && (*bits & (quint64(1) << ATSPI_STATE_FOCUSED))) {
                found = node;
                continue;
            }
            const bool descend = bits && depth < kMaxWalkDepth && (*bits & (quint64(1) << ATSPI_STATE_SHOWING))
                && !(*bits & (quint64(1) << ATSPI_STATE_MANAGES_DESCENDANTS));
            if (descend) {
                Call call(*this, pid);
                const int count = atspi_accessible_get_child_count(node, call.error());
                for (int i = 0; i < count && i < kMaxChildrenPerNode && !call.failed(); ++i)
                    if (AtspiAccessible *child = atspi_accessible_get_child_at_index(node, i, nullptr))
                        queue.append({child, depth + 1});
            }
            g_object_unref(node);
        }
    }
    for (AtspiAccessible *w : std::as_const(windows))
        g_object_unref(w);
    return found;
}

Element AtspiAccessibility::systemFocusedElement()
{
    const qint64 pid = m_workspace.frontmostPid();
    if (!admits(pid))
        return {};
    if (m_focused && m_focusedPid == pid) {
        // A focus event may name an object that is gone by now (a popup of
        // word completions): look for the focus again.
        const auto bits = states(m_focused, pid);
        if (!bits || (*bits & (quint64(1) << ATSPI_STATE_DEFUNCT))
            || !(*bits & (quint64(1) << ATSPI_STATE_SHOWING)))
            clearFocusCache();
    }
    if (!m_focused || m_focusedPid != pid) {
        AtspiAccessible *app = appForPid(pid);
        if (!app)
            return {};
        AtspiAccessible *focused = findFocused(app, pid);
        g_object_unref(app);
        if (!focused)
            return {};
        setFocusCache(focused, pid);
        g_object_unref(focused);
    }
    // What the focus stands in, worked out once per focus change.
    if (!m_promoted)
        m_promoted = promote(static_cast<AtspiAccessible *>(g_object_ref(m_focused)), pid);
    return wrap(static_cast<AtspiAccessible *>(g_object_ref(m_promoted)));
}

Element AtspiAccessibility::applicationElement(qint64 pid)
{
    return wrap(appForPid(pid));
}

AtspiAccessible *AtspiAccessibility::deepestAt(AtspiAccessible *root, qint64 pid, QPoint global)
{
    AtspiAccessible *current = static_cast<AtspiAccessible *>(g_object_ref(root));
    for (int depth = 0; depth < kMaxHitDepth && admits(pid); ++depth) {
        AtspiComponent *component = iface(atspi_accessible_get_component_iface, current, pid);
        if (!component)
            break;
        AtspiAccessible *child = nullptr;
        {
            Call call(*this, pid);
            child = atspi_component_get_accessible_at_point(component, global.x(), global.y(), ATSPI_COORD_TYPE_SCREEN,
                                                            call.error());
            if (call.failed() && child) {
                g_object_unref(child);
                child = nullptr;
            }
        }
        g_object_unref(component);
        if (!child || AtspiElementRef::same(child, current)) {
            if (child)
                g_object_unref(child);
            break;
        }
        g_object_unref(current);
        current = child;
    }
    return current;
}

Element AtspiAccessibility::elementAtPoint(QPoint global)
{
    const qint64 pid = m_workspace.pidOfWindowAt(global);
    if (!admits(pid))
        return {};
    AtspiAccessible *app = appForPid(pid);
    if (!app)
        return {};
    // The application's window that holds the point, the active one first.
    AtspiAccessible *window = nullptr;
    bool windowActive = false;
    {
        QList<AtspiAccessible *> windows;
        {
            Call call(*this, pid);
            const int count = atspi_accessible_get_child_count(app, call.error());
            for (int i = 0; i < count && i < kMaxChildrenPerNode && !call.failed(); ++i)
                if (AtspiAccessible *w = atspi_accessible_get_child_at_index(app, i, nullptr))
                    windows.append(w);
        }
        for (AtspiAccessible *w : std::as_const(windows)) {
            if (windowActive || !admits(pid))
                break;
            AtspiComponent *component = iface(atspi_accessible_get_component_iface, w, pid);
            if (!component)
                continue;
            AtspiRect *rect = nullptr;
            {
                Call call(*this, pid);
                rect = atspi_component_get_extents(component, ATSPI_COORD_TYPE_SCREEN, call.error());
                if (call.failed()) {
                    g_free(rect);
                    rect = nullptr;
                }
            }
            g_object_unref(component);
            if (!rect)
                continue;
            const bool inside = QRect(rect->x, rect->y, rect->width, rect->height).contains(global);
            g_free(rect);
            if (!inside)
                continue;
            const bool active = hasState(w, pid, ATSPI_STATE_ACTIVE);
            if (!window || active) {
                if (window)
                    g_object_unref(window);
                window = static_cast<AtspiAccessible *>(g_object_ref(w));
                windowActive = active;
            }
        }
        for (AtspiAccessible *w : std::as_const(windows))
            g_object_unref(w);
    }
    g_object_unref(app);
    if (!window)
        return {};
    AtspiAccessible *hit = deepestAt(window, pid, global);
    g_object_unref(window);
    // A browser's first hit test may stop at the whole document: ask again.
    if (hit && role(hit, pid) == ATSPI_ROLE_DOCUMENT_WEB) {
        AtspiAccessible *again = deepestAt(hit, pid, global);
        g_object_unref(hit);
        hit = again;
    }
    return wrap(promote(hit, pid));
}

// ---- text ------------------------------------------------------------------

Toolkit AtspiAccessibility::toolkitOf(qint64 pid)
{
    const auto it = m_toolkits.constFind(pid);
    if (it != m_toolkits.constEnd())
        return *it;
    AtspiAccessible *app = appForPid(pid);
    if (!app)
        return Toolkit::Unknown;
    gchar *name = nullptr;
    {
        Call call(*this, pid);
        name = atspi_accessible_get_toolkit_name(app, call.error());
        if (call.failed()) {
            g_free(name);
            name = nullptr;
        }
    }
    g_object_unref(app);
    if (!name)
        return Toolkit::Unknown; // not cached: ask again next time
    const QString n = QString::fromUtf8(name);
    g_free(name);
    const Toolkit toolkit = toolkits::fromName(n);
    m_toolkits.insert(pid, toolkit);
    m_toolkitNames.insert(pid, n);
    return toolkit;
}

std::optional<AtspiAccessibility::TextState> AtspiAccessibility::textState(AtspiAccessible *accessible, qint64 pid)
{
    if (!accessible || !admits(pid))
        return std::nullopt;
    AtspiText *text = iface(atspi_accessible_get_text_iface, accessible, pid);
    if (!text)
        return std::nullopt;
    std::optional<TextState> out;
    gint count = 0;
    gchar *utf8 = nullptr;
    {
        Call call(*this, pid);
        count = atspi_text_get_character_count(text, call.error());
        if (!call.failed())
            utf8 = atspi_text_get_text(text, 0, count, call.error());
        if (call.failed()) {
            // A failed call still hands back an empty string.
            g_free(utf8);
            utf8 = nullptr;
        }
    }
    g_object_unref(text);
    if (!utf8)
        return std::nullopt;
    TextState state;
    state.text = QString::fromUtf8(utf8);
    g_free(utf8);
    toolkitOf(pid);
    state.unit = offsets::resolve(state.text, count, m_toolkitNames.value(pid));
    out = state;
    return out;
}

std::optional<TextRange> AtspiAccessibility::ownSelection(AtspiText *text, AtspiAccessible *accessible, qint64 pid,
                                                           const TextState &state, Call &call)
{
    const gint n = atspi_text_get_n_selections(text, call.error());
    if (call.failed() || n <= 0)
        return std::nullopt;
    AtspiRange *r = atspi_text_get_selection(text, 0, call.error());
    if (!r || call.failed()) {
        g_free(r);
        return std::nullopt;
    }
    const gint start = std::min(r->start_offset, r->end_offset);
    const gint end = std::max(r->start_offset, r->end_offset);
    g_free(r);
    if (toolkitOf(pid) != Toolkit::Chromium || state.text.size() == text::codePointCount(state.text)) {
        const qint64 a = offsets::toUtf16(state.text, start, state.unit);
        return TextRange{a, offsets::toUtf16(state.text, end, state.unit) - a};
    }
    // Chromium miscounts its selection report around astral characters;
    // its caret, which is the selection's moving end, it counts right.
    const gint caret = atspi_text_get_caret_offset(text, call.error());
    if (call.failed() || caret < 0)
        return std::nullopt;
    std::optional<std::pair<qint64, qint64>> written;
    if (m_written && m_written->text == state.text && AtspiElementRef::same(m_written->accessible.get(), accessible))
        written = std::pair{m_written->range.location, m_written->range.end()};
    const auto range = offsets::reportedSelection(state.text, start, end,
                                                  offsets::toUtf16(state.text, caret, state.unit), state.unit, written);
    if (!range)
        return std::nullopt;
    return TextRange{range->first, range->second - range->first};
}

std::optional<TextRange> AtspiAccessibility::selectedRange(AtspiAccessible *accessible, qint64 pid,
                                                           const TextState &state)
{
    if (!admits(pid))
        return std::nullopt;
    AtspiText *text = iface(atspi_accessible_get_text_iface, accessible, pid);
    if (!text)
        return std::nullopt;
    std::optional<TextRange> out;
    {
        Call call(*this, pid);
        out = ownSelection(text, accessible, pid, state, call);
        if (!out && !call.failed()) {
            const gint caret = atspi_text_get_caret_offset(text, call.error());
            if (!call.failed() && caret >= 0)
                out = TextRange{offsets::toUtf16(state.text, caret, state.unit), 0};
        }
    }
    g_object_unref(text);
    return out;
}

bool AtspiAccessibility::writeRange(AtspiAccessible *accessible, qint64 pid, const TextRange &range)
{
    if (range.location < 0 || range.length < 0)
        return false;
    const auto state = textState(accessible, pid);
    if (!state)
        return false;
    const auto start = offsets::fromUtf16(state->text, range.location, state->unit);
    const auto end = offsets::fromUtf16(state->text, range.end(), state->unit);
    if (!start || !end)
        return false; // inside a surrogate pair: some editors would split the character
    AtspiText *text = iface(atspi_accessible_get_text_iface, accessible, pid);
    if (!text)
        return false;
    bool ok = false;
    {
        Call call(*this, pid);
        if (range.length == 0) {
            // The selection goes before the caret is set: a browser applies
            // both late and in order, and a removal applied after the caret
            // write collapses to the old selection's end instead.
            if (atspi_text_get_n_selections(text, nullptr) > 0)
                atspi_text_remove_selection(text, 0, nullptr);
            ok = atspi_text_set_caret_offset(text, gint(*start), call.error());
        } else {
            ok = atspi_text_set_selection(text, 0, gint(*start), gint(*end), call.error());
            if (!ok && !call.failed())
                ok = atspi_text_add_selection(text, gint(*start), gint(*end), call.error());
        }
        ok = ok && !call.failed();
    }
    g_object_unref(text);
    // What Chromium cannot report back is judged against what was written.
    m_written.reset();
    if (ok && range.length > 0 && toolkitOf(pid) == Toolkit::Chromium)
        m_written = WrittenRange{std::shared_ptr<AtspiAccessible>(static_cast<AtspiAccessible *>(g_object_ref(accessible)),
                                                                  g_object_unref),
                                 state->text, range};
    return ok;
}

// ---- attributes ------------------------------------------------------------

std::optional<QVariant> AtspiAccessibility::readAttribute(AtspiAccessible *a, qint64 pid, Attribute attribute)
{
    // A string the bus hands over for us to free; a failed call gives none.
    auto ownedString = [&](gchar *(*fetch)(AtspiAccessible *, GError **)) -> std::optional<QVariant> {
        Call call(*this, pid);
        gchar *text = fetch(a, call.error());
        if (!text || call.failed()) {
            g_free(text);
            return std::nullopt;
        }
        const QString s = QString::fromUtf8(text);
        g_free(text);
        return QVariant(s);
    };
    switch (attribute) {
    case Attribute::Role: {
        const auto r = role(a, pid);
        if (!r)
            return std::nullopt;
        gchar *name = nullptr;
        {
            Call call(*this, pid);
            name = atspi_accessible_get_role_name(a, call.error());
            if (call.failed()) {
                g_free(name);
                return std::nullopt;
            }
        }
        const QString busName = name ? QString::fromUtf8(name) : QString();
        g_free(name);
        const bool multi = hasState(a, pid, ATSPI_STATE_MULTI_LINE);
        return QVariant(roles::roleFor(*r, multi, busName));
    }
    case Attribute::Subrole:
        return std::nullopt;
    case Attribute::Title:
        return ownedString(atspi_accessible_get_name);
    case Attribute::RoleDescription:
        // The bus's own role name, never the localised one.
        return ownedString(atspi_accessible_get_role_name);
    case Attribute::DomRole: {
        GHashTable *attrs = nullptr;
        {
            Call call(*this, pid);
            attrs = atspi_accessible_get_attributes(a, call.error());
        }
        if (!attrs)
            return std::nullopt;
        std::optional<QVariant> out;
        for (const char *key : {"xml-roles", "tag"}) {
            if (const auto *v = static_cast<const gchar *>(g_hash_table_lookup(attrs, key))) {
                out = QVariant(QString::fromUtf8(v));
                break;
            }
        }
        g_hash_table_unref(attrs);
        return out;
    }
    case Attribute::Enabled:
    case Attribute::Editable:
    case Attribute::Focused: {
        const auto bits = states(a, pid);
        if (!bits)
            return std::nullopt;
        const int state = attribute == Attribute::Enabled    ? ATSPI_STATE_ENABLED
                          : attribute == Attribute::Editable ? ATSPI_STATE_EDITABLE
                                                             : ATSPI_STATE_FOCUSED;
        return QVariant(bool(*bits & (quint64(1) << state)));
    }
    case Attribute::Value: {
        const auto state = textState(a, pid);
        if (!state)
            return std::nullopt;
        return QVariant(state->text);
    }
    case Attribute::NumberOfCharacters: {
        const auto state = textState(a, pid);
        if (!state)
            return std::nullopt;
        return QVariant(qint64(state->text.size()));
    }
    case Attribute::SelectedTextRange:
    case Attribute::SelectedText: {
        const auto state = textState(a, pid);
        if (!state)
            return std::nullopt;
        const auto range = selectedRange(a, pid, *state);
        if (!range)
            return std::nullopt;
        if (attribute == Attribute::SelectedTextRange)
            return QVariant::fromValue(*range);
        return QVariant(state->text.mid(range->location, range->length));
    }
    case Attribute::Parent: {
        if (!admits(pid))
            return std::nullopt;
        AtspiAccessible *parent = nullptr;
        {
            Call call(*this, pid);
            parent = atspi_accessible_get_parent(a, call.error());
            if (call.failed() && parent) {
                g_object_unref(parent);
                parent = nullptr;
            }
        }
        const Element e = wrap(parent);
        if (e.isNull())
            return std::nullopt;
        return QVariant::fromValue(e);
    }
    case Attribute::Children: {
        if (!admits(pid))
            return std::nullopt;
        QList<Element> children;
        {
            Call call(*this, pid);
            const int count = atspi_accessible_get_child_count(a, call.error());
            if (call.failed())
                return std::nullopt;
            for (int i = 0; i < count && i < kMaxChildrenPerNode && !call.failed(); ++i)
                if (AtspiAccessible *child = atspi_accessible_get_child_at_index(a, i, nullptr))
                    children.append(Element(std::make_shared<AtspiElementRef>(child, pid)));
        }
        return QVariant::fromValue(children);
    }
    case Attribute::MultiLine: {
        // Toolkits set one of the two states on their text boxes; anything
        // else says nothing either way.
        const auto bits = states(a, pid);
        if (!bits)
            return std::nullopt;
        if (*bits & (quint64(1) << ATSPI_STATE_MULTI_LINE))
            return QVariant(true);
        if (*bits & (quint64(1) << ATSPI_STATE_SINGLE_LINE))
            return QVariant(false);
        return std::nullopt;
    }
    case Attribute::FocusedElement: {
        if (m_focused && m_focusedPid == pid)
            return QVariant::fromValue(wrap(promote(static_cast<AtspiAccessible *>(g_object_ref(m_focused)), pid)));
        AtspiAccessible *focused = findFocused(a, pid);
        if (!focused)
            return std::nullopt;
        return QVariant::fromValue(wrap(promote(focused, pid)));
    }
    case Attribute::TextIsWhole:
        return std::nullopt; // answered with the document, in read()
    }
    return std::nullopt;
}

std::optional<QVariant> AtspiAccessibility::read(const Element &element, Attribute attribute)
{
    AtspiAccessible *a = unwrap(element);
    if (!a || !admits(element.pid()))
        return std::nullopt;
    std::optional<QVariant> value;
    switch (attribute) {
    case Attribute::Value:
    case Attribute::NumberOfCharacters:
    case Attribute::SelectedTextRange:
    case Attribute::SelectedText:
    case Attribute::TextIsWhole:
        // A document made of parts answers as one text.
        if (const std::optional<Document> document = documentOf(a, element.pid())) {
            value = readDocument(*document, element.pid(), attribute);
        } else if (attribute == Attribute::TextIsWhole) {
            if (const std::optional<bool> whole = textIsWhole(a, element.pid()))
                value = QVariant(*whole);
        } else {
            value = readAttribute(a, element.pid(), attribute);
        }
        break;
    default:
        value = readAttribute(a, element.pid(), attribute);
        break;
    }
    if (!processExists(element.pid()))
        return std::nullopt; // it went away while we asked
    return value;
}

std::optional<bool> AtspiAccessibility::isSettable(const Element &element, Attribute attribute)
{
    AtspiAccessible *a = unwrap(element);
    const qint64 pid = element.pid();
    if (!a || !admits(pid))
        return std::nullopt;
    switch (attribute) {
    case Attribute::SelectedTextRange:
        // A word processor's document has no text of its own; its parts do.
        return hasText(a, pid) || role(a, pid) == ATSPI_ROLE_DOCUMENT_TEXT;
    case Attribute::Value: {
        AtspiEditableText *editable = iface(atspi_accessible_get_editable_text_iface, a, pid);
        if (editable)
            g_object_unref(editable);
        return editable != nullptr && hasState(a, pid, ATSPI_STATE_EDITABLE);
    }
    case Attribute::Focused: {
        const auto bits = states(a, pid);
        if (!bits)
            return std::nullopt;
        return bool(*bits & (quint64(1) << ATSPI_STATE_FOCUSABLE));
    }
    default:
        return false;
    }
}

bool AtspiAccessibility::write(const Element &element, Attribute attribute, const QVariant &value)
{
    AtspiAccessible *a = unwrap(element);
    const qint64 pid = element.pid();
    if (!a || !admits(pid))
        return false;
    if (attribute == Attribute::SelectedTextRange && value.canConvert<TextRange>()) {
        if (const std::optional<Document> document = documentOf(a, pid))
            return writeDocumentRange(*document, pid, value.value<TextRange>());
        return writeRange(a, pid, value.value<TextRange>());
    }
    if (attribute == Attribute::Focused && value.toBool()) {
        // A word processor's document is focused through its paragraphs:
        // asking the document itself may move its cursor.
        if (const std::optional<Document> document = documentOf(a, pid); document && !hasText(a, pid))
            return focusDocument(*document, pid);
        return grabFocus(a, pid);
    }
    return false;
}

bool AtspiAccessibility::grabFocus(AtspiAccessible *accessible, qint64 pid)
{
    AtspiComponent *component = iface(atspi_accessible_get_component_iface, accessible, pid);
    if (!component)
        return false;
    bool ok = false;
    {
        Call call(*this, pid);
        ok = atspi_component_grab_focus(component, call.error()) && !call.failed();
    }
    g_object_unref(component);
    return ok;
}

QCoro::Task<bool> AtspiAccessibility::writeAndConfirm(const Element &element, Attribute attribute,
                                                      const QVariant &value)
{
    if (!write(element, attribute, value))
        co_return false;
    std::weak_ptr<bool> alive = m_alive;
    Scheduler &scheduler = m_scheduler;
    const double deadline = scheduler.nowMs() + kConfirmWindowMs;
    while (true) {
        if (alive.expired())
            co_return false;
        const auto now = read(element, attribute == Attribute::SelectedTextRange ? Attribute::SelectedTextRange
                                                                                  : Attribute::Focused);
        if (now) {
            if (attribute == Attribute::Focused && now->toBool())
                co_return true;
            if (attribute == Attribute::SelectedTextRange) {
                const TextRange wanted = value.value<TextRange>();
                const TextRange got = now->value<TextRange>();
                // Applications clamp a range that runs past the end.
                const qint64 length = read(element, Attribute::NumberOfCharacters).value_or(QVariant(qint64(0))).toLongLong();
                const qint64 from = std::min(wanted.location, length);
                const qint64 to = std::min(wanted.end(), length);
                if (got == TextRange{from, to - from})
                    co_return true;
            }
        }
        if (scheduler.nowMs() >= deadline)
            co_return false;
        co_await scheduler.sleep(kConfirmPollMs);
    }
}

bool AtspiAccessibility::isTerminal(const Element &element)
{
    AtspiAccessible *a = unwrap(element);
    return a && role(a, element.pid()) == ATSPI_ROLE_TERMINAL;
}

} // namespace qv::linuxdesktop
