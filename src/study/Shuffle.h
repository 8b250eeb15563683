#pragma once

#include "core/Random.h"

#include <QList>

#include <utility>

namespace qv::study {

// Uniform Fisher–Yates shuffle with one draw per step, from the last
// position down, so a scripted Random reproduces it exactly.
template <typename T>
void shuffleInPlace(QList<T> &list, Random &random)
{
    for (qsizetype i = list.size() - 1; i > 0; --i) {
        const qsizetype j = qsizetype(random.uniformInt(0, i));
        if (j != i)
            std::swap(list[i], list[j]);
    }
}

} // namespace qv::study
