#pragma once

#include <QString>

namespace qv::state {

// A message-only error, shown as it is (the failure of a password change).
struct AppError {
    QString message;
    QString localizedDescription() const { return message; }
    friend bool operator==(const AppError &, const AppError &) = default;
};

} // namespace qv::state
