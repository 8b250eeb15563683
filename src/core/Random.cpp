#include "core/Random.h"

#include <QRandomGenerator>

#include <cmath>

namespace qv {

namespace {
std::uint64_t splitmix64(std::uint64_t &x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
} // namespace

SeededRandom::SeededRandom(std::uint64_t seed)
{
    for (auto &s : m_s)
        s = splitmix64(seed);
}

std::uint64_t SeededRandom::nextBits()
{
    const std::uint64_t result = rotl(m_s[1] * 5, 7) * 9;
    const std::uint64_t t = m_s[1] << 17;
    m_s[2] ^= m_s[0];
    m_s[3] ^= m_s[1];
    m_s[1] ^= m_s[2];
    m_s[0] ^= m_s[3];
    m_s[2] ^= t;
    m_s[3] = rotl(m_s[3], 45);
    return result;
}

qint64 SeededRandom::uniformInt(qint64 lo, qint64 hi)
{
    if (hi <= lo)
        return lo;
    const std::uint64_t span = std::uint64_t(hi) - std::uint64_t(lo);
    if (span == ~std::uint64_t(0))
        return qint64(nextBits());
    const std::uint64_t n = span + 1;
    // Rejection sampling keeps every value equally likely.
    const std::uint64_t limit = (~std::uint64_t(0)) - ((~std::uint64_t(0)) % n);
    std::uint64_t r;
    do {
        r = nextBits();
    } while (r >= limit);
    return qint64(std::uint64_t(lo) + r % n);
}

double SeededRandom::uniformReal(double lo, double hi)
{
    if (!(hi > lo))
        return lo;
    // 53 random bits over 2^53 - 1 steps: both ends of the closed range can occur.
    const double u = double(nextBits() >> 11) / double((std::uint64_t(1) << 53) - 1);
    const double v = lo + u * (hi - lo);
    return v > hi ? hi : v;
}

SystemRandom::SystemRandom() : m_gen(QRandomGenerator::system()->generate64()) {}

ScriptedRandom &ScriptedRandom::ints(std::initializer_list<qint64> values)
{
    for (qint64 v : values)
        m_script.append(Draw{Draw::Int, double(v)});
    return *this;
}

ScriptedRandom &ScriptedRandom::reals(std::initializer_list<double> values)
{
    for (double v : values)
        m_script.append(Draw{Draw::Real, v});
    return *this;
}

void ScriptedRandom::fail(const QString &message)
{
    if (m_onFailure)
        m_onFailure(message);
    else
        qFatal("ScriptedRandom: %s", qPrintable(message));
}

qint64 ScriptedRandom::uniformInt(qint64 lo, qint64 hi)
{
    if (m_next >= m_script.size()) {
        if (m_fallback)
            return m_fallback->uniformInt(lo, hi);
        fail(QStringLiteral("script ran out at an integer draw in [%1, %2]").arg(lo).arg(hi));
        return lo;
    }
    const Draw d = m_script[m_next++];
    if (d.kind != Draw::Int) {
        fail(QStringLiteral("draw %1: an integer in [%2, %3] was drawn, the script has a real")
                 .arg(m_next - 1)
                 .arg(lo)
                 .arg(hi));
        return lo;
    }
    const qint64 v = qint64(d.value);
    if (v < lo || v > (hi < lo ? lo : hi)) {
        fail(QStringLiteral("draw %1: %2 is outside [%3, %4]").arg(m_next - 1).arg(v).arg(lo).arg(hi));
        return lo;
    }
    return v;
}

double ScriptedRandom::uniformReal(double lo, double hi)
{
    if (m_next >= m_script.size()) {
        if (m_fallback)
            return m_fallback->uniformReal(lo, hi);
        fail(QStringLiteral("script ran out at a real draw in [%1, %2]").arg(lo).arg(hi));
        return lo;
    }
    const Draw d = m_script[m_next++];
    if (d.kind != Draw::Real) {
        fail(QStringLiteral("draw %1: a real in [%2, %3] was drawn, the script has an integer")
                 .arg(m_next - 1)
                 .arg(lo)
                 .arg(hi));
        return lo;
    }
    const double top = hi < lo ? lo : hi;
    if (d.value < lo || d.value > top) {
        fail(QStringLiteral("draw %1: %2 is outside [%3, %4]").arg(m_next - 1).arg(d.value).arg(lo).arg(hi));
        return lo;
    }
    return d.value;
}

} // namespace qv
