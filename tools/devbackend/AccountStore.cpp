#include "AccountStore.h"

#include <sodium.h>
#include <sqlite3.h>

#include <stdexcept>

namespace qv::devbackend {

namespace {

// One prepared statement, finalized on scope exit.
class Statement {
public:
    Statement(sqlite3 *db, const char *sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Statement &bind(int index, const std::string &text)
    {
        sqlite3_bind_text(m_stmt, index, text.data(), int(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement &bind(int index, const std::optional<std::string> &text)
    {
        if (text)
            return bind(index, *text);
        sqlite3_bind_null(m_stmt, index);
        return *this;
    }
    Statement &bind(int index, std::int64_t value)
    {
        sqlite3_bind_int64(m_stmt, index, value);
        return *this;
    }
    // True while there is a row.
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(sqlite3_db_handle(m_stmt)));
    }
    int stepResult() { return sqlite3_step(m_stmt); }
    std::string text(int column) const
    {
        const auto *p = sqlite3_column_text(m_stmt, column);
        return p ? std::string(reinterpret_cast<const char *>(p), std::size_t(sqlite3_column_bytes(m_stmt, column)))
                 : std::string();
    }
    std::optional<std::string> optionalText(int column) const
    {
        if (sqlite3_column_type(m_stmt, column) == SQLITE_NULL)
            return std::nullopt;
        return text(column);
    }
    std::optional<std::int64_t> optionalInt(int column) const
    {
        if (sqlite3_column_type(m_stmt, column) == SQLITE_NULL)
            return std::nullopt;
        return sqlite3_column_int64(m_stmt, column);
    }

private:
    sqlite3_stmt *m_stmt = nullptr;
};

void exec(sqlite3 *db, const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error("sqlite: " + text);
    }
}

std::string randomUuid()
{
    unsigned char b[16];
    randombytes_buf(b, sizeof b);
    b[6] = (b[6] & 0x0f) | 0x40;
    b[8] = (b[8] & 0x3f) | 0x80;
    char hex[33];
    sodium_bin2hex(hex, sizeof hex, b, sizeof b);
    const std::string h(hex);
    return h.substr(0, 8) + "-" + h.substr(8, 4) + "-" + h.substr(12, 4) + "-" + h.substr(16, 4) + "-" + h.substr(20);
}

const char *kSchema = R"sql(
PRAGMA journal_mode = WAL;
CREATE TABLE IF NOT EXISTS meta (name TEXT PRIMARY KEY, value BLOB NOT NULL);
CREATE TABLE IF NOT EXISTS users (
  id TEXT PRIMARY KEY,
  email TEXT NOT NULL UNIQUE COLLATE NOCASE,
  password_hash TEXT NOT NULL,
  created_at INTEGER NOT NULL DEFAULT (strftime('%s','now')));
CREATE TABLE IF NOT EXISTS refresh_tokens (
  token TEXT PRIMARY KEY,
  user_id TEXT NOT NULL,
  session_id TEXT NOT NULL,
  parent TEXT,
  issued_at INTEGER NOT NULL,
  revoked_at INTEGER);
CREATE INDEX IF NOT EXISTS refresh_tokens_parent ON refresh_tokens(parent);
CREATE TABLE IF NOT EXISTS profiles (id TEXT PRIMARY KEY, email TEXT);
)sql";

} // namespace

AccountStore::AccountStore(sqlite3 *db) : m_db(db) {}

AccountStore::~AccountStore() { sqlite3_close(m_db); }

std::unique_ptr<AccountStore> AccountStore::open(const std::string &path, std::string &error)
{
    if (sodium_init() < 0) {
        error = "libsodium could not start";
        return nullptr;
    }
    sqlite3 *db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        error = "cannot open " + path + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 2000);
    std::unique_ptr<AccountStore> store(new AccountStore(db));
    try {
        exec(db, kSchema);
    } catch (const std::exception &e) {
        error = path + " is not a usable account database (" + e.what() + ")";
        return nullptr;
    }
    return store;
}

std::string AccountStore::signingKey()
{
    std::lock_guard lock(m_mutex);
    {
        Statement select(m_db, "SELECT value FROM meta WHERE name = 'signing_key'");
        if (select.step()) {
            std::string key = select.text(0);
            if (key.size() == 32)
                return key;
        }
    }
    std::string key(32, '\0');
    randombytes_buf(key.data(), key.size());
    Statement insert(m_db, "INSERT OR REPLACE INTO meta(name, value) VALUES ('signing_key', ?)");
    insert.bind(1, key).step();
    return key;
}

std::optional<User> AccountStore::userWhere(const char *sql, const std::string &value)
{
    Statement select(m_db, sql);
    select.bind(1, value);
    if (!select.step())
        return std::nullopt;
    return User{select.text(0), select.text(1), select.text(2)};
}

std::optional<User> AccountStore::userByEmail(const std::string &email)
{
    std::lock_guard lock(m_mutex);
    return userWhere("SELECT id, email, password_hash FROM users WHERE email = ?", email);
}

std::optional<User> AccountStore::userById(const std::string &id)
{
    std::lock_guard lock(m_mutex);
    return userWhere("SELECT id, email, password_hash FROM users WHERE id = ?", id);
}

