#include "study/CardPicker.h"

#include "core/Random.h"
#include "model/StudyItem.h"
#include "study/Counters.h"

#include <algorithm>

namespace qv::study {

qint64 cardWeight(const StudyItem &item)
{
    const qint64 w = saturatingAdd(saturatingAdd(saturatingMul(2, item.incorrectCount), 1),
                                   item.correctCount == std::numeric_limits<qint64>::min()
                                       ? std::numeric_limits<qint64>::max()
                                       : -item.correctCount);
    return std::max<qint64>(1, w);
}

qsizetype weightedPick(const QList<StudyItem> &pool, Random &random)
{
    qint64 total = 0;
    for (const StudyItem &item : pool)
        total = saturatingAdd(total, cardWeight(item));
    const qint64 r = random.uniformInt(0, std::max<qint64>(total, 1) - 1);
    qint64 running = 0;
    for (qsizetype i = 0; i < pool.size(); ++i) {
        running = saturatingAdd(running, cardWeight(pool[i]));
        if (running > r)
            return i;
    }
    return 0;
}

QList<StudyItem> termOrder(const QList<StudyItem> &items)
{
    // QString's own ordering compares UTF-16 units, which puts characters
    // above U+FFFF before U+E000..U+FFFF; code points decide here.
    QList<std::pair<QList<uint>, qsizetype>> keys;
    keys.reserve(items.size());
    for (qsizetype i = 0; i < items.size(); ++i)
        keys.append({items[i].term.toLower().toUcs4(), i});
    std::stable_sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<StudyItem> out;
    out.reserve(items.size());
    for (const auto &k : keys)
        out.append(items[k.second]);
    return out;
}

QList<int> goalOptions(qsizetype n)
{
    QList<int> out;
    for (int step : {5, 10, 15, 20})
        if (n > step)
            out.append(step);
    out.append(int(std::clamp<qsizetype>(n, 1, std::numeric_limits<int>::max())));
    return out;
}

} // namespace qv::study
