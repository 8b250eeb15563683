#pragma once

#include <optional>
#include <string>

namespace qv::devbackend::SitePages {

// The static page at `path` ("/quorvel-site/support.html"), if there is one.
std::optional<std::string> page(const std::string &path);

// The update feed announcing `version`, whose download points at `baseUrl`'s
// download page.
std::string appcast(const std::string &version, const std::string &baseUrl);

} // namespace qv::devbackend::SitePages
