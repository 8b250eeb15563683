#include "engine/CarriedIndent.h"

#include "core/Scheduler.h"
#include "engine/TypingEngine.h"

namespace qv::engine {

CarriedIndent::CarriedIndent(TypingEngine &engine) : m_engine(engine) {}

std::optional<QString> CarriedIndent::carried(const QString &before, qint64 caret, const QString &now)
{
    if (caret < 0 || caret > before.size())
        return std::nullopt;
    const qint64 expected = before.size() + 1;
    const qint64 extra = now.size() - expected;
    if (extra <= 0)
        return std::nullopt;
    const QStringView head = QStringView(before).left(caret);
    const QStringView tail = QStringView(before).mid(caret);
    if (!QStringView(now).startsWith(head) || now.at(caret) != QLatin1Char('\n') || !QStringView(now).endsWith(tail))
        return std::nullopt;
    const QString added = now.mid(caret + 1, extra);
    for (const QChar c : added)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t'))
            return std::nullopt;
    return added;
}

QCoro::Task<> CarriedIndent::before()
{
    m_before.reset();
    ElementAccess &elements = m_engine.elements();
    // Keys still on their way would land after this read and be taken for
    // what the application added.
    co_await elements.waitForKeysTaken({});
    const std::optional<QString> text = elements.readFocusedText();
    const std::optional<platform::TextRange> range = elements.selectedTextRange();
    if (!text || !range || range->length != 0)
        co_return;
    m_before = text;
    m_caret = range->location;
}

QCoro::Task<std::optional<QString>> CarriedIndent::changedFrom(QString from)
{
    ElementAccess &elements = m_engine.elements();
    for (double waited = 0;; waited += kPollMs) {
        const std::optional<QString> now = elements.readFocusedText();
        if (!now)
            co_return std::nullopt;
        if (*now != from)
            co_return now;
        if (waited >= kLandMs)
            co_return std::nullopt;
        co_await m_engine.scheduler().sleep(kPollMs);
    }
}

QCoro::Task<> CarriedIndent::after()
{
    if (!m_before)
        co_return;
    const QString before = *m_before;
    const qint64 caret = m_caret;
    m_before.reset();
    std::optional<QString> now = co_await changedFrom(before);
    if (!now)
        co_return;
    const std::optional<QString> added = carried(before, caret, *now);
    if (!added)
        co_return;
    // Each press takes one space or one step of indentation: read back after
    // each, never more presses than the units added.
    const QString wanted = before.left(caret) + QLatin1Char('\n') + before.mid(caret);
    for (qsizetype press = 0; press < added->size() && *now != wanted; ++press) {
        if (co_await m_engine.keys().sendKey(SpecialKey::Delete) != KeySent::Posted)
            co_return;
        now = co_await changedFrom(*now);
        if (!now || (*now != wanted && !carried(before, caret, *now)))
            break;
    }
    if (now && *now == wanted)
        m_engine.debug(
            QStringLiteral("lineBreak: took out %1 units of indentation the application carried").arg(added->size()));
    else
        m_engine.debug(QStringLiteral("lineBreak: the indentation the application carried is still there"));
}

} // namespace qv::engine
