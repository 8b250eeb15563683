#pragma once

#include <QString>

#include <utility>
#include <variant>
#include <vector>

namespace qv {

// A JSON value to be written by JsonWriter: only the kinds the data files
// use (strings, integers, Booleans, arrays, objects). Object members keep
// insertion order here; the writer sorts them.
class JsonValue {
public:
    using Array = std::vector<JsonValue>;
    using Member = std::pair<QString, JsonValue>;
    using Object = std::vector<Member>;

    static JsonValue string(QString value) { return JsonValue(Data(std::move(value))); }
    static JsonValue integer(qint64 value) { return JsonValue(Data(value)); }
    static JsonValue boolean(bool value) { return JsonValue(Data(value)); }
    static JsonValue array(Array values = {}) { return JsonValue(Data(std::move(values))); }
    static JsonValue object(Object members = {}) { return JsonValue(Data(std::move(members))); }

    const QString *asString() const { return std::get_if<QString>(&m_data); }
    const qint64 *asInteger() const { return std::get_if<qint64>(&m_data); }
    const bool *asBoolean() const { return std::get_if<bool>(&m_data); }
    const Array *asArray() const { return std::get_if<Array>(&m_data); }
    const Object *asObject() const { return std::get_if<Object>(&m_data); }

    // Builders for arrays and objects; no effect on other kinds.
    void append(JsonValue value);
    void insert(QString key, JsonValue value);

private:
    using Data = std::variant<QString, qint64, bool, Array, Object>;
    explicit JsonValue(Data data) : m_data(std::move(data)) { }
    Data m_data;
};

} // namespace qv
