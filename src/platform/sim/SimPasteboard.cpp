#include "platform/sim/SimPasteboard.h"

#include "platform/sim/SimDesktop.h"

namespace qv::sim {

using platform::TypedData;

SimPasteboard::SimPasteboard(SimDesktop &desktop) : m_desktop(desktop) {}

void SimPasteboard::logged(ClipboardEvent::Kind kind)
{
    m_desktop.log().clipboard.push_back({m_desktop.scheduler().nowNs(), kind, m_changeCount});
}

QList<TypedData> SimPasteboard::items()
{
    logged(ClipboardEvent::Kind::ReadItems);
    return m_items;
}

TypedData SimPasteboard::peekDirectData() const
{
    // With items present, the clipboard as a whole offers its first item's types.
    return m_items.isEmpty() ? m_direct : m_items.front();
}

TypedData SimPasteboard::directData()
{
    logged(ClipboardEvent::Kind::ReadDirectData);
    return peekDirectData();
}

void SimPasteboard::clear()
{
    if (refused())
        return;
    m_items.clear();
    m_direct.clear();
    ++m_changeCount;
    logged(ClipboardEvent::Kind::Clear);
}

void SimPasteboard::writeItems(const QList<TypedData> &items)
{
    if (refused())
        return;
    m_items = items;
    m_direct.clear();
    ++m_changeCount;
    logged(ClipboardEvent::Kind::WriteItems);
}

void SimPasteboard::setDirectData(const QString &type, const QByteArray &data)
{
    if (refused())
        return;
    TypedData &into = m_items.isEmpty() ? m_direct : m_items.front();
    bool replaced = false;
    for (auto &pair : into) {
        if (pair.first == type) {
            pair.second = data;
            replaced = true;
            break;
        }
    }
    if (!replaced)
        into.append({type, data});
    ++m_changeCount;
    logged(ClipboardEvent::Kind::SetDirectData);
}

std::optional<QString> SimPasteboard::plainText()
{
    logged(ClipboardEvent::Kind::ReadPlainText);
    return peekPlainText();
}

std::optional<QString> SimPasteboard::peekPlainText() const
{
    const auto find = [](const TypedData &data) -> std::optional<QString> {
        for (const auto &pair : data) {
            if (pair.first == PlainTextType || pair.first == QStringLiteral("text/plain;charset=utf-8"))
                return QString::fromUtf8(pair.second);
        }
        return std::nullopt;
    };
    for (const TypedData &item : m_items) {
        if (auto text = find(item))
            return text;
    }
    return find(m_direct);
}

qint64 SimPasteboard::changeCount()
{
    logged(ClipboardEvent::Kind::ReadChangeCount);
    return m_changeCount;
}

QCoro::Task<platform::ClipboardContents> SimPasteboard::readContents()
{
    platform::ClipboardContents contents;
    contents.items = items();
    contents.direct = directData();
    if (m_readDelayMs <= 0 && m_unreadable.isEmpty())
        co_return contents;
    const qint64 changes = m_changeCount;
    const auto drop = [&](TypedData &data) {
        for (qsizetype i = data.size() - 1; i >= 0; --i)
            if (m_unreadable.contains(data.at(i).first))
                data.removeAt(i);
    };
    for (const auto &[type, bytes] : peekDirectData()) {
        co_await m_desktop.scheduler().sleep(m_readDelayMs);
        if (m_unreadable.contains(type))
            contents.unread << type + QStringLiteral(" (timed out)");
    }
    for (TypedData &item : contents.items)
        drop(item);
    drop(contents.direct);
    if (m_changeCount != changes)
        contents.unread << QStringLiteral("everything (the clipboard changed while it was read)");
    co_return contents;
}

void SimPasteboard::putText(const QString &text, ClipboardEvent::Kind kind)
{
    putItems({TypedData{{PlainTextType, text.toUtf8()}}}, kind);
}

void SimPasteboard::putItems(const QList<TypedData> &items, ClipboardEvent::Kind kind)
{
    m_items = items;
    m_direct.clear();
    ++m_changeCount;
    logged(kind);
}

} // namespace qv::sim
