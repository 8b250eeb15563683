#pragma once

#include "services/SupabaseClient.h"
#include "services/SupabaseConfig.h"
#include "state/LoopbackBackend.h"
#include "support/CoroTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace qv::test {

inline constexpr char kEmail[] = "me@x.test";
inline constexpr char kPassword[] = "secret-1";

// A development backend on a free loopback port with one account, and a
// client of it over the real network stack.
class DevBackendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        options = loopbackOptions(kEmail, kPassword);
        startBackend();
    }

    void startBackend()
    {
        std::string error;
        backend = startLoopbackBackend(options, error);
        ASSERT_TRUE(backend) << error;
        client = makeClient(std::chrono::milliseconds(2000));
    }

    std::unique_ptr<SupabaseClient> makeClient(std::chrono::milliseconds timeout) const
    {
        return std::make_unique<SupabaseClient>(QUrl(QString::fromStdString(backend->baseUrl())),
                                                QString::fromStdString(options.anonKey), timeout);
    }

    template <typename T>
    T run(QCoro::Task<T> task)
    {
        auto result = runTask(scheduler, std::move(task));
        if (!result)
            throw std::runtime_error("task did not finish");
        return std::move(*result);
    }

    SupabaseSession signIn()
    {
        auto result = run(client->signIn(kEmail, kPassword));
        if (!result)
            throw std::runtime_error("sign-in failed: " + result.error().message.toStdString());
        return result.value();
    }

    std::vector<devbackend::ReceivedRequest> received() const { return backend->script().requests(); }

    void script(devbackend::ScriptedAnswer answer) { backend->script().add(std::move(answer)); }

    VirtualScheduler scheduler;
    devbackend::DevBackendOptions options;
    std::unique_ptr<devbackend::DevBackend> backend;
    std::unique_ptr<SupabaseClient> client;
};

inline std::string header(const devbackend::ReceivedRequest &request, const std::string &name)
{
    for (const auto &[key, value] : request.headers) {
        if (QByteArray::fromStdString(key).compare(QByteArray::fromStdString(name), Qt::CaseInsensitive) == 0)
            return value;
    }
    return "<none>";
}

} // namespace qv::test
