#include "model/IsoDate.h"

namespace qv::isodate {

namespace {

// Reads exactly `count` ASCII digits at `pos`, advancing it.
bool readDigits(QStringView text, qsizetype &pos, int count, int &value)
{
    if (pos + count > text.size())
        return false;
    value = 0;
    for (int k = 0; k < count; ++k) {
        const char16_t c = text[pos + k].unicode();
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
    }
    pos += count;
    return true;
}

bool expect(QStringView text, qsizetype &pos, char16_t a, char16_t b = 0)
{
    if (pos >= text.size())
        return false;
    const char16_t c = text[pos].unicode();
    if (c != a && (b == 0 || c != b))
        return false;
    ++pos;
    return true;
}

char16_t *putDigits(char16_t *p, int value, int width)
{
    for (int k = width - 1; k >= 0; --k) {
        p[k] = char16_t(u'0' + value % 10);
        value /= 10;
    }
    return p + width;
}

} // namespace

std::optional<QString> format(const QDateTime &when)
{
    if (!when.isValid())
        return std::nullopt;
    const QDateTime utc = when.toUTC();
    const QDate d = utc.date();
    const QTime t = utc.time();
    if (d.year() < 1 || d.year() > 9999)
        return std::nullopt;
    QString out(20, Qt::Uninitialized);
    char16_t *p = reinterpret_cast<char16_t *>(out.data());
    p = putDigits(p, d.year(), 4);
    *p++ = u'-';
    p = putDigits(p, d.month(), 2);
    *p++ = u'-';
    p = putDigits(p, d.day(), 2);
    *p++ = u'T';
    p = putDigits(p, t.hour(), 2);
    *p++ = u':';
    p = putDigits(p, t.minute(), 2);
    *p++ = u':';
    p = putDigits(p, t.second(), 2);
    *p = u'Z';
    return out;
}

std::optional<QDateTime> parse(QStringView text)
{
    qsizetype pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!readDigits(text, pos, 4, year) || !expect(text, pos, u'-') || !readDigits(text, pos, 2, month)
        || !expect(text, pos, u'-') || !readDigits(text, pos, 2, day) || !expect(text, pos, u'T', u't')
        || !readDigits(text, pos, 2, hour) || !expect(text, pos, u':') || !readDigits(text, pos, 2, minute)
        || !expect(text, pos, u':') || !readDigits(text, pos, 2, second))
        return std::nullopt;

    int msec = 0;
    if (pos < text.size() && text[pos] == u'.') {
        ++pos;
        int digits = 0;
        while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
            if (digits < 3)
                msec = msec * 10 + (text[pos].unicode() - u'0');
            ++digits;
            ++pos;
        }
        if (digits == 0)
            return std::nullopt;
        for (int k = digits; k < 3; ++k)
            msec *= 10;
    }

    int offsetSeconds = 0;
    if (expect(text, pos, u'Z', u'z')) {
        // UTC
    } else if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        const int sign = text[pos] == u'-' ? -1 : 1;
        ++pos;
        int oh = 0, om = 0;
        if (!readDigits(text, pos, 2, oh))
            return std::nullopt;
        if (pos < text.size() && text[pos] == u':')
            ++pos;
        if (!readDigits(text, pos, 2, om) || oh > 23 || om > 59)
            return std::nullopt;
        offsetSeconds = sign * (oh * 3600 + om * 60);
    } else {
        return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;

    const QDate date(year, month, day);
    const QTime time(hour, minute, second, msec);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    QDateTime result(date, time, Qt::UTC);
    result = result.addSecs(-offsetSeconds);
    // Only what can be written back in four digits is read.
    if (!result.isValid() || result.date().year() < 1 || result.date().year() > 9999)
        return std::nullopt;
    return result;
}

} // namespace qv::isodate
