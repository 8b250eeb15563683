#pragma once

#include "state/HttpFetcher.h"

#include "core/Scheduler.h"

#include <QList>

namespace qv::test {

// Answers GETs on the virtual clock: each request takes the next scripted
// answer after its delay; a request without a scripted answer hangs.
class ScriptedFetcher final : public state::HttpFetcher {
public:
    struct Answer {
        std::optional<QByteArray> body;
        double delayMs = 10;
    };
    explicit ScriptedFetcher(Scheduler &scheduler) : m_scheduler(scheduler) {}

    void get(const QUrl &url, Done done) override
    {
        requests << url;
        if (answers.isEmpty())
            return;
        const Answer a = answers.takeFirst();
        m_scheduler.singleShot(a.delayMs, [done, body = a.body] { done(body); });
    }

    QList<Answer> answers;
    QList<QUrl> requests;

private:
    Scheduler &m_scheduler;
};

} // namespace qv::test
