#include "DevBackend.h"

#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <iostream>

using namespace qv::devbackend;

int main(int argc, char **argv)
{
    std::string error;
    bool help = false;
    const auto options = parseOptions(std::vector<std::string>(argv + 1, argv + argc), error, help);
    if (help) {
        std::cout << DevBackendOptions::usage();
        return 0;
    }
    if (!options) {
        std::cerr << "quorvel-devbackend: " << error << "\n\n" << DevBackendOptions::usage();
        return 2;
    }

    // Ctrl-C and SIGTERM end the server cleanly: the main thread waits for
    // them while the server runs on its own.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    DevBackend backend(*options);
    if (!backend.start(error)) {
        std::cerr << "quorvel-devbackend: " << error << "\n";
        return 1;
    }
    std::cout << "quorvel-devbackend listening on " << backend.baseUrl() << "\n"
              << "anon key: " << options->anonKey << "\n"
              << "data: " << options->dataDir << "\n";
    for (const auto &user : options->addUsers)
        std::cout << "account: " << user.first << "\n";
    if (options->testHooks)
        std::cout << "test hooks: on\n";
    std::cout.flush();

    backend.serveInBackground();
    int received = 0;
    sigwait(&stopSignals, &received);
    backend.stop();
    return 0;
}
