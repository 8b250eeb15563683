#include "model/JsonValue.h"

namespace qv {

void JsonValue::append(JsonValue value)
{
    if (auto *values = std::get_if<Array>(&m_data))
        values->push_back(std::move(value));
}

void JsonValue::insert(QString key, JsonValue value)
{
    auto *members = std::get_if<Object>(&m_data);
    if (!members)
        return;
    for (auto &member : *members) {
        if (member.first == key) {
            member.second = std::move(value);
            return;
        }
    }
    members->emplace_back(std::move(key), std::move(value));
}

} // namespace qv
