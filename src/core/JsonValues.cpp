#include "core/JsonValues.h"

namespace qv::json {

std::optional<QString> stringOf(const QJsonValue &v)
{
    if (!v.isString())
        return std::nullopt;
    return v.toString();
}

std::optional<bool> boolOf(const QJsonValue &v)
{
    if (!v.isBool())
        return std::nullopt;
    return v.toBool();
}

std::optional<qint64> integerOf(const QJsonValue &v)
{
    if (!v.isDouble())
        return std::nullopt;
    // toInteger gives its fallback for anything not exactly representable;
    // two fallbacks tell a stored 0 from a refusal.
    const qint64 i = v.toInteger(0);
    if (i != 0 || v.toInteger(1) == 0)
        return i;
    return std::nullopt;
}

} // namespace qv::json
