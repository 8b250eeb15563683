#include "model/JsonWriter.h"

#include <gtest/gtest.h>

using qv::JsonValue;
using qv::JsonWriter;

namespace {

QByteArray str(const QString &s)
{
    QByteArray out;
    JsonWriter::appendString(out, s);
    return out;
}

} // namespace

TEST(JsonWriter, EscapesExactlyTheCharactersTheFileFormatEscapes)
{
    EXPECT_EQ(str(QStringLiteral("a\"b\\c/d")), QByteArray(R"("a\"b\\c\/d")"));
    EXPECT_EQ(str(QStringLiteral("\n\r\t\b\f")), QByteArray(R"("\n\r\t\b\f")"));
    // Other control characters: \u00xx with lower-case hex.
    EXPECT_EQ(str(QString(QChar(0x01)) + QChar(0x1F) + QChar(0x0B) + QChar(0x00)),
              QByteArray(R"("\u0001\u001f\u000b\u0000")"));
    // DEL, non-ASCII, the line separator and characters outside the BMP stay raw UTF-8.
    const QString raw = QString(QChar(0x7F)) + QStringLiteral("é") + QChar(0x2028) + QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_EQ(str(raw), QByteArray("\"") + raw.toUtf8() + "\"");
}

TEST(JsonWriter, LoneSurrogatesBecomeReplacementCharacters)
{
    const QString s = QString(QChar(0xD800)) + u'x' + QChar(0xDC00);
    EXPECT_EQ(str(s), QByteArray("\"\xEF\xBF\xBDx\xEF\xBF\xBD\""));
}

TEST(JsonWriter, EmptyArraysHoldABlankLineAndCloseAtTheirIndentation)
{
    EXPECT_EQ(JsonWriter::write(JsonValue::array()), QByteArray("[\n\n]"));
    JsonValue o = JsonValue::object();
    o.insert(QStringLiteral("list"), JsonValue::array());
    JsonValue outer = JsonValue::array();
    outer.append(o);
    EXPECT_EQ(JsonWriter::write(outer), QByteArray("[\n  {\n    \"list\" : [\n\n    ]\n  }\n]"));
    EXPECT_EQ(JsonWriter::write(JsonValue::object()), QByteArray("{\n\n}"));
}

TEST(JsonWriter, SortsKeysAndIndentsNestedValues)
{
    JsonValue inner = JsonValue::array();
    inner.append(JsonValue::integer(-5));
    inner.append(JsonValue::boolean(false));
    JsonValue o = JsonValue::object();
    o.insert(QStringLiteral("zeta"), JsonValue::string(QStringLiteral("z")));
    o.insert(QStringLiteral("alpha"), std::move(inner));
    o.insert(QStringLiteral("Mid"), JsonValue::integer(9223372036854775807LL));
    o.insert(QStringLiteral("zeta"), JsonValue::boolean(true)); // replaces, keeps one key
    // Keys sort by code unit: upper case before lower case.
    EXPECT_EQ(JsonWriter::write(o), QByteArray("{\n"
                                               "  \"Mid\" : 9223372036854775807,\n"
                                               "  \"alpha\" : [\n"
                                               "    -5,\n"
                                               "    false\n"
                                               "  ],\n"
                                               "  \"zeta\" : true\n"
                                               "}"));
}
