#include "PasswordHash.h"

#include <sodium.h>

#include <stdexcept>

namespace qv::devbackend::PasswordHash {

std::string hash(const std::string &password, bool fast)
{
    char out[crypto_pwhash_STRBYTES];
    const auto ops = fast ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    const auto mem = fast ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    if (crypto_pwhash_str_alg(out, password.data(), password.size(), ops, mem, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return std::string(out);
}

bool verify(const std::string &stored, const std::string &password)
{
    return crypto_pwhash_str_verify(stored.c_str(), password.data(), password.size()) == 0;
}

} // namespace qv::devbackend::PasswordHash
