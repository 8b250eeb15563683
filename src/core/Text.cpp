#include "core/Text.h"

#include <QChar>
#include <QRegularExpression>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <utility>

namespace qv::text {

namespace {
bool isRegionalIndicatorAt(QStringView s, qsizetype i)
{
    if (i + 1 >= s.size() || !s.at(i).isHighSurrogate() || !s.at(i + 1).isLowSurrogate())
        return false;
    const char32_t c = QChar::surrogateToUcs4(s.at(i), s.at(i + 1));
    return c >= 0x1F1E6 && c <= 0x1F1FF;
}

// Qt's finder loses count of regional indicators that follow an emoji
// sequence and splits the flag after it. Flags pair up from the start of a
// run of indicators, whatever stands before it.
void pairRegionalIndicators(QStringView s, QList<int> &bounds)
{
    for (qsizetype i = 0; i < s.size();) {
        if (!isRegionalIndicatorAt(s, i)) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (isRegionalIndicatorAt(s, i))
            i += 2;
        QList<int> fixed;
        fixed.reserve(bounds.size());
        for (int b : bounds)
            if (b <= start || b >= i)
                fixed.append(b);
        for (qsizetype p = start + 4; p < i; p += 4)
            fixed.append(int(p));
        std::sort(fixed.begin(), fixed.end());
        bounds = fixed;
    }
}
} // namespace

QList<int> graphemeBoundaries(QStringView s)
{
    QList<int> out;
    out.reserve(s.size() + 1);
    out.append(0);
    if (s.isEmpty())
        return out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, s.data(), int(s.size()));
    finder.toStart();
    bool regional = false;
    for (qsizetype p = finder.toNextBoundary(); p > 0; p = finder.toNextBoundary())
        out.append(int(p));
    if (out.last() != s.size())
        out.append(int(s.size()));
    for (qsizetype i = 0; i + 1 < s.size() && !regional; ++i)
        regional = isRegionalIndicatorAt(s, i);
    if (regional)
        pairRegionalIndicators(s, out);
    return out;
}

QStringList graphemes(QStringView s)
{
    QStringList out;
    const QList<int> b = graphemeBoundaries(s);
    out.reserve(b.size() - 1);
    for (int i = 0; i + 1 < b.size(); ++i)
        out.append(s.mid(b[i], b[i + 1] - b[i]).toString());
    return out;
}

int graphemeCount(QStringView s) { return int(graphemeBoundaries(s).size()) - 1; }

int offsetOfGrapheme(QStringView s, int index)
{
    if (index <= 0)
        return 0;
    const QList<int> b = graphemeBoundaries(s);
    return index >= b.size() ? int(s.size()) : b[index];
}

int graphemeIndexAt(QStringView s, int offset)
{
    const QList<int> b = graphemeBoundaries(s);
    const int o = std::clamp(offset, 0, int(s.size()));
    // Boundaries strictly below the offset are the starts of graphemes before it.
    return int(std::lower_bound(b.begin(), b.end(), o) - b.begin());
}

namespace {
// The line around `offset`: a line feed always ends a grapheme and the next
// one starts after it (CR LF kept whole), so the boundaries of the line are
// those of the whole text there. Spares a scan of a long text per caret step.
std::pair<int, int> lineAround(QStringView s, int offset)
{
    const int from = int(s.lastIndexOf(QChar(u'\n'), offset - 1)) + 1;
    int to = int(s.indexOf(QChar(u'\n'), offset));
    if (to < 0)
        to = int(s.size());
    else if (to > 0 && s.at(to - 1) == QChar(u'\r'))
        ++to;
    return {from, to};
}

enum class Side { Before, After };

// `offset` when it is a grapheme boundary, else the nearest boundary on `side`.
int boundaryNear(QStringView s, int offset, Side side)
{
    if (offset <= 0)
        return 0;
    if (offset >= s.size())
        return int(s.size());
    const auto [from, to] = lineAround(s, offset);
    const QList<int> b = graphemeBoundaries(s.mid(from, to - from));
    const auto it = side == Side::After ? std::lower_bound(b.begin(), b.end(), offset - from)
                                        : std::upper_bound(b.begin(), b.end(), offset - from) - 1;
    return from + *it;
}
} // namespace

int boundaryAtOrBefore(QStringView s, int offset) { return boundaryNear(s, offset, Side::Before); }

int boundaryAtOrAfter(QStringView s, int offset) { return boundaryNear(s, offset, Side::After); }

bool isGraphemeBoundary(QStringView s, int offset)
{
    return offset >= 0 && offset <= s.size() && boundaryAtOrBefore(s, offset) == offset;
}

char32_t firstScalar(QStringView s)
{
    if (s.isEmpty())
        return 0;
    const QChar c = s.at(0);
    if (c.isHighSurrogate() && s.size() > 1 && s.at(1).isLowSurrogate())
        return QChar::surrogateToUcs4(c, s.at(1));
    return c.unicode();
}

int codePointCount(QStringView s)
{
    int n = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
            ++i;
        ++n;
    }
    return n;
}

bool isWhitespaceScalar(char32_t c)
{
    switch (c) {
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x20:
    case 0x85:
    case 0xA0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

bool isNewlineScalar(char32_t c) { return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029; }

QString trimmed(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end) {
        const char32_t c = firstScalar(s.mid(begin));
        if (!isWhitespaceScalar(c))
            break;
        begin += c > 0xFFFF ? 2 : 1;
    }
    while (end > begin) {
        // Every whitespace scalar is in the BMP, so one unit decides.
        if (!isWhitespaceScalar(s.at(end - 1).unicode()) || s.at(end - 1).isSurrogate())
            break;
        --end;
    }
    return s.mid(begin, end - begin).toString();
}

bool isLetter(QStringView cluster) { return !cluster.isEmpty() && QChar::isLetter(firstScalar(cluster)); }

bool isNumber(QStringView cluster) { return !cluster.isEmpty() && QChar::isNumber(firstScalar(cluster)); }

bool isLetterOrNumber(QStringView cluster) { return isLetter(cluster) || isNumber(cluster); }

bool isUppercase(QStringView cluster) { return !cluster.isEmpty() && QChar::isUpper(firstScalar(cluster)); }

bool isLowercase(QStringView cluster) { return !cluster.isEmpty() && QChar::isLower(firstScalar(cluster)); }

bool isWhitespace(QStringView cluster) { return !cluster.isEmpty() && isWhitespaceScalar(firstScalar(cluster)); }

bool isNewline(QStringView cluster) { return !cluster.isEmpty() && isNewlineScalar(firstScalar(cluster)); }

bool isPunctuation(QStringView cluster) { return !cluster.isEmpty() && QChar::isPunct(firstScalar(cluster)); }

QString abbreviatedDateTime(const QDateTime &when, const QLocale &locale)
{
    // The locale's long date without the weekday and with short month
    // names, then its short time with any seconds dropped (the C locale's
    // short time carries them).
    static const QRegularExpression weekday(QStringLiteral("d{4}[,.]?\\s*"));
    static const QRegularExpression seconds(QStringLiteral("[:.]?s{1,2}([.,]z{1,3})?"));
    QString dateFormat = locale.dateFormat(QLocale::LongFormat);
    dateFormat.remove(weekday);
    dateFormat.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    timeFormat.remove(seconds);
    const QDateTime local = when.toLocalTime();
    return locale.toString(local.date(), dateFormat.trimmed()) + QStringLiteral(", ")
           + locale.toString(local.time(), timeFormat.trimmed());
}

} // namespace qv::text
