#include "DevBackendOptions.h"

#include <cstdlib>

namespace qv::devbackend {

namespace {

std::string defaultDataDir()
{
    if (const char *xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return std::string(xdg) + "/quorvel-devbackend";
    if (const char *home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/quorvel-devbackend";
    return "quorvel-devbackend-data";
}

bool parseInt(const std::string &text, int lo, int hi, int &out)
{
    if (text.empty())
        return false;
    char *end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || value < lo || value > hi)
        return false;
    out = int(value);
    return true;
}

} // namespace

DevBackendOptions DevBackendOptions::defaults()
{
    DevBackendOptions options;
    options.anonKey = QUORVEL_DEV_ANON_KEY;
    options.dataDir = defaultDataDir();
    options.appcastVersion = QUORVEL_APP_VERSION;
    return options;
}

std::string DevBackendOptions::usage()
{
    return "Usage: quorvel-devbackend [options]\n"
           "Serves the account backend and the product web site pages on the loopback host.\n"
           "\n"
           "  --port N                 port to listen on (default 54321; 0 picks a free port)\n"
           "  --anon-key KEY           anonymous API key to accept (default: the development key)\n"
           "  --data DIR               folder of the account database (\":memory:\" keeps nothing)\n"
           "  --add-user EMAIL PASS    create the account, or set its password, then serve\n"
           "  --appcast-version V      version announced by /quorvel-site/appcast.xml\n"
           "  --access-ttl SECONDS     lifetime of access tokens (default 3600)\n"
           "  --refresh-reuse SECONDS  how long a rotated refresh token still works (default 10)\n"
           "  --test-hooks             enable the /__test/ routes that script answers\n"
           "  --help                   show this text\n";
}

std::optional<DevBackendOptions> parseOptions(const std::vector<std::string> &args, std::string &error, bool &help)
{
    DevBackendOptions options = DevBackendOptions::defaults();
    help = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        auto value = [&](std::size_t count) -> bool {
            if (i + count >= args.size()) {
                error = arg + " needs " + (count == 1 ? "a value" : std::to_string(count) + " values");
                return false;
            }
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            help = true;
            return options;
        } else if (arg == "--port") {
            if (!value(1))
                return std::nullopt;
            if (!parseInt(args[++i], 0, 65535, options.port)) {
                error = "--port takes a number from 0 to 65535";
                return std::nullopt;
            }
        } else if (arg == "--anon-key") {
            if (!value(1))
                return std::nullopt;
            options.anonKey = args[++i];
            if (options.anonKey.empty()) {
                error = "--anon-key must not be empty";
                return std::nullopt;
            }
        } else if (arg == "--data") {
            if (!value(1))
                return std::nullopt;
            options.dataDir = args[++i];
        } else if (arg == "--add-user") {
            if (!value(2))
                return std::nullopt;
            options.addUsers.emplace_back(args[i + 1], args[i + 2]);
            i += 2;
        } else if (arg == "--appcast-version") {
            if (!value(1))
                return std::nullopt;
            options.appcastVersion = args[++i];
        } else if (arg == "--access-ttl") {
            if (!value(1))
                return std::nullopt;
            if (!parseInt(args[++i], 1, 365 * 24 * 3600, options.accessTokenSeconds)) {
                error = "--access-ttl takes a number of seconds (at least 1)";
                return std::nullopt;
            }
        } else if (arg == "--refresh-reuse") {
            if (!value(1))
                return std::nullopt;
            if (!parseInt(args[++i], 0, 24 * 3600, options.refreshReuseSeconds)) {
                error = "--refresh-reuse takes a number of seconds";
                return std::nullopt;
            }
        } else if (arg == "--test-hooks") {
            options.testHooks = true;
        } else {
            error = "unknown option " + arg;
            return std::nullopt;
        }
    }
    return options;
}

} // namespace qv::devbackend
