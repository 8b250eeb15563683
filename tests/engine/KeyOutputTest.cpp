#include "engine/KeyOutput.h"
#include "engine/TypingEngine.h"

#include "FakeDesktop.h"
#include "TestPrinters.h"

#include "core/Random.h"
#include "core/VirtualScheduler.h"
#include "support/CoroTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace qv::engine;
using qv::test::FakeKeyboard;
using qv::test::runTask;

namespace {
struct Keys : ::testing::Test {
    qv::VirtualScheduler clock;
    qv::test::FakePlatform desktop{clock};
    qv::ScriptedRandom random;
    KeyOutput keys{desktop.kb, clock, random};
    int stopCalls = 0;
    int stopAt = -1; // the call (1-based) from which the flag says stop

    StopFlag stop()
    {
        return [this] {
            ++stopCalls;
            return stopAt > 0 && stopCalls >= stopAt;
        };
    }
};
} // namespace

TEST_F(Keys, CharactersAndSpecialKeys)
{
    runTask(clock, keys.sendKey(QStringLiteral("\n")));
    runTask(clock, keys.sendKey(QStringLiteral("\t")));
    runTask(clock, keys.sendKey(QStringLiteral("\r\n")));
    runTask(clock, keys.sendKey(QString::fromUtf8("👍🏽")));
    runTask(clock, keys.sendKey(SpecialKey::Delete));
    runTask(clock, keys.sendKey(SpecialKey::Right));
    runTask(clock, keys.sendCommandShortcut(SpecialKey::A));
    runTask(clock, keys.sendCommandShortcut(SpecialKey::C));
    runTask(clock, keys.sendCommandShortcut(SpecialKey::Tab));
    EXPECT_EQ(desktop.kb.keys, (QStringList{"<Return>", "<Tab>", "\r\n", QString::fromUtf8("👍🏽"), "<Backspace>",
                                            "<Right>", "^A", "^C"}));
    EXPECT_EQ(clock.nowMs(), 0);
}

TEST_F(Keys, BackspacesAreSpaced83MsAndStopBeforeAPress)
{
    // An empty run sends nothing and asks nothing.
    runTask(clock, keys.backspaceChars(QString(), stop()));
    EXPECT_TRUE(desktop.kb.keys.isEmpty());
    EXPECT_EQ(stopCalls, 0);
    EXPECT_EQ(clock.nowMs(), 0);

    runTask(clock, keys.backspaceChars("abc", stop()));
    EXPECT_EQ(desktop.kb.keys.size(), 3);
    EXPECT_EQ(desktop.kb.timesMs, (QList<double>{0, 83, 166}));
    EXPECT_EQ(clock.nowMs(), 249);
    EXPECT_EQ(stopCalls, 3);

    desktop.kb.keys.clear();
    stopCalls = 0;
    stopAt = 2;
    const double t0 = clock.nowMs();
    runTask(clock, keys.backspaceChars("abc", stop()));
    EXPECT_EQ(desktop.kb.keys, QStringList{"<Backspace>"});
    EXPECT_EQ(clock.nowMs() - t0, 83);
    EXPECT_EQ(stopCalls, 2);
}

TEST_F(Keys, SleepWithStopSlicesAndPolls)
{
    runTask(clock, keys.sleepWithStop(450, stop()));
    EXPECT_EQ(clock.nowMs(), 450);
    EXPECT_EQ(stopCalls, 3);

    stopCalls = 0;
    stopAt = 2;
    double t0 = clock.nowMs();
    runTask(clock, keys.sleepWithStop(450, stop()));
    EXPECT_EQ(clock.nowMs() - t0, 200);
    EXPECT_EQ(stopCalls, 2);

    stopCalls = 0;
    stopAt = -1;
    t0 = clock.nowMs();
    runTask(clock, keys.sleepWithStop(200.5, stop()));
    EXPECT_NEAR(clock.nowMs() - t0, 200.5, 1e-6);
    EXPECT_EQ(stopCalls, 2);

    stopCalls = 0;
    t0 = clock.nowMs();
    for (double ms : {0.0, -5.0, std::numeric_limits<double>::quiet_NaN()})
        runTask(clock, keys.sleepWithStop(ms, stop()));
    EXPECT_EQ(clock.nowMs(), t0);
    EXPECT_EQ(stopCalls, 0);
}

