#include "services/ScriptedTransport.h"

#include "core/Scheduler.h"

namespace qv {

ScriptedTransport::ScriptedTransport(Scheduler &scheduler) : m_scheduler(scheduler) {}

void ScriptedTransport::enqueue(Answer answer) { m_queue.push_back(std::move(answer)); }

void ScriptedTransport::respond(QByteArray method, QString path, int status, QByteArray body, double delayMs)
{
    enqueue(Answer(HttpResponse{status, {{"Content-Type", "application/json"}}, std::move(body)}, delayMs,
                   std::move(method), std::move(path)));
}

void ScriptedTransport::fail(QByteArray method, QString path, TransportFailure failure, double delayMs)
{
    enqueue(Answer(std::move(failure), delayMs, std::move(method), std::move(path)));
}

void ScriptedTransport::setHandler(std::function<Answer(const HttpRequest &)> handler)
{
    m_handler = std::move(handler);
}

void ScriptedTransport::clear()
{
    m_queue.clear();
    m_requests.clear();
}

ScriptedTransport::Answer ScriptedTransport::take(const HttpRequest &request)
{
    const QString path = request.url.path();
    for (auto it = m_queue.begin(); it != m_queue.end(); ++it) {
        if ((it->method.isEmpty() || it->method == request.method) && (it->path.isEmpty() || it->path == path)) {
            Answer answer = std::move(*it);
            m_queue.erase(it);
            return answer;
        }
    }
    if (m_handler)
        return m_handler(request);
    return Answer(TransportFailure{
        TransportFailure::Reason::Network,
        QStringLiteral("No scripted answer for %1 %2").arg(QString::fromLatin1(request.method), path)});
}

QCoro::Task<HttpOutcome> ScriptedTransport::send(HttpRequest request)
{
    m_requests.append(request);
    Answer answer = take(request);
    const double timeoutMs = double(request.timeout.count());
    if (answer.delayMs >= timeoutMs) {
        co_await m_scheduler.sleep(timeoutMs);
        co_return TransportFailure{TransportFailure::Reason::TimedOut, HttpTransport::timedOutMessage()};
    }
    co_await m_scheduler.sleep(answer.delayMs);
    co_return std::move(answer.outcome);
}

} // namespace qv
