#pragma once

#include "platform/FileChooser.h"

#include <QList>
#include <QPointer>

namespace qv::sim {

// A file chooser the test answers: requests wait until the test picks a path
// or cancels, unless answers were queued beforehand, which are given on the
// next turn of the event loop (never inside chooseFile).
class SimFileChooser final : public platform::FileChooser {
public:
    void chooseFile(const platform::FileChooserRequest &request, QObject *context, Done done) override;

    // Answers given, in order, to the next requests.
    void queueAnswer(std::optional<QString> path) { m_queued.append(std::move(path)); }
    // Answers the oldest waiting request; false when none waits.
    bool answer(std::optional<QString> path);

    int waiting() const { return int(m_waiting.size()); }
    const QList<platform::FileChooserRequest> &requests() const { return m_requests; }

private:
    struct Waiting {
        QPointer<QObject> context;
        bool hadContext = false;
        Done done;
    };
    static void deliver(const Waiting &w, const std::optional<QString> &path);

    QList<platform::FileChooserRequest> m_requests;
    QList<Waiting> m_waiting;
    QList<std::optional<QString>> m_queued;
};

} // namespace qv::sim
