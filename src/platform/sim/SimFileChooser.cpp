#include "platform/sim/SimFileChooser.h"

#include <QCoreApplication>
#include <QTimer>

namespace qv::sim {

void SimFileChooser::chooseFile(const platform::FileChooserRequest &request, QObject *context, Done done)
{
    m_requests.append(request);
    Waiting w{QPointer<QObject>(context), context != nullptr, std::move(done)};
    if (m_queued.isEmpty()) {
        m_waiting.append(std::move(w));
        return;
    }
    const std::optional<QString> path = m_queued.takeFirst();
    QTimer::singleShot(0, QCoreApplication::instance(), [w, path] { deliver(w, path); });
}

bool SimFileChooser::answer(std::optional<QString> path)
{
    if (m_waiting.isEmpty())
        return false;
    const Waiting w = m_waiting.takeFirst();
    deliver(w, path);
    return true;
}

void SimFileChooser::deliver(const Waiting &w, const std::optional<QString> &path)
{
    if (w.hadContext && !w.context)
        return;
    if (w.done)
        w.done(path);
}

} // namespace qv::sim
