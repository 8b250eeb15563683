#pragma once

#include <QObject>

#include <functional>

namespace qv::app {

// The one orderly way out of the application, taken by the island's close
// dot, the window manager's close of the main window, a restart and a
// termination signal: stop a running typing job, release any synthetic keys,
// write the preferences out, then leave the event loop.
class QuitPath final : public QObject {
    Q_OBJECT
public:
    struct Steps {
        std::function<void()> stopTypingJob;    // may be empty
        std::function<void()> releaseKeys;      // may be empty
        std::function<void()> flushPreferences; // may be empty
        // Leaves the event loop; QCoreApplication::exit when empty.
        std::function<void(int)> exit;
    };

    explicit QuitPath(Steps steps, QObject *parent = nullptr);

    // Everything but the exit; safe to run more than once.
    void prepare();
    // prepare(), then exit with code 0. A second call does nothing.
    void quit();
    bool isQuitting() const { return m_quitting; }

signals:
    void quitting();

private:
    Steps m_steps;
    bool m_quitting = false;
};

} // namespace qv::app
