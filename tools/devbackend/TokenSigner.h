#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

namespace qv::devbackend {

// Access tokens in the usual three-part form (base64url header, claims and
// an HMAC-SHA-256 signature joined by dots) with an "exp" claim in seconds.
class TokenSigner {
public:
    // `key` is the 32-byte signing key.
    explicit TokenSigner(std::string key);

    std::string sign(const nlohmann::json &claims) const;

    enum class Check { Valid, Malformed, BadSignature, Expired };
    struct Verified {
        Check check = Check::Malformed;
        nlohmann::json claims;
    };
    // `now` in seconds since the epoch.
    Verified verify(const std::string &token, std::int64_t now) const;

    static std::string base64Url(const std::string &bytes);
    // Empty optional-like: returns false on bad input.
    static bool fromBase64Url(const std::string &text, std::string &bytes);

private:
    std::string m_key;
};

} // namespace qv::devbackend
