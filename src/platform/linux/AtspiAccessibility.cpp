// AT-SPI's GLib headers use "signals" as a name: they come before Qt's.
#include <atspi/atspi.h>

#include "platform/linux/AtspiAccessibility.h"

#include "core/Scheduler.h"
#include "platform/linux/AtspiCall.h"
#include "platform/linux/AtspiElementRef.h"
#include "platform/linux/AtspiRoles.h"
#include "platform/linux/SlowCalls.h"
#include "platform/linux/X11Workspace.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace qv::linuxdesktop {

using platform::Attribute;
using platform::Element;
using platform::TextRange;

namespace {

bool looksLikeTimeout(const GError *error)
{
    if (!error || !error->message)
        return false;
    const QByteArray m(error->message);
    return m.contains("NoReply") || m.contains("Did not receive a reply") || m.contains("Timeout")
           || m.contains("timed out");
}

} // namespace

AtspiAccessibility::AtspiAccessibility(Scheduler &scheduler, X11Workspace &workspace)
    : m_scheduler(scheduler), m_workspace(workspace), m_ownPid(qint64(::getpid()))
{
    const int init = atspi_init();
    m_ready = init == 0 || init == 1;
    if (!m_ready)
        return;
    atspi_set_timeout(kBusTimeoutMs, -1);
    registerListeners();
    QObject::connect(&m_workspace, &platform::Workspace::applicationActivated, &m_context,
                     [this](const platform::AppInfo &app) { notifyObservers(app.pid); });
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

bool AtspiAccessibility::isBackedOff(qint64 pid) const { return m_unresponsive.isBackedOff(pid, m_scheduler.nowNs()); }

void AtspiAccessibility::finishCall(qint64 pid, qint64 elapsedNs, const GError *error,
                                    const std::source_location &where)
{
    if (elapsedNs >= kSlowCallLogNs)
        reportSlowCall(elapsedNs, QStringLiteral("%1 (line %2) to pid %3")
                                      .arg(QString::fromLatin1(where.function_name()))
                                      .arg(where.line())
                                      .arg(pid));
    if ((isSlow(elapsedNs) || looksLikeTimeout(error)) && pid > 0)
        m_unresponsive.mark(pid, m_scheduler.nowNs());
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
    ErrorSlot error;
    const qint64 pid = qint64(atspi_accessible_get_process_id(accessible, error.out()));
    if (error)
        return 0;
    if (!bus.isEmpty() && pid > 0)
        m_pidByBus.insert(bus, pid);
    return pid;
}

Element AtspiAccessibility::wrap(Owned<AtspiAccessible> accessible)
{
    if (!accessible)
        return {};
    const qint64 pid = pidOf(accessible.get());
    if (pid <= 0 || pid == m_ownPid)
        return {};
    return Element(std::make_shared<AtspiElementRef>(std::move(accessible), pid));
}

AtspiAccessible *AtspiAccessibility::unwrap(const Element &element)
{
    const auto *ref = dynamic_cast<const AtspiElementRef *>(element.ref());
    return ref ? ref->accessible() : nullptr;
}

// ---- attributes ------------------------------------------------------------

std::optional<QVariant> AtspiAccessibility::readAttribute(AtspiAccessible *a, qint64 pid, Attribute attribute)
{
    // A string the bus hands over for us to free; a failed call gives none.
    auto ownedString = [&](gchar *(*fetch)(AtspiAccessible *, GError **)) -> std::optional<QVariant> {
        Call call(*this, pid);
        const OwnedString text = call.keep(OwnedString(fetch(a, call.error())));
        if (!text)
            return std::nullopt;
        return QVariant(QString::fromUtf8(text.get()));
    };
    switch (attribute) {
    case Attribute::Role: {
        const auto r = role(a, pid);
        if (!r)
            return std::nullopt;
        OwnedString name;
        {
            Call call(*this, pid);
            name.reset(atspi_accessible_get_role_name(a, call.error()));
            if (call.failed())
                return std::nullopt;
        }
        const QString busName = name ? QString::fromUtf8(name.get()) : QString();
        return QVariant(roles::roleFor(*r, lineKind(a, pid, *r), busName));
    }
    case Attribute::Subrole:
        return std::nullopt;
    case Attribute::Title:
        return ownedString(atspi_accessible_get_name);
    case Attribute::RoleDescription:
        // The bus's own role name, never the localised one.
        return ownedString(atspi_accessible_get_role_name);
    case Attribute::DomRole: {
        OwnedHashTable attrs;
        {
            Call call(*this, pid);
            attrs.reset(atspi_accessible_get_attributes(a, call.error()));
        }
        if (!attrs)
            return std::nullopt;
        for (const char *key : {"xml-roles", "tag"})
            if (const auto *v = static_cast<const gchar *>(g_hash_table_lookup(attrs.get(), key)))
                return QVariant(QString::fromUtf8(v));
        return std::nullopt;
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
        const Element e = wrap(parentOf(a, pid));
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
                if (Owned<AtspiAccessible> child{atspi_accessible_get_child_at_index(a, i, nullptr)})
                    children.append(Element(std::make_shared<AtspiElementRef>(std::move(child), pid)));
        }
        return QVariant::fromValue(children);
    }
    case Attribute::MultiLine: {
        const auto r = role(a, pid);
        if (!r)
            return std::nullopt;
        if (const std::optional<bool> multi = lineKind(a, pid, *r))
            return QVariant(*multi);
        return std::nullopt;
    }
    case Attribute::FocusedElement: {
        if (focusCacheHolds(pid))
            return QVariant::fromValue(wrap(promote(ref(m_focused.get()), pid)));
        Owned<AtspiAccessible> focused = findFocused(a, pid);
        if (!focused)
            return std::nullopt;
        return QVariant::fromValue(wrap(promote(std::move(focused), pid)));
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
    case Attribute::TextIsWhole: {
        // A document made of parts answers as one text.
        std::optional<int> caretAt;
        if (Document *document = documentOf(a, element.pid(), &caretAt)) {
            value = readDocument(*document, element.pid(), attribute, caretAt);
        } else if (attribute == Attribute::TextIsWhole) {
            if (const std::optional<bool> whole = textIsWhole(a, element.pid()))
                value = QVariant(*whole);
        } else {
            value = readAttribute(a, element.pid(), attribute);
        }
        break;
    }
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
        const bool editable = iface(atspi_accessible_get_editable_text_iface, a, pid) != nullptr;
        return editable && hasState(a, pid, ATSPI_STATE_EDITABLE);
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
        if (Document *document = documentOf(a, pid))
            return writeDocumentRange(*document, pid, value.value<TextRange>());
        return writeRange(a, pid, value.value<TextRange>());
    }
    if (attribute == Attribute::Focused && value.toBool()) {
        // A word processor's document is focused through its paragraphs:
        // asking the document itself may move its cursor.
        if (Document *document = documentOf(a, pid); document && !hasText(a, pid))
            return focusDocument(*document, pid);
        return grabFocus(a, pid);
    }
    return false;
}

bool AtspiAccessibility::grabFocus(AtspiAccessible *accessible, qint64 pid)
{
    const Owned<AtspiComponent> component = iface(atspi_accessible_get_component_iface, accessible, pid);
    if (!component)
        return false;
    Call call(*this, pid);
    return atspi_component_grab_focus(component.get(), call.error()) && !call.failed();
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
                const qint64 length =
                    read(element, Attribute::NumberOfCharacters).value_or(QVariant(qint64(0))).toLongLong();
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
