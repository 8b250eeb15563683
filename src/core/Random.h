#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>

namespace qv {

// Every random draw of the application goes through one injected Random.
// Draws are fresh and uniform: integers from inclusive ranges, reals from
// closed ranges. The mapping from generator bits to values is our own, so a
// seed gives the same sequence with every compiler and standard library.
class Random {
public:
    virtual ~Random() = default;
    // Uniform integer in [lo, hi]; lo > hi gives lo.
    virtual qint64 uniformInt(qint64 lo, qint64 hi) = 0;
    // Uniform real in [lo, hi]; lo >= hi gives lo.
    virtual double uniformReal(double lo, double hi) = 0;

    bool chance(double probability) { return uniformReal(0.0, 1.0) < probability; }
};

// xoshiro256** seeded through splitmix64.
class SeededRandom final : public Random {
public:
    explicit SeededRandom(std::uint64_t seed);
    qint64 uniformInt(qint64 lo, qint64 hi) override;
    double uniformReal(double lo, double hi) override;
    std::uint64_t nextBits();

private:
    std::uint64_t m_s[4];
};

// Production generator: seeded once from the operating system.
class SystemRandom final : public Random {
public:
    SystemRandom();
    qint64 uniformInt(qint64 lo, qint64 hi) override { return m_gen.uniformInt(lo, hi); }
    double uniformReal(double lo, double hi) override { return m_gen.uniformReal(lo, hi); }

private:
    SeededRandom m_gen;
};

// A test's exact script of draws. Each draw takes the next value, which must
// be of the right kind and inside the requested range; running out or a
// mismatch calls the failure handler (by default a fatal error), so a test
// never silently reads past its script.
class ScriptedRandom final : public Random {
public:
    struct Draw {
        enum Kind { Int, Real } kind;
        double value;
    };
    using FailureHandler = std::function<void(const QString &)>;

    ScriptedRandom() = default;
    ScriptedRandom &ints(std::initializer_list<qint64> values);
    ScriptedRandom &reals(std::initializer_list<double> values);
    void setFailureHandler(FailureHandler handler) { m_onFailure = std::move(handler); }
    // Once the script is used up, further draws come from this generator
    // instead of failing (for tests that script only the first draws).
    void setFallback(Random *fallback) { m_fallback = fallback; }

    qint64 uniformInt(qint64 lo, qint64 hi) override;
    double uniformReal(double lo, double hi) override;

    qsizetype remaining() const { return m_script.size() - m_next; }
    qsizetype used() const { return m_next; }

private:
    void fail(const QString &message);
    QList<Draw> m_script;
    qsizetype m_next = 0;
    FailureHandler m_onFailure;
    Random *m_fallback = nullptr;
};

} // namespace qv