User AccountStore::putUser(const std::string &email, const std::string &passwordHash)
{
    std::lock_guard lock(m_mutex);
    if (auto user = userWhere("SELECT id, email, password_hash FROM users WHERE email = ?", email)) {
        Statement update(m_db, "UPDATE users SET password_hash = ? WHERE id = ?");
        update.bind(1, passwordHash).bind(2, user->id).step();
        user->passwordHash = passwordHash;
        return *user;
    }
    User user{randomUuid(), email, passwordHash};
    Statement insert(m_db, "INSERT INTO users(id, email, password_hash) VALUES (?, ?, ?)");
    insert.bind(1, user.id).bind(2, user.email).bind(3, user.passwordHash).step();
    return user;
}

void AccountStore::setPasswordHash(const std::string &userId, const std::string &passwordHash)
{
    std::lock_guard lock(m_mutex);
    Statement update(m_db, "UPDATE users SET password_hash = ? WHERE id = ?");
    update.bind(1, passwordHash).bind(2, userId).step();
}

void AccountStore::addRefreshToken(const RefreshToken &token, const std::string &parent)
{
    std::lock_guard lock(m_mutex);
    Statement insert(m_db, "INSERT INTO refresh_tokens(token, user_id, session_id, parent, issued_at) "
                           "VALUES (?, ?, ?, ?, ?)");
    insert.bind(1, token.token)
        .bind(2, token.userId)
        .bind(3, token.sessionId)
        .bind(4, parent.empty() ? std::optional<std::string>() : parent)
        .bind(5, token.issuedAt)
        .step();
}

std::optional<RefreshToken> AccountStore::refreshTokenLocked(const std::string &token)
{
    Statement select(m_db, "SELECT token, user_id, session_id, issued_at, revoked_at FROM refresh_tokens "
                           "WHERE token = ?");
    select.bind(1, token);
    if (!select.step())
        return std::nullopt;
    return RefreshToken{select.text(0), select.text(1), select.text(2), select.optionalInt(3).value_or(0),
                        select.optionalInt(4)};
}

AccountStore::RotateOutcome AccountStore::rotate(const std::string &token, std::int64_t now, std::int64_t reuseWindow,
                                                 const std::function<std::string()> &newToken)
{
    std::lock_guard lock(m_mutex);
    auto current = refreshTokenLocked(token);
    if (!current)
        return {};

    if (!current->revokedAt) {
        RefreshToken next{newToken(), current->userId, current->sessionId, now, std::nullopt};
        exec(m_db, "BEGIN");
        try {
            Statement revoke(m_db, "UPDATE refresh_tokens SET revoked_at = ? WHERE token = ?");
            revoke.bind(1, now).bind(2, token).step();
            Statement insert(m_db, "INSERT INTO refresh_tokens(token, user_id, session_id, parent, issued_at) "
                                   "VALUES (?, ?, ?, ?, ?)");
            insert.bind(1, next.token).bind(2, next.userId).bind(3, next.sessionId).bind(4, token).bind(5, now).step();
            exec(m_db, "COMMIT");
        } catch (...) {
            exec(m_db, "ROLLBACK");
            throw;
        }
        return {Rotation::Rotated, next};
    }

    if (now - *current->revokedAt <= reuseWindow) {
        // Two flows refreshed with the same token at once: both get the line's
        // newest token.
        std::string cursor = token;
        for (int hops = 0; hops < 1000; ++hops) {
            Statement child(m_db, "SELECT token FROM refresh_tokens WHERE parent = ? ORDER BY issued_at DESC LIMIT 1");
            child.bind(1, cursor);
            if (!child.step())
                break;
            cursor = child.text(0);
        }
        if (auto newest = refreshTokenLocked(cursor); newest && !newest->revokedAt)
            return {Rotation::Rotated, *newest};
    }

    Statement revokeAll(m_db, "UPDATE refresh_tokens SET revoked_at = ? WHERE session_id = ? AND revoked_at IS NULL");
    revokeAll.bind(1, now).bind(2, current->sessionId).step();
    return {Rotation::Reused, {}};
}

std::vector<Profile> AccountStore::profiles()
{
    std::lock_guard lock(m_mutex);
    Statement select(m_db, "SELECT id, email FROM profiles ORDER BY rowid");
    std::vector<Profile> rows;
    while (select.step())
        rows.push_back({select.text(0), select.optionalText(1)});
    return rows;
}

std::optional<std::string> AccountStore::insertProfiles(const std::vector<Profile> &rows)
{
    std::lock_guard lock(m_mutex);
    exec(m_db, "BEGIN");
    try {
        for (const Profile &profile : rows) {
            Statement insert(m_db, "INSERT INTO profiles(id, email) VALUES (?, ?)");
            insert.bind(1, profile.id).bind(2, profile.email);
            const int rc = insert.stepResult();
            if (rc == SQLITE_CONSTRAINT) {
                exec(m_db, "ROLLBACK");
                return profile.id;
            }
            if (rc != SQLITE_DONE)
                throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(m_db));
        }
        exec(m_db, "COMMIT");
    } catch (...) {
        exec(m_db, "ROLLBACK");
        throw;
    }
    return std::nullopt;
}

} // namespace qv::devbackend
