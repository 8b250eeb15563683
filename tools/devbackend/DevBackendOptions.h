#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qv::devbackend {

struct DevBackendOptions {
    int port = 54321;                                          // 0: a free port
    std::string anonKey;                                       // the development key unless given
    std::string dataDir;                                       // ":memory:" keeps nothing
    std::vector<std::pair<std::string, std::string>> addUsers; // e-mail, password
    std::string appcastVersion;
    int accessTokenSeconds = 3600; // lifetime of an access token
    int refreshReuseSeconds = 10;  // a rotated refresh token still works this long
    bool testHooks = false;        // the /__test/ routes
    bool fastPasswordHash = false; // cheapest hash settings, for tests only

    static DevBackendOptions defaults();
    static std::string usage();
};

// Parses the command line (without the program name). Empty with `error`
// set when it is wrong; `help` set for --help.
std::optional<DevBackendOptions> parseOptions(const std::vector<std::string> &args, std::string &error, bool &help);

} // namespace qv::devbackend
