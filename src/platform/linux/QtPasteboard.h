#pragma once

#include "platform/Pasteboard.h"
#include "platform/linux/UnresponsiveApps.h"
#include "platform/linux/X11SelectionReader.h"

#include <QObject>

#include <functional>
#include <optional>

namespace qv {
class Scheduler;
}

namespace qv::linuxdesktop {

// The desktop clipboard through Qt. An X11 clipboard holds one item; its
// representations are the owner's targets less the meta targets. Reading
// another owner's clipboard through Qt blocks the event loop until the owner
// answers: the engine's reads (readContents, readPlainText) go through a
// connection of their own and are awaited instead. An owner that timed out
// once is skipped for a while.
class QtPasteboard final : public QObject, public platform::Pasteboard {
public:
    static constexpr qint64 kSlowReadNs = 1'000'000'000;

    // `ownerKey` identifies the clipboard's current owner (0 when unknown).
    QtPasteboard(Scheduler &scheduler, std::function<quint64()> ownerKey, QObject *parent = nullptr);
    ~QtPasteboard() override;

    QList<platform::TypedData> items() override;
    platform::TypedData directData() override;
    void clear() override;
    void writeItems(const QList<platform::TypedData> &items) override;
    void setDirectData(const QString &type, const QByteArray &data) override;
    std::optional<QString> plainText() override;
    qint64 changeCount() override { return m_changeCount; }
    QCoro::Task<platform::ClipboardContents> readContents() override;
    QCoro::Task<std::optional<QString>> readPlainText() override;

    // How long one request to another owner may take (a large transfer: each
    // of its pieces).
    static constexpr qint64 kRequestTimeoutNs = 3'000'000'000;

private:
    bool ownerUsable(quint64 &owner);
    platform::TypedData readAll(quint64 owner);
    // Forgets the last read of another owner's clipboard.
    void forgetRead();
    void noteRead(quint64 owner, qint64 startNs, const QString &what);

    // Whether another application owns the clipboard and may be asked,
    // through m_reader; `owner` is set to it.
    bool foreignOwner(quint64 &owner);

    Scheduler &m_scheduler;
    std::function<quint64()> m_ownerKey;
    X11SelectionReader m_reader;
    UnresponsiveApps m_slowOwners; // keyed by owner window
    qint64 m_changeCount = 0;
    // The last full read of another owner's clipboard, kept until the event
    // loop turns: a snapshot asks for the item and for the clipboard's own
    // data, which on X11 are one and the same, and each read is a round trip
    // per type into an application that may be busy.
    struct LastRead {
        qint64 changeCount = 0;
        quint64 owner = 0;
        platform::TypedData data;
    };
    std::optional<LastRead> m_lastRead;
    std::optional<quint64> m_forgetTimer;
};

} // namespace qv::linuxdesktop
