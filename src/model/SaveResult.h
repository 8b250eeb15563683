#pragma once

#include <QString>

#include <optional>
#include <utility>

namespace qv {

// The outcome of writing user data to disk: success, or the reason it was
// not written (the file and the system's own words). A save that did not
// write is never silent, so no caller may drop one.
class [[nodiscard]] SaveResult {
public:
    static SaveResult success() { return SaveResult(); }
    static SaveResult failure(QString reason) { return SaveResult(std::move(reason)); }

    bool ok() const { return !m_reason.has_value(); }
    explicit operator bool() const { return ok(); }
    // Only when !ok().
    const QString &reason() const { return *m_reason; }

    // The first failure of two saves made together.
    SaveResult andThen(const SaveResult &next) const { return ok() ? next : *this; }

private:
    SaveResult() = default;
    explicit SaveResult(QString reason) : m_reason(std::move(reason)) {}

    std::optional<QString> m_reason;
};

// What a view says when a save failed: what was not saved, the reason, and
// that nothing is lost yet; empty after a save that succeeded.
QString saveFailureText(const QString &what, const SaveResult &result);

} // namespace qv
