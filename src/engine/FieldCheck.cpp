#include "engine/FieldCheck.h"

namespace qv::engine {

namespace {
QString plainTypography(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case 0x2018: // ‘ ’ ‚ ‛ ′
        case 0x2019:
        case 0x201A:
        case 0x201B:
        case 0x2032:
            out += QLatin1Char('\'');
            break;
        case 0x201C: // “ ” „ ‟ ″ « »
        case 0x201D:
        case 0x201E:
        case 0x201F:
        case 0x2033:
        case 0x00AB:
        case 0x00BB:
            out += QLatin1Char('"');
            break;
        case 0x2013: // – —
        case 0x2014:
            out += QLatin1Char('-');
            break;
        case 0x2026: // …
            out += QStringLiteral("...");
            break;
        default:
            out += c;
        }
    }
    // A double hyphen becomes one dash.
    out.replace(QStringLiteral("--"), QStringLiteral("-"));
    return out;
}
} // namespace

bool rewrittenByTarget(const QString &live, const QString &intended)
{
    return live != intended && plainTypography(live) == plainTypography(intended);
}

} // namespace qv::engine