TEST_F(Keys, RetypeDrawsAFreshWaitPerKeyAndStopsBetweenKeys)
{
    runTask(clock, keys.retypeText(QString(), stop()));
    EXPECT_EQ(stopCalls, 0);

    random.reals({30, 70, 45.5});
    runTask(clock, keys.retypeText(QString::fromUtf8("a\ne\u0301"), stop()));
    EXPECT_EQ(desktop.kb.keys, (QStringList{"a", "<Return>", QString::fromUtf8("e\u0301")}));
    EXPECT_EQ(desktop.kb.timesMs, (QList<double>{0, 30, 100}));
    EXPECT_DOUBLE_EQ(clock.nowMs(), 145.5);
    EXPECT_EQ(random.remaining(), 0);

    desktop.kb.keys.clear();
    stopCalls = 0;
    stopAt = 3;
    random.reals({40, 40});
    runTask(clock, keys.retypeText("xyz", stop()));
    EXPECT_EQ(desktop.kb.keys, (QStringList{"x", "y"}));
    EXPECT_EQ(stopCalls, 3);
}

TEST_F(Keys, RewriteTailDeletesWholeGraphemesAndKeepsTheBufferTrue)
{
    TypingEngine engine(desktop, clock, random);
    random.setFallback(nullptr);
    QString buffer = QString::fromUtf8("ok 👍🏽");
    QList<DeferredError> errors{{0, "O", "o"}};
    random.reals({50, 50});
    runTask(clock, engine.rewriteTail(99, "hi", buffer, errors, {}));
    // One press per grapheme of the whole buffer (4 graphemes, 6 units).
    EXPECT_EQ(desktop.kb.keys.count("<Backspace>"), 4);
    EXPECT_EQ(desktop.kb.keys.mid(4), (QStringList{"h", "i"}));
    EXPECT_EQ(buffer, "hi");
    EXPECT_TRUE(errors.isEmpty());

    // A cut inside an emoji with a skin tone: the whole emoji is deleted
    // and its head typed again, never half a surrogate pair.
    desktop.kb.keys.clear();
    desktop.kb.unit = FakeKeyboard::Unit::CodePoint;
    buffer = QString::fromUtf8("a👍🏽");
    random.reals({50, 50});
    runTask(clock, engine.rewriteTail(1, "b", buffer, errors, {}));
    EXPECT_EQ(desktop.kb.keys, (QStringList{"<Backspace>", "<Backspace>", QString::fromUtf8("👍"), "b"}));
    EXPECT_EQ(buffer, QString::fromUtf8("a👍b"));
    // Two units cut off the skin tone exactly.
    desktop.kb.keys.clear();
    buffer = QString::fromUtf8("a👍🏽");
    random.reals({50});
    runTask(clock, engine.rewriteTail(2, "", buffer, errors, {}));
    EXPECT_EQ(buffer, QString::fromUtf8("a👍"));
    EXPECT_EQ(desktop.kb.keys.last(), QString::fromUtf8("👍"));
}

TEST_F(Keys, RewriteTailPutsBackWhatAStopInterruptedButFinishesItsRetype)
{
    TypingEngine engine(desktop, clock, random);
    const QString bs = "<Backspace>";
    const struct {
        int stopAtKeys; // the stop says yes once this many keys were sent
        QStringList keys;
        QString buffer;
        int errorAt;
    } cases[] = {
        {0, {}, "hello world", 8},                                            // before its first key: nothing
        {2, {bs, bs, "l", "d"}, "hello world", 8},                            // while deleting: put back
        {5, {bs, bs, bs, bs, bs, "t", "h", "e", "r", "e"}, "hello there", 9}, // deleted: retyped all the same
    };
    for (const auto &c : cases) {
        desktop.kb.keys.clear();
        random = qv::ScriptedRandom();
        random.reals({40, 40, 40, 40, 40});
        QString buffer = "hello world";
        QList<DeferredError> errors{{8, "o", "r"}};
        const StopFlag stopAfter = [&] { return desktop.kb.keys.size() >= c.stopAtKeys; };
        runTask(clock, engine.rewriteTail(5, "there", buffer, errors, stopAfter));
        EXPECT_EQ(desktop.kb.keys, c.keys) << c.stopAtKeys;
        EXPECT_EQ(buffer, c.buffer) << c.stopAtKeys;
        ASSERT_EQ(errors.size(), 1);
        EXPECT_EQ(errors[0].index, c.errorAt) << c.stopAtKeys;
    }
}
