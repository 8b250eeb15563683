#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QStringView>
#include <QVarLengthArray>

namespace qv {

// Writes the data files' JSON form byte for byte, as a stream: pretty-printed
// with two spaces per level, `"key" : value`, `/` escaped, non-ASCII as raw
// UTF-8, an empty array or object as its opening bracket, a blank line and
// the closing bracket at the member's indentation, no final newline.
//
// Members must be given in ascending key order (the files' sorted keys);
// the writer checks this in debug builds.
class JsonWriter {
public:
    void beginArray();
    void endArray();
    void beginObject();
    void endObject();
    // Starts the next member of the current object.
    void key(QLatin1StringView name);

    void string(QStringView text);
    void integer(qint64 value);
    void boolean(bool value);

    // The text written so far.
    const QByteArray &bytes() const { return m_out; }
    QByteArray take() { return std::move(m_out); }

    // Appends `text` as a quoted JSON string. A lone surrogate (which no
    // valid text holds) is written as U+FFFD.
    static void appendString(QByteArray &out, QStringView text);

private:
    struct Level {
        bool object = false;
        int count = 0;
        QLatin1StringView lastKey;
    };

    void beforeValue();
    void open(char bracket, bool object);
    void close(char bracket);
    void newLineAndIndent(qsizetype depth);

    QByteArray m_out;
    QVarLengthArray<Level, 8> m_levels;
    bool m_afterKey = false;
};

} // namespace qv
