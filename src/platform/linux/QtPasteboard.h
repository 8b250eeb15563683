#pragma once

#include "platform/Pasteboard.h"
#include "platform/linux/UnresponsiveApps.h"

#include <QObject>

#include <functional>

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

    QList<platform::TypedData> items() override;
    platform::TypedData directData() override;
    void clear() override;
    void writeItems(const QList<platform::TypedData> &items) override;
    void setDirectData(const QString &type, const QByteArray &data) override;
    std::optional<QString> plainText() override;
    qint64 changeCount() override { return m_changeCount; }

private:
    bool ownerUsable(quint64 &owner);
    void noteRead(quint64 owner, qint64 startNs);

    Scheduler &m_scheduler;
    std::function<quint64()> m_ownerKey;
    UnresponsiveApps m_slowOwners; // keyed by owner window
    qint64 m_changeCount = 0;
};

} // namespace qv::linuxdesktop
