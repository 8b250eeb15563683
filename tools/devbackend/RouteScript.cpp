#include "RouteScript.h"

namespace qv::devbackend {

ScriptedAnswer ScriptedAnswer::reply(std::string method, std::string path, int status, std::string body)
{
    ScriptedAnswer answer;
    answer.method = std::move(method);
    answer.path = std::move(path);
    answer.status = status;
    answer.body = std::move(body);
    return answer;
}

ScriptedAnswer ScriptedAnswer::late(std::string method, std::string path, int delayMs)
{
    ScriptedAnswer answer = reply(std::move(method), std::move(path), 0, {});
    answer.delayMs = delayMs;
    return answer;
}

ScriptedAnswer ScriptedAnswer::dropped(std::string method, std::string path, int times)
{
    ScriptedAnswer answer = reply(std::move(method), std::move(path), 0, {});
    answer.drop = true;
    answer.times = times;
    return answer;
}

void RouteScript::add(ScriptedAnswer answer)
{
    std::lock_guard lock(m_mutex);
    if (answer.times > 0)
        m_answers.push_back(std::move(answer));
}

std::optional<ScriptedAnswer> RouteScript::take(const std::string &method, const std::string &path)
{
    std::lock_guard lock(m_mutex);
    for (auto it = m_answers.begin(); it != m_answers.end(); ++it) {
        if (it->method == method && it->path == path) {
            ScriptedAnswer answer = *it;
            if (--it->times <= 0)
                m_answers.erase(it);
            return answer;
        }
    }
    return std::nullopt;
}

void RouteScript::record(ReceivedRequest request)
{
    std::lock_guard lock(m_mutex);
    m_log.push_back(std::move(request));
}

std::vector<ReceivedRequest> RouteScript::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_log;
}

void RouteScript::reset()
{
    std::lock_guard lock(m_mutex);
    m_answers.clear();
    m_log.clear();
}

} // namespace qv::devbackend
