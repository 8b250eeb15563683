#pragma once

#include "platform/Pasteboard.h"
#include "platform/sim/SimLog.h"

#include <QStringList>

namespace qv::sim {

class SimDesktop;

// The simulated clipboard: items with ordered representations, plus
// clipboard-level data. While there are items, the clipboard-level types are
// the first item's (and setDirectData writes into it); without items, the
// clipboard-level data stands alone, as when an owner sets types on the
// clipboard itself. Bytes are kept exactly; every change and every read of
// the program is logged.
class SimPasteboard final : public platform::Pasteboard {
public:
    explicit SimPasteboard(SimDesktop &desktop);

    QList<platform::TypedData> items() override;
    platform::TypedData directData() override;
    void clear() override;
    void writeItems(const QList<platform::TypedData> &items) override;
    void setDirectData(const QString &type, const QByteArray &data) override;
    std::optional<QString> plainText() override;
    qint64 changeCount() override;
    // As items() and directData(), logged as both; with a read delay the
    // owner takes that long per type on the virtual clock, and unreadable
    // types are left out and named.
    QCoro::Task<platform::ClipboardContents> readContents() override;

    // Another application owning the clipboard: each type it is asked for
    // costs `ms`, and these types never come (it stops answering for them).
    void setOwnerReads(double ms, QStringList unreadable = {})
    {
        m_readDelayMs = ms;
        m_unreadable = std::move(unreadable);
    }

    // What an application's copy or the user puts there: one plain-text item.
    void putText(const QString &text, ClipboardEvent::Kind kind);
    void putItems(const QList<platform::TypedData> &items, ClipboardEvent::Kind kind);
    // The contents, without logging a read.
    QList<platform::TypedData> peekItems() const { return m_items; }
    platform::TypedData peekDirectData() const;
    // What an application's paste takes, without logging a read.
    std::optional<QString> peekPlainText() const;
    qint64 peekChangeCount() const { return m_changeCount; }
    // The program's next `count` clears and writes do nothing, as a claim of
    // the clipboard that carries an older time than its owner's is refused.
    void refuseWrites(int count) { m_refused = count; }

    static inline const QString PlainTextType = QStringLiteral("text/plain");

private:
    void logged(ClipboardEvent::Kind kind);

    SimDesktop &m_desktop;
    QList<platform::TypedData> m_items;
    platform::TypedData m_direct;
    qint64 m_changeCount = 0;
    double m_readDelayMs = 0;
    QStringList m_unreadable;
    int m_refused = 0;
    bool refused() { return m_refused > 0 && m_refused-- > 0; }
};

} // namespace qv::sim
