#include "model/JsonWriter.h"

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

void JsonWriter::newLineAndIndent(qsizetype depth)
{
    m_out.append('\n');
    m_out.append(depth * 2, ' ');
}

void JsonWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.isEmpty())
        return;
    Level &level = m_levels.last();
    Q_ASSERT(!level.object);
    if (level.count++ > 0)
        m_out.append(',');
    newLineAndIndent(m_levels.size());
}

void JsonWriter::key(QLatin1StringView name)
{
    Q_ASSERT(!m_levels.isEmpty() && m_levels.last().object && !m_afterKey);
    Level &level = m_levels.last();
    Q_ASSERT(level.count == 0 || level.lastKey < name);
    level.lastKey = name;
    if (level.count++ > 0)
        m_out.append(',');
    newLineAndIndent(m_levels.size());
    m_out.append('"');
    m_out.append(name.data(), name.size());
    m_out.append("\" : ", 4);
    m_afterKey = true;
}

void JsonWriter::open(char bracket, bool object)
{
    beforeValue();
    m_out.append(bracket);
    m_levels.append(Level{object, 0, {}});
}

void JsonWriter::close(char bracket)
{
    Q_ASSERT(!m_levels.isEmpty() && !m_afterKey);
    const bool empty = m_levels.last().count == 0;
    m_levels.removeLast();
    // An empty container still gets its line break and a blank line.
    if (empty)
        m_out.append('\n');
    newLineAndIndent(m_levels.size());
    m_out.append(bracket);
}

void JsonWriter::beginArray() { open('[', false); }

void JsonWriter::endArray() { close(']'); }

void JsonWriter::beginObject() { open('{', true); }

void JsonWriter::endObject() { close('}'); }

void JsonWriter::string(QStringView text)
{
    beforeValue();
    appendString(m_out, text);
}

void JsonWriter::integer(qint64 value)
{
    beforeValue();
    m_out.append(QByteArray::number(value));
}

void JsonWriter::boolean(bool value)
{
    beforeValue();
    m_out.append(value ? "true" : "false");
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
        case u'"':
            *p++ = '\\';
            *p++ = '"';
            continue;
        case u'\\':
            *p++ = '\\';
            *p++ = '\\';
            continue;
        case u'/':
            *p++ = '\\';
            *p++ = '/';
            continue;
        case u'\n':
            *p++ = '\\';
            *p++ = 'n';
            continue;
        case u'\r':
            *p++ = '\\';
            *p++ = 'r';
            continue;
        case u'\t':
            *p++ = '\\';
            *p++ = 't';
            continue;
        case u'\b':
            *p++ = '\\';
            *p++ = 'b';
            continue;
        case u'\f':
            *p++ = '\\';
            *p++ = 'f';
            continue;
        default:
            break;
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

} // namespace qv
