#include "model/JsonWriter.h"

#include <algorithm>

namespace qv {

namespace {

constexpr char kHex[] = "0123456789abcdef";

void appendUtf8(QByteArray &out, char32_t cp)
{
    if (cp < 0x80) {
        out.append(char(cp));
    } else if (cp < 0x800) {
        out.append(char(0xC0 | (cp >> 6)));
        out.append(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.append(char(0xE0 | (cp >> 12)));
        out.append(char(0x80 | ((cp >> 6) & 0x3F)));
        out.append(char(0x80 | (cp & 0x3F)));
    } else {
        out.append(char(0xF0 | (cp >> 18)));
        out.append(char(0x80 | ((cp >> 12) & 0x3F)));
        out.append(char(0x80 | ((cp >> 6) & 0x3F)));
        out.append(char(0x80 | (cp & 0x3F)));
    }
}

} // namespace

QByteArray JsonWriter::write(const JsonValue &value)
{
    QByteArray out;
    appendValue(out, value, 0);
    return out;
}

void JsonWriter::appendIndent(QByteArray &out, int depth)
{
    out.append(qsizetype(depth) * 2, ' ');
}

void JsonWriter::appendString(QByteArray &out, QStringView text)
{
    out.append('"');
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
        case u'"': out.append("\\\"", 2); continue;
        case u'\\': out.append("\\\\", 2); continue;
        case u'/': out.append("\\/", 2); continue;
        case u'\n': out.append("\\n", 2); continue;
        case u'\r': out.append("\\r", 2); continue;
        case u'\t': out.append("\\t", 2); continue;
        case u'\b': out.append("\\b", 2); continue;
        case u'\f': out.append("\\f", 2); continue;
        default: break;
        }
        if (c < 0x20) {
            const char esc[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
            out.append(esc, 6);
        } else if (c < 0x80) {
            out.append(char(c));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            appendUtf8(out, QChar::surrogateToUcs4(c, text[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, c);
        }
    }
    out.append('"');
}

void JsonWriter::appendValue(QByteArray &out, const JsonValue &value, int depth)
{
    if (const QString *s = value.asString()) {
        appendString(out, *s);
    } else if (const qint64 *i = value.asInteger()) {
        out.append(QByteArray::number(*i));
    } else if (const bool *b = value.asBoolean()) {
        out.append(*b ? "true" : "false");
    } else if (const JsonValue::Array *values = value.asArray()) {
        out.append("[\n");
        if (values->empty())
            out.append('\n');
        for (std::size_t k = 0; k < values->size(); ++k) {
            appendIndent(out, depth + 1);
            appendValue(out, (*values)[k], depth + 1);
            out.append(k + 1 < values->size() ? ",\n" : "\n");
        }
        appendIndent(out, depth);
        out.append(']');
    } else if (const JsonValue::Object *members = value.asObject()) {
        // Sort pointers, not members: the tree stays untouched and cheap to walk.
        std::vector<const JsonValue::Member *> sorted;
        sorted.reserve(members->size());
        for (const auto &member : *members)
            sorted.push_back(&member);
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const JsonValue::Member *a, const JsonValue::Member *b) { return a->first < b->first; });
        out.append("{\n");
        if (sorted.empty())
            out.append('\n');
        for (std::size_t k = 0; k < sorted.size(); ++k) {
            appendIndent(out, depth + 1);
            appendString(out, sorted[k]->first);
            out.append(" : ", 3);
            appendValue(out, sorted[k]->second, depth + 1);
            out.append(k + 1 < sorted.size() ? ",\n" : "\n");
        }
        appendIndent(out, depth);
        out.append('}');
    }
}

} // namespace qv
