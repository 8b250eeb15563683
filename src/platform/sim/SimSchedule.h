#pragma once

#include "platform/Pasteboard.h"

#include <QPoint>
#include <QString>

#include <functional>

namespace qv::sim {

class SimApp;
class SimDesktop;
class SimElement;

// User actions at one virtual time, made by SimDesktop::at or ::after:
//   sim.at(1500).clickInto(otherField);
//   sim.after(200).type(field, "hello", 120).setPasteboardText("x");
// Actions given for the same time happen in the order they were given.
class SimSchedule {
public:
    SimSchedule(SimDesktop &desktop, qint64 dueNs) : m_desktop(desktop), m_dueNs(dueNs) {}

    SimSchedule &switchTo(SimApp &app);
    SimSchedule &click(QPoint global);
    SimSchedule &clickInto(SimElement &element);
    SimSchedule &focus(SimElement &element);
    // The user types `text` into the field, one grapheme every `perGraphemeMs`
    // (0: all at once).
    SimSchedule &type(SimElement &field, const QString &text, double perGraphemeMs = 0);
    SimSchedule &setText(SimElement &field, const QString &text);
    SimSchedule &setPasteboardText(const QString &text);
    SimSchedule &setPasteboardItems(const QList<platform::TypedData> &items);
    SimSchedule &movePointer(QPoint global);
    SimSchedule &hang(SimApp &app);
    SimSchedule &unhang(SimApp &app);
    SimSchedule &quit(SimApp &app);
    SimSchedule &run(std::function<void()> action);

private:
    SimDesktop &m_desktop;
    qint64 m_dueNs;
};

} // namespace qv::sim
