#pragma once

#include "services/HttpTransport.h"

#include <QList>

#include <deque>
#include <functional>

namespace qv {

class Scheduler;

// An HttpTransport for tests: answers from a script, after delays on the
// injected (virtual) clock, and records every request it was given.
//
// Each request takes the first queued answer whose method and path match
// (an empty method or path matches any); without one, the fallback handler
// answers, and without a handler the request fails as a network error. An
// answer whose delay reaches the request's timeout fails as timed out when
// the timeout has passed, as the real transport does.
class ScriptedTransport final : public HttpTransport {
public:
    struct Answer {
        Answer(HttpOutcome outcome, double delayMs = 0, QByteArray method = {}, QString path = {})
            : outcome(std::move(outcome)), delayMs(delayMs), method(std::move(method)), path(std::move(path))
        {
        }
        HttpOutcome outcome;
        double delayMs = 0;
        QByteArray method; // empty: any
        QString path;      // URL path such as "/auth/v1/token"; empty: any
    };

    explicit ScriptedTransport(Scheduler &scheduler);

    void enqueue(Answer answer);
    // Shorthands for a matching HTTP answer or transport failure.
    void respond(QByteArray method, QString path, int status, QByteArray body, double delayMs = 0);
    void fail(QByteArray method, QString path, TransportFailure failure, double delayMs = 0);
    void setHandler(std::function<Answer(const HttpRequest &)> handler);

    const QList<HttpRequest> &requests() const { return m_requests; }
    qsizetype pendingAnswers() const { return qsizetype(m_queue.size()); }
    void clear();

    QCoro::Task<HttpOutcome> send(HttpRequest request) override;

private:
    Answer take(const HttpRequest &request);

    Scheduler &m_scheduler;
    std::deque<Answer> m_queue;
    std::function<Answer(const HttpRequest &)> m_handler;
    QList<HttpRequest> m_requests;
};

} // namespace qv
