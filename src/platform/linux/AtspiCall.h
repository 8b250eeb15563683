#pragma once

// Internal to the AT-SPI backend's sources: one bounded call.
#include <atspi/atspi.h>

#include "platform/linux/AtspiAccessibility.h"
#include "platform/linux/GlibOwners.h"

#include <QElapsedTimer>

#include <source_location>

namespace qv::linuxdesktop {

// The children of one object asked for at most.
constexpr int kMaxChildrenPerNode = 256;

inline bool isSlow(qint64 elapsedNs)
{
    return elapsedNs >= qint64(AtspiAccessibility::kBusTimeoutMs) * 800'000; // 80% of the time-out
}

// One bounded call into an application: measures it, and marks the
// application unresponsive when it timed out.
class AtspiAccessibility::Call {
public:
    Call(AtspiAccessibility &owner, qint64 pid, std::source_location where = std::source_location::current())
        : m_owner(owner), m_pid(pid), m_where(where)
    {
        m_timer.start();
    }
    ~Call() { m_owner.finishCall(m_pid, m_timer.nsecsElapsed(), m_error.get(), m_where); }
    Call(const Call &) = delete;
    Call &operator=(const Call &) = delete;
    GError **error() { return m_error.out(); }
    // An error, or an answer that came only at the time-out (some calls
    // report none and hand back an empty value).
    bool failed() const { return bool(m_error) || isSlow(m_timer.nsecsElapsed()); }
    // What the call handed back, kept only if it did not fail (a failed
    // call may still hand back an empty value).
    template <typename Holder>
    Holder keep(Holder held) const
    {
        if (failed())
            held.reset();
        return held;
    }

private:
    AtspiAccessibility &m_owner;
    qint64 m_pid;
    std::source_location m_where;
    QElapsedTimer m_timer;
    ErrorSlot m_error;
};

template <typename T>
Owned<T> AtspiAccessibility::iface(T *(*get)(AtspiAccessible *), AtspiAccessible *accessible, qint64 pid)
{
    // Applications that do not announce their interfaces up front are asked.
    if (!accessible || !admits(pid))
        return nullptr;
    Call call(*this, pid);
    Owned<T> result(get(accessible));
    if (call.failed())
        result.reset();
    return result;
}

} // namespace qv::linuxdesktop
