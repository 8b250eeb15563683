#include "engine/KeyTiming.h"

#include "core/Random.h"
#include "core/Text.h"
#include "engine/RunParams.h"
#include "engine/RunState.h"
#include "engine/WordTables.h"

#include <algorithm>
#include <cmath>

namespace qv::engine {

double KeyTiming::baseDelay(int wpm, double drift, int charIndex)
{
    const double base = 60000.0 / (std::max(wpm, 1) * 5.0) * (1.0 + drift * charIndex / 1200.0);
    return base * (1.0 + 0.06 * std::sin(charIndex / 19.0) + 0.03 * std::sin(charIndex / 7.0));
}

bool KeyTiming::isShiftedSymbol(const QString &k)
{
    static const QString shifted = QStringLiteral("!@#$%^&*()_+{}|:\"<>?");
    return k.size() == 1 && shifted.contains(k.at(0));
}

double KeyTiming::keystrokeDelay(const QString &k, const RunState &state, const RunParams &params, Random &random)
{
    const WordTables &tables = WordTables::standard();
    const StyleProfile &style = params.style;
    auto r = [&random] { return random.uniformReal(0, 1); };

    int wpm = 0;
    if (state.currentWord.isEmpty()) {
        wpm = int(random.uniformInt(style.minWpm, style.maxWpm));
    } else {
        const int w = getWordWpm(state.currentWord, params.profile, params.options.targetWpm, random);
        wpm = std::max(int(w * (1.0 + style.wordWpmBoost)), 20);
    }
    double d = baseDelay(wpm, style.drift, state.charIndex);

    if (r() < 0.04)
        d += 80 + 60 * r();
    const QString lowerK = k.toLower();
    if (tables.digraphs.contains(state.prev.toLower() + lowerK))
        d = 60 + 35 * r();
    if (tables.vowels.contains(state.prevPrev.toLower()) && tables.vowels.contains(state.prev.toLower())
        && tables.vowels.contains(lowerK))
        d += 140 + 70 * r();
    const bool letter = text::isLetter(k);
    if (state.lastWasSpace && letter)
        d += 220 + 90 * r();
    if ((letter && text::isUppercase(k)) || isShiftedSymbol(k))
        d += 180 + 80 * r();
    if (text::graphemeCount(state.currentWord) >= 10)
        d += 90 + 70 * r();
    if (tables.pausePunctuation.contains(k))
        d += 180 + 80 * r();
    const double p = double(state.sentencePos) / std::max(state.sentenceLength, 1);
    if (p < 0.12)
        d += 60 + 60 * r();
    else if (p > 0.86)
        d += 90 + 60 * r();
    if (params.options.humanize && style.hesitationProb > 0 && r() < style.hesitationProb)
        d += 120 + 160 * r();
    return d;
}

} // namespace qv::engine
