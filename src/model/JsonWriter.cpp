#include "model/JsonWriter.h"

#include <QVarLengthArray>

#include <algorithm>

namespace qv {

namespace {

constexpr char kHex[] = "0123456789abcdef";

char *putUtf8(char *p, char32_t cp)
{
    if (cp < 0x800) {
        *p++ = char(0xC0 | (cp >> 6));
    } else if (cp < 0x10000) {
        *p++ = char(0xE0 | (cp >> 12));
        *p++ = char(0x80 | ((cp >> 6) & 0x3F));
    } else {
        *p++ = char(0xF0 | (cp >> 18));
        *p++ = char(0x80 | ((cp >> 12) & 0x3F));
        *p++ = char(0x80 | ((cp >> 6) & 0x3F));
    }
    *p++ = char(0x80 | (cp & 0x3F));
    return p;
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
    // Room for the worst case (every unit as \u00xx), trimmed afterwards.
    const qsizetype n = text.size();
    const qsizetype start = out.size();
    out.resize(start + 6 * n + 2);
    char *const begin = out.data() + start;
    char *p = begin;
    *p++ = '"';
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\' && c != u'/') {
            *p++ = char(c);
            continue;
        }
        switch (c) {
        case u'"': *p++ = '\\'; *p++ = '"'; continue;
        case u'\\': *p++ = '\\'; *p++ = '\\'; continue;
        case u'/': *p++ = '\\'; *p++ = '/'; continue;
        case u'\n': *p++ = '\\'; *p++ = 'n'; continue;
        case u'\r': *p++ = '\\'; *p++ = 'r'; continue;
        case u'\t': *p++ = '\\'; *p++ = 't'; continue;
        case u'\b': *p++ = '\\'; *p++ = 'b'; continue;
        case u'\f': *p++ = '\\'; *p++ = 'f'; continue;
        default: break;
        }
        if (c < 0x20) {
            *p++ = '\\';
            *p++ = 'u';
            *p++ = '0';
            *p++ = '0';
            *p++ = kHex[c >> 4];
            *p++ = kHex[c & 0xF];
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            p = putUtf8(p, QChar::surrogateToUcs4(c, text[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(c)) {
            p = putUtf8(p, 0xFFFD);
        } else {
            p = putUtf8(p, c);
        }
    }
    *p++ = '"';
    out.resize(start + (p - begin));
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
        QVarLengthArray<const JsonValue::Member *, 16> sorted;
        for (const auto &member : *members)
            sorted.push_back(&member);
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const JsonValue::Member *a, const JsonValue::Member *b) { return a->first < b->first; });
        out.append("{\n");
        if (sorted.empty())
            out.append('\n');
        for (qsizetype k = 0; k < sorted.size(); ++k) {
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
