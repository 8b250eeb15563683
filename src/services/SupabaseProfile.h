#pragma once

#include <QString>

#include <optional>

namespace qv {

// The user's profile row as the application sees it.
struct SupabaseProfile {
    QString id;                   // equal to the authentication user id
    std::optional<QString> email; // the row's e-mail, when it has one

    bool operator==(const SupabaseProfile &) const = default;
};

} // namespace qv
