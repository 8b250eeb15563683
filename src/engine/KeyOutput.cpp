#include "engine/KeyOutput.h"

#include "core/Random.h"
#include "core/Scheduler.h"
#include "core/Text.h"
#include "platform/Keyboard.h"

#include <algorithm>

namespace qv::engine {

using platform::Key;
using platform::Shortcut;

KeyOutput::KeyOutput(platform::Keyboard &keyboard, Scheduler &scheduler, Random &random)
    : m_keyboard(keyboard), m_scheduler(scheduler), m_random(random)
{
}

bool KeyOutput::lineMayCarryIndent() const
{
    if (m_lineStart.isEmpty())
        return m_lastLineIndented;
    return m_lineStart == QLatin1String(" ") || m_lineStart == QLatin1String("\t");
}

void KeyOutput::typingAfter(QStringView before)
{
    const auto indented = [](QStringView line) {
        return line.startsWith(QLatin1Char(' ')) || line.startsWith(QLatin1Char('\t'));
    };
    qsizetype end = before.size();
    qsizetype start = before.lastIndexOf(QLatin1Char('\n')) + 1;
    m_lineStart = before.mid(start, 1).toString();
    // As typing left it: whether the last line with text, before this one,
    // began with white space.
    m_lastLineIndented = false;
    while (start > 0) {
        end = start - 1;
        start = before.left(end).lastIndexOf(QLatin1Char('\n')) + 1;
        const QStringView line = before.mid(start, end - start);
        if (!line.isEmpty()) {
            m_lastLineIndented = indented(line);
            break;
        }
    }
}

void KeyOutput::noteTyped(const QString &grapheme)
{
    if (grapheme == QLatin1String("\n")) {
        if (!m_lineStart.isEmpty())
            m_lastLineIndented = lineMayCarryIndent();
        m_lineStart.clear();
    } else if (m_lineStart.isEmpty()) {
        m_lineStart = grapheme;
    }
}

QCoro::Task<KeySent> KeyOutput::sendKey(SpecialKey key)
{
    const bool textKey = key == SpecialKey::ReturnKey || key == SpecialKey::Tab;
    if (m_gate) {
        const KeySent admitted = co_await m_gate->admit(textKey ? std::optional(key) : std::nullopt);
        if (admitted != KeySent::Posted)
            co_return admitted;
    }
    LineBreakWatch *watch = key == SpecialKey::ReturnKey && lineMayCarryIndent() ? m_lineBreakWatch : nullptr;
    if (watch)
        co_await watch->before();
    co_await press(key);
    KeySent sent = KeySent::Posted;
    if (m_gate && textKey)
        sent = co_await m_gate->posted(key);
    if (sent == KeySent::Posted && textKey)
        noteTyped(key == SpecialKey::Tab ? QStringLiteral("\t") : QStringLiteral("\n"));
    if (watch && sent == KeySent::Posted)
        co_await watch->after();
    co_return sent;
}

QCoro::Task<> KeyOutput::press(SpecialKey key)
{
    switch (key) {
    case SpecialKey::Delete:
        co_await m_keyboard.press(Key::Backspace);
        break;
    case SpecialKey::ReturnKey:
        co_await m_keyboard.press(Key::Return);
        break;
    case SpecialKey::Tab:
        co_await m_keyboard.press(Key::Tab);
        break;
    case SpecialKey::Left:
        co_await m_keyboard.press(Key::Left);
        break;
    case SpecialKey::Right:
        co_await m_keyboard.press(Key::Right);
        break;
    case SpecialKey::Up:
        co_await m_keyboard.press(Key::Up);
        break;
    case SpecialKey::Down:
        co_await m_keyboard.press(Key::Down);
        break;
    case SpecialKey::A:
        co_await m_keyboard.typeGrapheme(QStringLiteral("a"));
        break;
    case SpecialKey::C:
        co_await m_keyboard.typeGrapheme(QStringLiteral("c"));
        break;
    case SpecialKey::V:
        co_await m_keyboard.typeGrapheme(QStringLiteral("v"));
        break;
    }
}

QCoro::Task<KeySent> KeyOutput::sendKey(QString grapheme)
{
    if (grapheme == QLatin1String("\n"))
        co_return co_await sendKey(SpecialKey::ReturnKey);
    if (grapheme == QLatin1String("\t"))
        co_return co_await sendKey(SpecialKey::Tab);
    if (m_gate) {
        const KeySent admitted = co_await m_gate->admit(std::nullopt);
        if (admitted != KeySent::Posted)
            co_return admitted;
    }
    const bool joined = grapheme.size() > 2 && grapheme.contains(QChar(0x200D));
    ClusterWatch *watch = joined ? m_clusterWatch : nullptr;
    if (watch)
        co_await watch->before();
    co_await m_keyboard.typeGrapheme(grapheme);
    noteTyped(grapheme);
    if (watch)
        co_await watch->after(grapheme);
    co_return KeySent::Posted;
}

QCoro::Task<KeySent> KeyOutput::sendCommandShortcut(SpecialKey key)
{
    if (key != SpecialKey::A && key != SpecialKey::C && key != SpecialKey::V)
        co_return KeySent::Posted;
    if (m_gate) {
        const KeySent admitted = co_await m_gate->admit(std::nullopt);
        if (admitted != KeySent::Posted)
            co_return admitted;
    }
    co_await m_keyboard.shortcut(key == SpecialKey::A   ? Shortcut::SelectAll
                                 : key == SpecialKey::C ? Shortcut::Copy
                                                        : Shortcut::Paste);
    co_return KeySent::Posted;
}

QCoro::Task<> KeyOutput::backspaceChars(QString stretch, StopFlag stopFlag)
{
    const int presses = stretch.isEmpty() ? 0 : backspacePresses(stretch);
    for (int i = 0; i < presses; ++i) {
        if (stopFlag && stopFlag())
            co_return;
        if (co_await sendKey(SpecialKey::Delete) == KeySent::Held)
            co_return;
        co_await m_scheduler.sleep(kBackspaceSpacingMs);
    }
}

QCoro::Task<> KeyOutput::sleepWithStop(double ms, StopFlag stopFlag)
{
    double remaining = ms;
    while (remaining > 0) { // false for NaN as well
        if (stopFlag && stopFlag())
            co_return;
        const double slice = std::min(remaining, kStopSliceMs);
        co_await m_scheduler.sleep(slice);
        remaining -= slice;
    }
}

QCoro::Task<> KeyOutput::retypeText(QString text, StopFlag stopFlag)
{
    const QStringList clusters = text::graphemes(text);
    for (const QString &cluster : clusters) {
        if (stopFlag && stopFlag())
            co_return;
        if (co_await sendKey(cluster) == KeySent::Held)
            co_return;
        co_await m_scheduler.sleep(m_random.uniformReal(30, 70));
    }
}

int KeyOutput::backspacePresses(const QString &stretch)
{
    return stretch.isEmpty() ? 0 : std::max(m_keyboard.backspacePresses(stretch), 0);
}

int KeyOutput::arrowPresses(const QString &stretch)
{
    return stretch.isEmpty() ? 0 : std::max(m_keyboard.arrowPresses(stretch), 0);
}

} // namespace qv::engine
