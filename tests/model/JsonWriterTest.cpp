#include "model/JsonWriter.h"

#include <gtest/gtest.h>

using qv::JsonWriter;
using namespace Qt::StringLiterals;

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
    const QString raw = QString(QChar(0x7F)) + QStringLiteral("é") + QChar(0x2028)
                        + QString::fromUtf8("\xF0\x9F\x98\x80");
    EXPECT_EQ(str(raw), QByteArray("\"") + raw.toUtf8() + "\"");

    // Lone surrogates become replacement characters.
    const QString s = QString(QChar(0xD800)) + u'x' + QChar(0xDC00);
    EXPECT_EQ(str(s), QByteArray("\"\xEF\xBF\xBDx\xEF\xBF\xBD\""));
}

// The record files never hold an empty object; their other shapes are
// checked byte for byte with the records.
TEST(JsonWriter, EmptyContainersHoldABlankLineAndCloseAtTheirIndentation)
{
    JsonWriter nested;
    nested.beginArray();
    nested.beginObject();
    nested.key("list"_L1);
    nested.beginArray();
    nested.endArray();
    nested.key("map"_L1);
    nested.beginObject();
    nested.endObject();
    nested.endObject();
    nested.endArray();
    EXPECT_EQ(nested.take(), QByteArray("[\n  {\n    \"list\" : [\n\n    ],\n    \"map\" : {\n\n    }\n  }\n]"));
}
