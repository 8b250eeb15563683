#pragma once

#include "platform/Keyboard.h"
#include "platform/sim/FieldQuirks.h"
#include "platform/sim/SimLog.h"

#include <optional>

namespace qv::sim {

class SimDesktop;
class SimElement;

// Synthetic keys of the simulated desktop. A key goes to the focused element
// of the frontmost application when it lands; one that reaches a text box
// edits it as a real editor would, any other is logged and has no effect
// (so is every key while input synthesis is not permitted).
class SimKeyboard final : public platform::Keyboard {
public:
    explicit SimKeyboard(SimDesktop &desktop);

    QCoro::Task<> prepare(const QString &text) override;
    QCoro::Task<> typeGrapheme(const QString &grapheme) override;
    QCoro::Task<> press(platform::Key key) override;
    QCoro::Task<> shortcut(platform::Shortcut shortcut) override;
    void finish() override;
    void releaseAll() override;
    int backspacePresses(const QString &stretch) override;
    int arrowPresses(const QString &stretch) override;

    // Every call waits this long before its key lands (0: at once).
    void setLatencyMs(double ms) { m_latencyMs = ms; }
    // A key lands this long after its call returned, as posted events do.
    void setDeliveryDelayMs(double ms) { m_deliveryDelayMs = ms; }

private:
    QCoro::Task<> send(KeyEvent event);
    void land(KeyEvent event);
    void apply(const KeyEvent &event, SimElement *target);
    void moveFocusFrom(SimElement &field);
    static void insert(SimElement &field, const QString &text);
    // What lands of a cluster typed as one key in a box with that quirk.
    static QString joinedAsKeys(const QString &cluster, JoinedKeys joinedKeys);

    SimDesktop &m_desktop;
    double m_latencyMs = 0;
    double m_deliveryDelayMs = 0;
    // Until when the application is busy with arrows already landed.
    qint64 m_busyUntilNs = 0;
    // A Backspace not handled yet (FieldQuirks::backspaceHandledAfterMs),
    // by the number of Backspaces so far.
    quint64 m_backspaces = 0;
    std::optional<quint64> m_pendingBackspace;
    // Typed text held by a field that buffers it (FieldQuirks::typedBufferedMs).
    QString m_typedBuffer;
    quint64 m_bufferGeneration = 0;
    void flushTyped(SimElement &field);
};

} // namespace qv::sim
