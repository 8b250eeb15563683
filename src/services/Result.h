#pragma once

#include "services/SupabaseError.h"

#include <optional>
#include <utility>
#include <variant>

namespace qv {

// The outcome of a backend call: a value or a SupabaseError, never both.
// Backend calls do not throw across coroutines; callers test ok() and show
// error().localizedDescription() on failure.
template <typename T>
class [[nodiscard]] SupabaseResult {
public:
    SupabaseResult(T value) : m_outcome(std::in_place_index<0>, std::move(value)) {}
    SupabaseResult(SupabaseError error) : m_outcome(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return m_outcome.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    const T &value() const & { return std::get<0>(m_outcome); }
    T &value() & { return std::get<0>(m_outcome); }
    T &&value() && { return std::get<0>(std::move(m_outcome)); }
    // Only when !ok().
    const SupabaseError &error() const { return std::get<1>(m_outcome); }

private:
    std::variant<T, SupabaseError> m_outcome;
};

template <>
class [[nodiscard]] SupabaseResult<void> {
public:
    SupabaseResult() = default;
    SupabaseResult(SupabaseError error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    const SupabaseError &error() const { return *m_error; }

private:
    std::optional<SupabaseError> m_error;
};

} // namespace qv
