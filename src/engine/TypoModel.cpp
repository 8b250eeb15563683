#include "engine/TypoModel.h"

#include "core/Random.h"
#include "core/Text.h"
#include "engine/RunParams.h"
#include "engine/RunState.h"
#include "engine/WordKey.h"
#include "engine/WordTables.h"

#include <algorithm>

namespace qv::engine {

namespace {
QString firstCluster(const QString &s)
{
    if (s.isEmpty())
        return s;
    const int end = text::boundaryAtOrAfter(s, 1);
    return s.left(end);
}
} // namespace

QString TypoModel::generateHumanError(const QString &c, const QString &prev, const QString &prevPrev, Random &random)
{
    const QString lower = firstCluster(c.toLower());
    const bool upper = text::isUppercase(c);
    const double r = random.uniformReal(0, 1);
    if (r < 0.62) {
        const QStringList neighbours = WordTables::standard().nearbyKeys.value(lower);
        if (neighbours.isEmpty())
            return {};
        const QString pick = neighbours.at(int(random.uniformInt(0, neighbours.size() - 1)));
        return upper ? firstCluster(pick.toUpper()) : pick;
    }
    if (r < 0.78) {
        if (upper)
            return lower;
        if (text::isLetter(c))
            return firstCluster(c.toUpper());
        return {};
    }
    if (r < 0.9) {
        if (text::isLetter(prev) && text::isLetter(c) && text::isLetter(prevPrev))
            return prev;
        return {};
    }
    return text::isLetter(c) ? c : QString();
}

TypoDecision TypoModel::decide(const QString &c, const RunState &state, const RunParams &params, Random &random)
{
    TypoDecision out;
    const bool early = params.options.humanize && !state.earlyTypoDone
                       && state.charIndex >= 38 + params.earlyTypoOffset;
    const int left = std::max(params.remainingCount() - state.charIndex - 1, 0);
    if (!text::isLetter(c))
        return out;

    const bool forced = state.typedCount >= 1
                        && (state.typedCount % std::max(params.forcedErrorEvery, 1) == 0 || early
                            || (left < 120 && state.typoCount() < params.minErrors));

    const double heading = state.headingLine ? 0.55 : 1.0;
    const int wordLength = text::graphemeCount(state.currentWord);
    const double length = wordLength > 9 ? 1.18 : wordLength >= 4 ? 1.0 : 0.75;
    out.cooldownKey = letterCore(QString(state.currentWord + c));
    const double cooldown = state.errorCooldowns.value(out.cooldownKey, 0) > 0 ? 0.2 : 1.0;

    if (!forced) {
        const double r = random.uniformReal(0, 1);
        if (!(r < params.profile.errorProbability * heading * length * cooldown * params.style.errorScale))
            return out;
    }

    out.earlyAttempt = early;
    out.wrong = generateHumanError(c, state.prev, state.prevPrev, random);
    if (out.wrong.isEmpty())
        return out;

    const bool budgetLeft = state.editCount < params.editBudget;
    auto correct = [&](double base, double spread) {
        out.kind = TypoDecision::Kind::Immediate;
        out.wrongKeyWaitMs = base + spread * random.uniformReal(0, 1);
    };
    if (!params.allowDeferred) {
        correct(120, 160);
    } else if (state.deferredErrors.size() < params.maxDeferred && left <= 399 && state.charIndex > 40) {
        out.kind = TypoDecision::Kind::Deferred;
    } else if (forced) {
        if (budgetLeft)
            out.kind = TypoDecision::Kind::Deferred;
        else
            correct(80, 120);
    } else {
        const double r = random.uniformReal(0, 1);
        if (r < params.profile.correctionProbability * params.style.correctionScale || !budgetLeft)
            correct(80, 120);
        else
            out.kind = TypoDecision::Kind::Deferred;
    }
    return out;
}

} // namespace qv::engine
