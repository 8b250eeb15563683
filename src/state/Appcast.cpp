#include "state/Appcast.h"

#include <QRegularExpression>
#include <QStringList>

namespace qv::state::appcast {

namespace {
std::optional<QString> firstCapture(const QRegularExpression &re, const QString &text)
{
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1);
}

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
} // namespace

std::optional<QString> feedVersion(const QString &feed)
{
    // Unicode properties so that \s matches every blank, as the feed's writers expect.
    static const QRegularExpression re(QStringLiteral(R"(sparkle:shortVersionString>\s*([^<]+)\s*<)"),
                                       QRegularExpression::UseUnicodePropertiesOption);
    return firstCapture(re, feed);
}

std::optional<QString> feedDownloadAddress(const QString &feed)
{
    static const QRegularExpression re(QStringLiteral(R"re(enclosure[^>]*url="([^"]+)")re"),
                                       QRegularExpression::UseUnicodePropertiesOption);
    return firstCapture(re, feed);
}

std::optional<QUrl> openableUrl(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative())
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme != u"http" && scheme != u"https")
        return std::nullopt;
    if (url.host().isEmpty())
        return std::nullopt;
    return url;
}

qint64 versionPiece(const QString &piece)
{
    // By hand: toLongLong would accept surrounding blanks ("3 ").
    qsizetype i = 0;
    if (i < piece.size() && (piece[i] == u'+' || piece[i] == u'-'))
        ++i;
    if (i == piece.size())
        return 0;
    for (qsizetype j = i; j < piece.size(); ++j)
        if (!isAsciiDigit(piece[j]))
            return 0;
    bool ok = false;
    const qint64 value = piece.toLongLong(&ok, 10);
    return ok ? value : 0;
}

bool isVersionNewer(const QString &candidate, const QString &current)
{
    const QStringList a = candidate.split(u'.', Qt::SkipEmptyParts);
    const QStringList b = current.split(u'.', Qt::SkipEmptyParts);
    const qsizetype count = std::max(a.size(), b.size());
    for (qsizetype i = 0; i < count; ++i) {
        const qint64 x = i < a.size() ? versionPiece(a[i]) : 0;
        const qint64 y = i < b.size() ? versionPiece(b[i]) : 0;
        if (x != y)
            return x > y;
    }
    return false;
}

} // namespace qv::state::appcast
