#include "engine/Profiles.h"

#include "core/Random.h"
#include "engine/WordKey.h"
#include "engine/WordTables.h"

#include <QRegularExpression>

#include <algorithm>

namespace qv::engine {

GradeProfile gradeProfile(const QString &grade)
{
    if (grade == QLatin1String("9"))
        return {0.032, 0.60, {12, 18}, {65, 78}, {5000, 11000}, 3800, 28000, {0, 0}, 0, {110, 180}};
    if (grade == QLatin1String("10"))
        return {0.028, 0.62, {13, 20}, {68, 82}, {5500, 12000}, 4100, 30000, {10000, 18000}, 150, {120, 200}};
    if (grade == QLatin1String("11"))
        return {0.026, 0.65, {14, 21}, {72, 84}, {6000, 13500}, 4500, 33000, {15000, 25000}, 110, {140, 230}};
    return {0.024, 0.67, {14, 22}, {75, 85}, {6000, 14500}, 4500, 35000, {15000, 25000}, 110, {150, 240}};
}

StyleProfile computeStyleProfile(const QString &grade, const QString &review, bool humanize, int targetWpm,
                                 Random &random)
{
    Q_UNUSED(grade);
    const int t = std::clamp(targetWpm, 20, 160);
    const int spread = humanize ? 6 : 3;
    const bool heavy = review == QLatin1String("heavy");
    const double base = heavy ? 1.35 : review == QLatin1String("light") ? 0.9 : 1.0;

    StyleProfile s;
    s.minWpm = std::max(t - spread, 20);
    s.maxWpm = t + spread;
    if (!humanize) {
        s.errorScale = 0.45 * base;
        return s;
    }
    s.burstScale = random.uniformReal(0.9, 1.15);
    s.pauseScale = random.uniformReal(0.9, 1.2);
    s.errorScale = base * random.uniformReal(0.95, 1.25);
    s.correctionScale = random.uniformReal(0.85, 1.2);
    s.wordWpmBoost = (heavy ? 0.06 : 0.02) + random.uniformReal(-0.04, 0.06);
    s.drift = random.uniformReal(0.01, 0.04);
    s.hesitationProb = random.uniformReal(0.015, 0.04);
    return s;
}

ReviewLevel reviewNumbers(const QString &review)
{
    if (review == QLatin1String("light"))
        return {2, 2, 1, 400};
    if (review == QLatin1String("heavy"))
        return {12, 10, 6, 2200};
    return {4, 4, 2, 800};
}

ReviewLevel reviewLevel(const QString &review, bool humanize)
{
    ReviewLevel level = reviewNumbers(review);
    if (!humanize) {
        level.wordSwaps = 0;
        level.sentenceRewrites = 0;
    }
    return level;
}

int editBudget(const QString &review, bool humanize)
{
    const ReviewLevel level = reviewLevel(review, humanize);
    return level.minErrorFixes + level.wordSwaps + level.sentenceRewrites;
}

int adjustedForcedErrorEvery(const QString &review, bool humanize, Random &random)
{
    IntRange r;
    if (review == QLatin1String("heavy"))
        r = humanize ? IntRange{60, 90} : IntRange{70, 105};
    else if (review == QLatin1String("light"))
        r = humanize ? IntRange{120, 170} : IntRange{140, 200};
    else
        r = humanize ? IntRange{90, 130} : IntRange{110, 160};
    return int(random.uniformInt(r.lo, r.hi));
}

int getWordWpm(QStringView word, const GradeProfile &profile, int targetWpm, Random &random)
{
    Q_UNUSED(profile);
    const WordTables &tables = WordTables::standard();
    const QString w = letterCore(word);
    const int b = std::max(targetWpm, 20);
    if (tables.fastWords.contains(w))
        return std::min(b, 142) + 18;
    if (tables.slowWords.contains(w))
        return std::max(std::min(b, 160), 48) - 28;
    return int(random.uniformInt(std::max(std::min(b, 160), 26) - 6, std::min(b, 154) + 6));
}

void decayErrorCooldowns(QHash<QString, int> &cooldowns)
{
    for (auto it = cooldowns.begin(); it != cooldowns.end();) {
        if (--it.value() <= 0)
            it = cooldowns.erase(it);
        else
            ++it;
    }
}

bool isSentenceEnd(QStringView character) { return character == u"." || character == u"!" || character == u"?"; }

QList<platform::TextRange> computeSentenceRanges(const QString &text)
{
    static const QRegularExpression sentence(QStringLiteral("[^.!?]+[.!?]?"));
    QList<platform::TextRange> out;
    if (!sentence.isValid())
        return out;
    for (auto it = sentence.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedLength() > 0)
            out.append({m.capturedStart(), m.capturedLength()});
    }
    return out;
}

} // namespace qv::engine
