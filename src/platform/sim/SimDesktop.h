#pragma once

#include "core/VirtualScheduler.h"
#include "platform/Platform.h"
#include "platform/sim/SimAccessibility.h"
#include "platform/sim/SimApp.h"
#include "platform/sim/SimDesktopSettings.h"
#include "platform/sim/SimElement.h"
#include "platform/sim/SimInputMonitor.h"
#include "platform/sim/SimKeyboard.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimPasteboard.h"
#include "platform/sim/SimPermissions.h"
#include "platform/sim/SimSchedule.h"
#include "platform/sim/SimWorkspace.h"
#include "platform/sim/TextTransforms.h"

#include <memory>
#include <set>
#include <vector>

namespace qv::sim {

// A deterministic desktop in memory, driven by a virtual clock: applications
// with windows and element trees, text boxes that take keys like real
// editors, a clipboard, click and focus routing, user actions at chosen
// virtual times, and logs of everything the program did.
//
// A test builds one in a few lines:
//
//   qv::VirtualScheduler clock;
//   qv::sim::SimDesktop sim(clock);
//   auto &editor = sim.addApp("Editor");
//   auto &field = editor.addWindow({0, 0, 800, 600}).addTextArea({20, 40, 760, 500}, "Dear ");
//   field.focus();          // the window's focus
//   editor.activate();      // frontmost
//   field.quirks().backspaceUnit = qv::sim::BackspaceUnit::CodePoint;
//   sim.at(1500).clickInto(sim.own().addWindow({900, 0, 300, 300}));  // the user clicks Quorvel
//
//   qv::platform::Platform &platform = sim;   // what the code under test gets
//   qv::test::runTask(clock, platform.keyboard().typeGrapheme("x"));
//   EXPECT_EQ(field.text(), "Dear x");
//   EXPECT_TRUE(sim.log().keys.back().inTextField);
//
// Where to turn what:
//   field.quirks()                       what a text box cannot do (FieldQuirks)
//   element.overrideRead/Settable/Write  any single answer, also a failing one
//   app.setHung / quit / setObservable   applications that stop answering
//   sim.simKeyboard()                    key latency and posted-key delay
//   sim.simAccessibility()               failing system focus query, notification delay
//   sim.simPermissions(), simInput()     permissions, monitors that cannot be installed
//   sim.log()                            keys, reads, writes, clipboard uses, other calls
//
// Quorvel itself is the application own() (pid 1000), frontmost at the start
// and without windows until the test adds some. Focus notifications arrive
// through the clock (advance(0) delivers them), activation signals at once.
// A click outside every window changes neither the frontmost application nor
// the focus (add a full-screen "Desktop" application at the back to model a
// desktop that takes clicks).
class SimDesktop final : public platform::Platform {
public:
    explicit SimDesktop(VirtualScheduler &scheduler);
    ~SimDesktop() override;
    SimDesktop(const SimDesktop &) = delete;
    SimDesktop &operator=(const SimDesktop &) = delete;

    // --- The platform ---
    platform::Accessibility &accessibility() override { return m_accessibility; }
    platform::Keyboard &keyboard() override { return m_keyboard; }
    platform::Pasteboard &pasteboard() override { return m_pasteboard; }
    platform::Workspace &workspace() override { return m_workspace; }
    platform::InputMonitor &input() override { return m_input; }
    platform::Permissions &permissions() override { return m_permissions; }
    platform::Desktop &desktop() override { return m_settings; }

    // The same parts with their test controls.
    SimAccessibility &simAccessibility() { return m_accessibility; }
    SimKeyboard &simKeyboard() { return m_keyboard; }
    SimPasteboard &simPasteboard() { return m_pasteboard; }
    SimWorkspace &simWorkspace() { return m_workspace; }
    SimInputMonitor &simInput() { return m_input; }
    SimPermissions &simPermissions() { return m_permissions; }
    SimDesktopSettings &simSettings() { return m_settings; }
    VirtualScheduler &scheduler() { return m_scheduler; }
    SimLog &log() { return m_log; }

    // --- Applications and windows ---
    static constexpr qint64 OwnPid = 1000;
    SimApp &own() { return *m_apps.front(); }
    // A running application with the next free pid (2001, 2002, …); the
    // bundle id defaults to a lower-case form of the name.
    SimApp &addApp(const QString &name, const QString &bundleId = {});
    SimApp *app(qint64 pid) const;
    SimApp *frontmost() const { return m_frontmost; }
    // Brings an application and its windows to the front; a change of
    // frontmost application is announced and its focus observers told.
    void activate(SimApp &app);
    // No application is frontmost (as after the frontmost one quit with no other window).
    void clearFrontmost();
    // Puts a window on top (activating its application).
    void raise(SimElement &window);
    // Running windows, front to back.
    std::vector<SimElement *> windowsFrontToBack() const;
    SimElement *windowAt(QPoint global) const;
    // The deepest element under a point in the topmost window there.
    SimElement *elementAt(QPoint global) const;

    // --- User actions, now ---
    void setPointer(std::optional<QPoint> global) { m_workspace.setPointer(global); }
    // A left click: the window under the point comes to the front, the
    // element under it takes the focus (a text box gets the caret at its
    // end), then the mouse-up reaches the local monitors when the window is
    // Quorvel's, else the global ones.
    void click(QPoint global);
    // A click on the element, in the middle of its frame (at the pointer
    // when it has none): its window comes forward first, so the click reaches
    // it even where another window covered it.
    void clickInto(SimElement &element);
    // The user types into a field: the text replaces its selection.
    void userType(SimElement &field, const QString &text);
    // The user copies in another application.
    void userSetPasteboardText(const QString &text);
    void userSetPasteboardItems(const QList<platform::TypedData> &items);

    // --- User actions later ---
    // At an absolute virtual time (ms since the clock's origin); a time in
    // the past means at the next turn of the clock.
    SimSchedule at(double ms);
    // At now + ms.
    SimSchedule after(double ms);

    // --- For the parts of the desktop ---
    // Runs `action` after `ms` of virtual time unless the desktop is gone.
    void schedule(double ms, std::function<void()> action);
    void scheduleAtNs(qint64 dueNs, std::function<void()> action);
    quint64 nextElementId() { return m_nextElementId++; }
    void windowAdded(SimElement &window);
    void focusChanged(SimApp &app, SimElement *window);
    void appQuit(SimApp &app);
    void keepRemoved(std::shared_ptr<SimElement> element) { m_removed.push_back(std::move(element)); }

private:
    void raiseWithinZOrder(SimElement &window);

    VirtualScheduler &m_scheduler;
    SimLog m_log;
    SimAccessibility m_accessibility;
    SimKeyboard m_keyboard;
    SimPasteboard m_pasteboard;
    SimWorkspace m_workspace;
    SimInputMonitor m_input;
    SimPermissions m_permissions;
    SimDesktopSettings m_settings;

    std::vector<std::unique_ptr<SimApp>> m_apps;
    std::vector<SimElement *> m_zOrder; // back to front
    SimApp *m_frontmost = nullptr;
    qint64 m_nextPid = 2001;
    quint64 m_nextElementId = 1;
    std::vector<std::shared_ptr<SimElement>> m_removed;
    std::set<Scheduler::TimerId> m_timers;
};

} // namespace qv::sim
