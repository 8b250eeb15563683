#pragma once

#include <QJsonValue>
#include <QString>

#include <optional>

namespace qv::json {

// Typed reads of a stored JSON value: no value when it holds another type,
// so that callers apply their own default.
std::optional<QString> stringOf(const QJsonValue &v);
std::optional<bool> boolOf(const QJsonValue &v);
// Whole numbers only, kept at their exact 64-bit value (a whole double such as
// 3.0 counts too): a fraction or a number beyond 64 bits is not an integer.
std::optional<qint64> integerOf(const QJsonValue &v);

} // namespace qv::json
