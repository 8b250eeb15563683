#pragma once

#include "platform/Element.h"

#include <QCoro/QCoroTask>
#include <QPoint>
#include <QString>

#include <memory>
#include <optional>

namespace qv {
class Scheduler;
namespace engine {
class ElementAccess;
}
namespace platform {
class Accessibility;
class Workspace;
} // namespace platform
} // namespace qv

namespace qv::state {

// Finds the text box a typing job types into: from the keyboard focus, from
// the point of a click, or under the pointer. The text-input test and the
// ancestor and descendant searches are the engine's own (so the job and the
// engine agree on what a text box is); this class adds the order in which
// the sources are tried, the retry after a click and the one-line summary
// the job shows as its diagnostic.
//
// A null Element means "none". Every call but the retry is synchronous.
class TargetDetector {
public:
    using Element = platform::Element;

    TargetDetector(platform::Accessibility &accessibility, platform::Workspace &workspace, Scheduler &scheduler,
                   engine::ElementAccess &elements);
    ~TargetDetector();
    TargetDetector(const TargetDetector &) = delete;
    TargetDetector &operator=(const TargetDetector &) = delete;

    // The desktop's focused element, else the focused element of the
    // frontmost application.
    Element focusedElement();
    // The element under the pointer.
    Element elementAtMouseLocation();
    bool isTextInput(const Element &element);
    // The element itself when it takes text, else its nearest editable
    // ancestor (8 rounds), else its nearest editable descendant
    // (breadth-first, depths below 6, at most 360 entries).
    Element resolveTextInput(const Element &element);

    // One attempt: the focus first, then the element at the click point
    // (one global, top-left point), each resolved as above.
    Element detectOnce(std::optional<QPoint> clickPoint);
    // Attempts until one finds a text box or `maxWaitMs` has passed since
    // the start (checked before every attempt), waiting 55 ms, then each
    // wait × 1.35 + 10 ms, at most 200 ms, in between. The detector may go
    // while this waits; the task then answers none.
    QCoro::Task<Element> detectAfterClick(double maxWaitMs, std::optional<QPoint> clickPoint);

    // "<frontmost application> role=<role>[ subrole=<subrole>] <enabled word>[ title="<title>"]"
    QString summary(const Element &element);

    // The wait that follows a retry wait of `currentMs`.
    static double nextRetryDelay(double currentMs);
    static constexpr double kFirstRetryDelayMs = 55;
    static constexpr double kMaxRetryDelayMs = 200;

private:
    platform::Accessibility &m_accessibility;
    platform::Workspace &m_workspace;
    Scheduler &m_scheduler;
    engine::ElementAccess &m_elements;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace qv::state
