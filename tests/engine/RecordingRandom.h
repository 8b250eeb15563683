#pragma once

#include "core/Random.h"

#include <QList>

#include <utility>

namespace qv::test {

// Answers every draw with one end of the requested range and records the
// ranges asked for, so tests can check both the ranges and the extremes.
class RecordingRandom final : public Random {
public:
    enum class End { Low, High };
    explicit RecordingRandom(End end = End::Low) : m_end(end) {}

    qint64 uniformInt(qint64 lo, qint64 hi) override
    {
        ints.append({lo, hi});
        return m_end == End::Low || hi < lo ? lo : hi;
    }
    double uniformReal(double lo, double hi) override
    {
        reals.append({lo, hi});
        return m_end == End::Low || hi < lo ? lo : hi;
    }

    QList<std::pair<qint64, qint64>> ints;
    QList<std::pair<double, double>> reals;

private:
    End m_end;
};

} // namespace qv::test
