#include "engine/FieldCheck.h"

#include "core/Text.h"
#include "engine/RepairRules.h"

#include <algorithm>
#include <optional>

namespace qv::engine {

namespace {

// How far apart a difference may leave the two texts before they are
// compared as one differing stretch, and how many units must agree again
// for a difference to have ended.
constexpr int kResyncWindow = 64;
constexpr int kResyncRun = 8;
// The most spaces an editor puts in for one tab.
constexpr int kTabWidthLimit = 8;

bool isSingleQuote(QChar c)
{
    switch (c.unicode()) {
    case 0x2018: // ‘ ’ ‚ ‛ ′
    case 0x2019:
    case 0x201A:
    case 0x201B:
    case 0x2032:
        return true;
    default:
        return false;
    }
}

bool isDoubleQuote(QChar c)
{
    switch (c.unicode()) {
    case 0x201C: // “ ” „ ‟ ″ « »
    case 0x201D:
    case 0x201E:
    case 0x201F:
    case 0x2033:
    case 0x00AB:
    case 0x00BB:
        return true;
    default:
        return false;
    }
}

bool isDash(QChar c) { return c.unicode() == 0x2013 || c.unicode() == 0x2014; }

// A unit of the field that is the intended one, or its one-for-one rewrite.
bool sameOrRewritten(QChar live, QChar intended)
{
    return live == intended || (intended == QLatin1Char('\'') && isSingleQuote(live))
           || (intended == QLatin1Char('"') && isDoubleQuote(live)) || (intended == QLatin1Char('-') && isDash(live));
}

bool agree(QStringView live, QStringView intended)
{
    if (live.size() != intended.size())
        return false;
    for (qsizetype k = 0; k < live.size(); ++k)
        if (!sameOrRewritten(live.at(k), intended.at(k)))
            return false;
    return true;
}

// The start of a sentence: the text's start, a line's start, or after a
// full stop, question or exclamation mark and a space.
bool startsSentence(const QString &text, qsizetype at)
{
    qsizetype k = at - 1;
    if (k < 0 || text.at(k) == QLatin1Char('\n'))
        return true;
    if (text.at(k) != QLatin1Char(' '))
        return false;
    while (k >= 0 && text.at(k) == QLatin1Char(' '))
        --k;
    if (k < 0 || text.at(k) == QLatin1Char('\n'))
        return true;
    const QChar before = text.at(k);
    return before == QLatin1Char('.') || before == QLatin1Char('?') || before == QLatin1Char('!');
}

bool isWordEdge(const QString &text, qsizetype at)
{
    return at < 0 || at >= text.size() || !text.at(at).isLetterOrNumber();
}

struct Step {
    int live = 0;
    int intended = 0;
};

// The application's rewrite of what stands at `j` of the intended text as
// it stands at `i` of the live text: how many units it takes of each; none
// (zero) when no rewrite explains the difference there.
Step rewriteAt(const QString &live, qsizetype i, const QString &intended, qsizetype j)
{
    const QChar l = live.at(i);
    const QChar t = intended.at(j);
    if (t == QLatin1Char('\'') && isSingleQuote(l))
        return {1, 1};
    if (t == QLatin1Char('"') && isDoubleQuote(l))
        return {1, 1};
    if (isDash(l) && t == QLatin1Char('-'))
        return {1, intended.mid(j, 2) == QLatin1String("--") ? 2 : 1};
    if (l.unicode() == 0x2026 && intended.mid(j, 3) == QLatin1String("..."))
        return {1, 3};
    if (t == QLatin1Char('\t') && l == QLatin1Char(' ')) {
        // A run of tabs as one run of spaces, up to a tab's width each.
        int tabs = 0;
        while (j + tabs < intended.size() && intended.at(j + tabs) == QLatin1Char('\t'))
            ++tabs;
        int spaces = 0;
        while (spaces < kTabWidthLimit * tabs && i + spaces < live.size() && live.at(i + spaces) == QLatin1Char(' '))
            ++spaces;
        if (spaces >= tabs)
            return {spaces, tabs};
    }
    if (l.isUpper() && l.toLower() == t
        && (startsSentence(intended, j)
            || (t == QLatin1Char('i') && isWordEdge(intended, j - 1) && isWordEdge(intended, j + 1))))
        return {1, 1};
    return {};
}

// Where the two texts agree again after a difference at `i` and `j`: the
// units each side's difference takes; none when they do not within the
// window.
std::optional<Step> resync(const QString &live, qsizetype i, const QString &intended, qsizetype j)
{
    const qsizetype L = live.size();
    const qsizetype T = intended.size();
    for (int shift = 1; shift <= kResyncWindow * 2; ++shift) {
        for (int a = std::max(0, shift - kResyncWindow); a <= std::min(shift, kResyncWindow); ++a) {
            const int b = shift - a;
            if (i + a > L || j + b > T)
                continue;
            const qsizetype run = std::min<qsizetype>({kResyncRun, L - i - a, T - j - b});
            // Both ended, or the next units agree (and the shorter side's
            // end is not mistaken for agreement).
            const bool bothEnd = i + a == L && j + b == T;
            if (bothEnd
                || (run > 0 && (run == kResyncRun || (L - i - a == run && T - j - b == run))
                    && agree(QStringView(live).mid(i + a, run), QStringView(intended).mid(j + b, run))))
                return Step{a, b};
        }
    }
    return std::nullopt;
}

} // namespace

FieldComparison compareField(const QString &live, const QString &intended)
{
    FieldComparison out;
    out.accepted.reserve(intended.size());
    const qsizetype L = live.size();
    const qsizetype T = intended.size();
    qsizetype i = 0;
    qsizetype j = 0;
    const auto noteShift = [&] {
        const qsizetype delta = i - j;
        if (delta != (out.shifts.isEmpty() ? 0 : out.shifts.last().second))
            out.shifts.append({j, delta});
    };
    const auto differs = [&](qsizetype a, qsizetype b) {
        // A stretch starts and ends between characters on both sides, so a
        // repair never selects half of one.
        while ((!text::isGraphemeBoundary(live, int(i)) || !text::isGraphemeBoundary(intended, int(j))) && i > 0
               && j > 0 && !out.accepted.isEmpty() && live.at(i - 1) == intended.at(j - 1)) {
            out.accepted.chop(1);
            --i;
            --j;
            ++a;
            ++b;
        }
        while ((!text::isGraphemeBoundary(live, int(i + a)) || !text::isGraphemeBoundary(intended, int(j + b)))
               && i + a < L && j + b < T && live.at(i + a) == intended.at(j + b)) {
            ++a;
            ++b;
        }
        out.stretches.append({i, a, intended.mid(j, b)});
        out.accepted += QStringView(intended).mid(j, b);
        i += a;
        j += b;
        noteShift();
    };
    while (i < L || j < T) {
        if (i < L && j < T && live.at(i) == intended.at(j)) {
            out.accepted += live.at(i);
            ++i;
            ++j;
            continue;
        }
        if (i < L && j < T) {
            const Step rewrite = rewriteAt(live, i, intended, j);
            if (rewrite.live > 0) {
                out.accepted += QStringView(live).mid(i, rewrite.live);
                out.rewritten += text::graphemeCount(QStringView(intended).mid(j, rewrite.intended));
                i += rewrite.live;
                j += rewrite.intended;
                noteShift();
                continue;
            }
        }
        if (const std::optional<Step> step = resync(live, i, intended, j)) {
            differs(step->live, step->intended);
            continue;
        }
        // Too far apart to tell: everything up to the common end differs.
        qsizetype suffix = 0;
        while (suffix < L - i && suffix < T - j && live.at(L - 1 - suffix) == intended.at(T - 1 - suffix))
            ++suffix;
        differs(L - suffix - i, T - suffix - j);
    }
    // Counted as everywhere else: characters left over once the most are
    // matched in order, between the field and the text it should hold.
    out.off = out.stretches.isEmpty() ? 0 : differingCharacters(live, out.accepted);
    return out;
}

qsizetype FieldComparison::liveOffset(qsizetype intendedOffset) const
{
    qsizetype delta = 0;
    for (const auto &[from, shift] : shifts) {
        if (from > intendedOffset)
            break;
        delta = shift;
    }
    return intendedOffset + delta;
}

bool rewrittenByTarget(const QString &live, const QString &intended)
{
    if (live == intended)
        return false;
    const FieldComparison compared = compareField(live, intended);
    return compared.off == 0 && compared.rewritten > 0;
}

} // namespace qv::engine
