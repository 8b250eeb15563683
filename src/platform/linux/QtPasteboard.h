#pragma once

#include "platform/Pasteboard.h"
#include "platform/linux/UnresponsiveApps.h"

#include <QObject>

#include <functional>
#include <optional>

namespace qv {
class Scheduler;
}

namespace qv::linuxdesktop {

// The desktop clipboard through Qt. An X11 clipboard holds one item; its
// representations are the owner's targets less the meta targets. Reading
// from a hung owner blocks for Qt's clipboard time-out, so an owner that was
// that slow once is skipped for a while.
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

private:
    bool ownerUsable(quint64 &owner);
    platform::TypedData readAll(quint64 owner);
    // Forgets the last read of another owner's clipboard.
    void forgetRead();
    void noteRead(quint64 owner, qint64 startNs, const QString &what);

    Scheduler &m_scheduler;
    std::function<quint64()> m_ownerKey;
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
