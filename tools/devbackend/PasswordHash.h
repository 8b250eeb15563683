#pragma once

#include <string>

namespace qv::devbackend::PasswordHash {

// Argon2id with a random salt, in libsodium's self-describing string form.
// `fast` uses the smallest settings (tests only); verification reads the
// settings from the stored string either way.
std::string hash(const std::string &password, bool fast);
bool verify(const std::string &stored, const std::string &password);

} // namespace qv::devbackend::PasswordHash
