#include "TokenSigner.h"

#include <sodium.h>

#include <stdexcept>
#include <vector>

namespace qv::devbackend {

namespace {

std::string mac(const std::string &key, const std::string &message)
{
    unsigned char out[crypto_auth_hmacsha256_BYTES];
    crypto_auth_hmacsha256_state state;
    crypto_auth_hmacsha256_init(&state, reinterpret_cast<const unsigned char *>(key.data()), key.size());
    crypto_auth_hmacsha256_update(&state, reinterpret_cast<const unsigned char *>(message.data()), message.size());
    crypto_auth_hmacsha256_final(&state, out);
    return std::string(reinterpret_cast<const char *>(out), sizeof out);
}

} // namespace

TokenSigner::TokenSigner(std::string key) : m_key(std::move(key))
{
    if (m_key.size() != 32)
        throw std::invalid_argument("signing key must be 32 bytes");
}

std::string TokenSigner::base64Url(const std::string &bytes)
{
    const int variant = sodium_base64_VARIANT_URLSAFE_NO_PADDING;
    std::vector<char> out(sodium_base64_encoded_len(bytes.size(), variant));
    sodium_bin2base64(out.data(), out.size(), reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size(),
                      variant);
    return std::string(out.data());
}

bool TokenSigner::fromBase64Url(const std::string &text, std::string &bytes)
{
    std::vector<unsigned char> out(text.size() + 1);
    std::size_t length = 0;
    const char *end = nullptr;
    if (sodium_base642bin(out.data(), out.size(), text.data(), text.size(), nullptr, &length, &end,
                          sodium_base64_VARIANT_URLSAFE_NO_PADDING)
            != 0
        || end != text.data() + text.size())
        return false;
    bytes.assign(reinterpret_cast<const char *>(out.data()), length);
    return true;
}

std::string TokenSigner::sign(const nlohmann::json &claims) const
{
    static const std::string header = base64Url(R"({"alg":"HS256","typ":"JWT"})");
    const std::string signingInput = header + "." + base64Url(claims.dump());
    return signingInput + "." + base64Url(mac(m_key, signingInput));
}

TokenSigner::Verified TokenSigner::verify(const std::string &token, std::int64_t now) const
{
    Verified result;
    const auto first = token.find('.');
    const auto second = first == std::string::npos ? std::string::npos : token.find('.', first + 1);
    if (second == std::string::npos || token.find('.', second + 1) != std::string::npos)
        return result;

    std::string headerJson, claimsJson, signature;
    if (!fromBase64Url(token.substr(0, first), headerJson)
        || !fromBase64Url(token.substr(first + 1, second - first - 1), claimsJson)
        || !fromBase64Url(token.substr(second + 1), signature))
        return result;
    const auto header = nlohmann::json::parse(headerJson, nullptr, false);
    auto claims = nlohmann::json::parse(claimsJson, nullptr, false);
    if (!header.is_object() || header.value("alg", "") != "HS256" || !claims.is_object())
        return result;

    const std::string expected = mac(m_key, token.substr(0, second));
    if (signature.size() != expected.size() || sodium_memcmp(signature.data(), expected.data(), expected.size()) != 0) {
        result.check = Check::BadSignature;
        return result;
    }
    if (!claims.contains("exp") || !claims["exp"].is_number_integer() || !claims.contains("sub")
        || !claims["sub"].is_string())
        return result;
    result.claims = std::move(claims);
    result.check = result.claims["exp"].get<std::int64_t>() <= now ? Check::Expired : Check::Valid;
    return result;
}

} // namespace qv::devbackend
