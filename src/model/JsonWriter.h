#pragma once

#include "model/JsonValue.h"

#include <QByteArray>
#include <QStringView>

namespace qv {

// Writes the data files' JSON form byte for byte: pretty-printed with two
// spaces per level, `"key" : value`, keys sorted, `/` escaped, non-ASCII as
// raw UTF-8, an empty array or object as an opening bracket, a blank line and
// the closing bracket at the member's indentation, no final newline. The
// same data therefore always gives the same bytes.
class JsonWriter {
public:
    static QByteArray write(const JsonValue &value);

    // Appends `text` as a quoted JSON string. A lone surrogate (which no
    // valid text holds) is written as U+FFFD.
    static void appendString(QByteArray &out, QStringView text);

private:
    static void appendValue(QByteArray &out, const JsonValue &value, int depth);
    static void appendIndent(QByteArray &out, int depth);
};

} // namespace qv
