#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace qv::devbackend {

struct User {
    std::string id;
    std::string email;
    std::string passwordHash;
};

struct Profile {
    std::string id;
    std::optional<std::string> email;
};

struct RefreshToken {
    std::string token;
    std::string userId;
    std::string sessionId;
    std::int64_t issuedAt = 0;
    std::optional<std::int64_t> revokedAt;
};

// Accounts, refresh tokens and the profiles table in one SQLite file. Safe
// to call from the server's worker threads: each call holds one lock.
class AccountStore {
public:
    ~AccountStore();
    AccountStore(const AccountStore &) = delete;
    AccountStore &operator=(const AccountStore &) = delete;

    // `path` ":memory:" keeps nothing. Empty with `error` set on failure.
    static std::unique_ptr<AccountStore> open(const std::string &path, std::string &error);

    // The token signing key, made on first open and kept, so tokens outlive
    // a restart.
    std::string signingKey();

    std::optional<User> userByEmail(const std::string &email);
    std::optional<User> userById(const std::string &id);
    // Creates the account or replaces its password; returns it.
    User putUser(const std::string &email, const std::string &passwordHash);
    void setPasswordHash(const std::string &userId, const std::string &passwordHash);

    void addRefreshToken(const RefreshToken &token, const std::string &parent);

    enum class Rotation { Rotated, NotFound, Reused };
    struct RotateOutcome {
        Rotation rotation = Rotation::NotFound;
        RefreshToken next;
    };
    // Exchanges an active refresh token for a new one (made by `newToken`),
    // revoking the old one. A token revoked no more than `reuseWindow` seconds
    // ago gives the newest token of its line instead; a later reuse revokes
    // the whole session's tokens.
    RotateOutcome rotate(const std::string &token, std::int64_t now, std::int64_t reuseWindow,
                         const std::function<std::string()> &newToken);

    std::vector<Profile> profiles();
    // All rows in one transaction, or none: the id that already exists (in
    // the table or earlier in `rows`) when one does.
    std::optional<std::string> insertProfiles(const std::vector<Profile> &rows);

private:
    explicit AccountStore(sqlite3 *db);

    std::optional<RefreshToken> refreshTokenLocked(const std::string &token);
    std::optional<User> userWhere(const char *sql, const std::string &value);

    std::mutex m_mutex;
    sqlite3 *m_db;
};

} // namespace qv::devbackend
