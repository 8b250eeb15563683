#pragma once

#include <QtGlobal>

#include <limits>

// Counter arithmetic for values read from hand-editable files: sums stop at
// the ends of the range instead of wrapping.
namespace qv::study {

inline qint64 saturatingAdd(qint64 a, qint64 b)
{
    qint64 out;
    if (__builtin_add_overflow(a, b, &out))
        return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return out;
}

inline qint64 saturatingMul(qint64 a, qint64 b)
{
    qint64 out;
    if (__builtin_mul_overflow(a, b, &out))
        return (a < 0) == (b < 0) ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return out;
}

// `part` of `whole` as a whole percentage, in integers so that 29 of 50 is
// 58 (a floating-point product would truncate 57.99… to 57); 0 without a whole.
inline int percentOf(qint64 part, qint64 whole)
{
    if (whole < 1)
        return 0;
    const __int128 p = __int128(part) * 100 / whole;
    if (p > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (p < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(p);
}

} // namespace qv::study
