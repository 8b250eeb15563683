#include "platform/sim/SimKeyboard.h"

#include "core/Scheduler.h"
#include "core/Text.h"
#include "platform/sim/SimDesktop.h"

#include <algorithm>
#include <memory>

namespace qv::sim {

using platform::Key;
using platform::Shortcut;

SimKeyboard::SimKeyboard(SimDesktop &desktop) : m_desktop(desktop) {}

QCoro::Task<> SimKeyboard::prepare(const QString &text)
{
    m_desktop.log().calls.push_back({m_desktop.scheduler().nowNs(), QStringLiteral("prepare"), text});
    co_return;
}

QCoro::Task<> SimKeyboard::typeGrapheme(const QString &grapheme)
{
    KeyEvent event;
    event.kind = KeyEvent::Kind::Grapheme;
    event.text = grapheme;
    co_await send(std::move(event));
}

QCoro::Task<> SimKeyboard::press(Key key)
{
    KeyEvent event;
    event.kind = KeyEvent::Kind::Key;
    event.key = key;
    co_await send(std::move(event));
}

QCoro::Task<> SimKeyboard::shortcut(Shortcut shortcut)
{
    KeyEvent event;
    event.kind = KeyEvent::Kind::Shortcut;
    event.shortcut = shortcut;
    co_await send(std::move(event));
}

void SimKeyboard::finish()
{
    m_desktop.log().calls.push_back({m_desktop.scheduler().nowNs(), QStringLiteral("finish"), {}});
}

void SimKeyboard::releaseAll()
{
    m_desktop.log().calls.push_back({m_desktop.scheduler().nowNs(), QStringLiteral("releaseAll"), {}});
}

int SimKeyboard::backspacePresses(const QString &stretch)
{
    BackspaceUnit unit = BackspaceUnit::Grapheme;
    if (SimApp *front = m_desktop.frontmost()) {
        SimElement *focused = front->focusedElement();
        if (focused && focused->holdsText())
            unit = focused->quirks().backspaceUnit;
    }
    return unit == BackspaceUnit::Grapheme ? text::graphemeCount(stretch) : text::codePointCount(stretch);
}

int SimKeyboard::arrowPresses(const QString &stretch) { return text::graphemeCount(stretch); }

QCoro::Task<> SimKeyboard::send(KeyEvent event)
{
    event.sentNs = m_desktop.scheduler().nowNs();
    if (m_latencyMs > 0)
        co_await m_desktop.scheduler().sleep(m_latencyMs);
    if (m_deliveryDelayMs > 0) {
        m_desktop.schedule(m_deliveryDelayMs, [this, event] { land(event); });
        co_return;
    }
    land(std::move(event));
}

void SimKeyboard::land(KeyEvent event)
{
    event.timeNs = m_desktop.scheduler().nowNs();
    // Without the input permission synthetic keys reach nobody.
    SimApp *front = m_desktop.simPermissions().inputSynthesisReady() ? m_desktop.frontmost() : nullptr;
    SimElement *target = front ? front->focusedElement() : nullptr;
    event.pid = front ? front->pid() : 0;
    event.target = target ? target->element() : platform::Element();
    event.inTextField = target && target->holdsText();
    if (front && front->isHung()) {
        // The application takes the key when it recovers, wherever its focus is then.
        event.queued = true;
        m_desktop.log().keys.push_back(event);
        front->pendingKeys().push_back([this, front, event] { apply(event, front->focusedElement()); });
        return;
    }
    m_desktop.log().keys.push_back(event);
    const bool arrow = event.kind == KeyEvent::Kind::Key && (event.key == Key::Left || event.key == Key::Right);
    const double cost = arrow && target && target->holdsText() ? target->quirks().arrowCostMs : 0;
    if (cost > 0 || m_busyUntilNs > event.timeNs) {
        // Busy with earlier arrows: this key waits its turn, in order.
        const qint64 start = std::max(event.timeNs, m_busyUntilNs);
        m_busyUntilNs = start + Scheduler::msToNs(cost);
        std::weak_ptr<SimElement> weak = target ? target->weak_from_this() : std::weak_ptr<SimElement>();
        m_desktop.scheduleAtNs(m_busyUntilNs, [this, event, weak] {
            if (auto t = weak.lock())
                apply(event, t.get());
        });
        return;
    }
    apply(event, target);
}

void SimKeyboard::apply(const KeyEvent &event, SimElement *target)
{
    if (!target || !target->isLive())
        return;
    EditState &edit = target->editState();
    const FieldQuirks &quirks = target->quirks();
    const bool text = target->holdsText();
    if (m_pendingBackspace) {
        m_pendingBackspace.reset();
        return;
    }

    Key key = Key::Return;
    switch (event.kind) {
    case KeyEvent::Kind::Grapheme:
        if (event.text == QStringLiteral("\n")) {
            key = Key::Return;
            break;
        }
        if (event.text == QStringLiteral("\t")) {
            key = Key::Tab;
            break;
        }
        if (text && quirks.typedBufferedMs > 0) {
            if (m_typedBuffer.isEmpty()) {
                const quint64 generation = ++m_bufferGeneration;
                std::weak_ptr<SimElement> weak = target->weak_from_this();
                m_desktop.schedule(quirks.typedBufferedMs, [this, weak, generation] {
                    if (auto t = weak.lock(); t && generation == m_bufferGeneration)
                        flushTyped(*t);
                });
            }
            m_typedBuffer += event.text;
        } else if (text) {
            const QString before = edit.text.left(editing::clampRange(edit.selection, edit.text.size()).location);
            const QString typed = joinedAsKeys(event.text, quirks.joinedKeys);
            insert(*target, quirks.transform ? quirks.transform(before, typed) : typed);
        }
        return;
    case KeyEvent::Kind::Shortcut:
        // Terminals read these chords as control characters, not as editing commands.
        if (!text || target->isTerminal())
            return;
        if (event.shortcut == Shortcut::SelectAll) {
            editing::selectAll(edit);
        } else if (event.shortcut == Shortcut::Paste) {
            // A paste is not typing: the box's rewrites of typed keys do not apply.
            if (const std::optional<QString> pasted = m_desktop.simPasteboard().peekPlainText())
                insert(*target, *pasted);
        } else if (!quirks.copyCopiesNothing && target->role() != platform::Roles::SecureTextField
                   && edit.selection.length > 0) {
            const QString copied = editing::selectedText(edit);
            m_desktop.simPasteboard().putText(copied, ClipboardEvent::Kind::AppCopy);
            if (quirks.copyAgainAfterMs > 0)
                m_desktop.schedule(quirks.copyAgainAfterMs, [this, copied] {
                    m_desktop.simPasteboard().putText(copied, ClipboardEvent::Kind::AppCopy);
                });
        }
        return;
    case KeyEvent::Kind::Key:
        key = event.key;
        break;
    }

    if (key == Key::Tab && (!text || target->tabBehaviour() == TabBehaviour::MoveFocus)) {
        moveFocusFrom(*target);
        return;
    }
    if (!text)
        return;
    flushTyped(*target); // other keys come after what was typed
    switch (key) {
    case Key::Backspace:
        if (quirks.backspaceHandledAfterMs > 0) {
            const quint64 id = ++m_backspaces;
            m_pendingBackspace = id;
            std::weak_ptr<SimElement> weak = target->weak_from_this();
            m_desktop.schedule(quirks.backspaceHandledAfterMs, [this, weak, id] {
                if (m_pendingBackspace != id)
                    return;
                m_pendingBackspace.reset();
                if (auto t = weak.lock())
                    editing::backspace(t->editState(), t->quirks().backspaceUnit);
            });
            break;
        }
        editing::backspace(edit, quirks.backspaceUnit);
        break;
    case Key::Return:
        // A one-line box has no line breaks: Return only activates it.
        if (target->isMultiLine())
            insert(*target, QStringLiteral("\n"));
        else if (quirks.submit)
            quirks.submit();
        break;
    case Key::Tab:
        insert(*target, QStringLiteral("\t"));
        break;
    case Key::Left:
        editing::moveLeft(edit);
        break;
    case Key::Right:
        editing::moveRight(edit);
        break;
    case Key::Up:
        editing::moveUp(edit, target->isMultiLine());
        break;
    case Key::Down:
        editing::moveDown(edit, target->isMultiLine());
        break;
    }
}

void SimKeyboard::flushTyped(SimElement &field)
{
    if (m_typedBuffer.isEmpty())
        return;
    const QString held = m_typedBuffer;
    m_typedBuffer.clear();
    ++m_bufferGeneration; // the pending flush has nothing left to do
    insert(field, held);
}

QString SimKeyboard::joinedAsKeys(const QString &cluster, JoinedKeys joinedKeys)
{
    constexpr QChar kJoiner(0x200D);
    if (joinedKeys == JoinedKeys::Kept || !cluster.contains(kJoiner) || cluster.size() < 2)
        return cluster;
    QString joiners;
    QString rest;
    for (const QChar unit : cluster)
        (unit == kJoiner ? joiners : rest) += unit;
    switch (joinedKeys) {
    case JoinedKeys::PartsLost:
        return joiners;
    case JoinedKeys::MovedApart:
        return rest + joiners;
    case JoinedKeys::AllLost:
    case JoinedKeys::Kept:
        break;
    }
    return {};
}

void SimKeyboard::insert(SimElement &field, const QString &text)
{
    editing::replaceSelection(field.editState(), text);
    if (field.quirks().afterInsert) {
        field.quirks().afterInsert(field.editState(), text);
        // Whatever the hook did, the selection stays inside the text.
        field.editState().selection = editing::clampRange(field.editState().selection, field.text().size());
    }
}

namespace {
void collectFocusable(SimElement &e, std::vector<SimElement *> &out)
{
    if (e.isFocusable())
        out.push_back(&e);
    for (const auto &c : e.children())
        collectFocusable(*c, out);
}
} // namespace

void SimKeyboard::moveFocusFrom(SimElement &field)
{
    SimElement *window = field.window();
    if (!window)
        return;
    std::vector<SimElement *> order;
    collectFocusable(*window, order);
    auto it = std::find(order.begin(), order.end(), &field);
    if (it == order.end() || order.size() < 2)
        return;
    SimElement *next = (it + 1 == order.end()) ? order.front() : *(it + 1);
    next->focus();
    // Tabbing into a text box selects its text, as toolkits do.
    if (next->holdsText())
        editing::selectAll(next->editState());
}

} // namespace qv::sim
