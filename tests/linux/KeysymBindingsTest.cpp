#include "platform/linux/KeysymBindings.h"

#include <gtest/gtest.h>

namespace qv::linuxdesktop {
namespace {

using Change = KeysymBindings::Change;

quint32 ks(char32_t c) { return KeysymBindings::keysymFor(c); }

TEST(KeysymBindings, KeysymsOfLatin1AndOtherCharacters)
{
    EXPECT_EQ(ks(U'a'), 0x61u);
    EXPECT_EQ(ks(U'é'), 0xE9u);
    EXPECT_EQ(ks(U'\u00A0'), 0xA0u);
    EXPECT_EQ(ks(U'—'), 0x01002014u);
    EXPECT_EQ(ks(U'€'), 0x010020ACu);
    EXPECT_EQ(ks(U'\U0001F600'), 0x0101F600u);
    EXPECT_EQ(ks(U'\u0301'), 0x01000301u);
    EXPECT_EQ(ks(U'\u0085'), 0x01000085u) << "C1 controls are not Latin-1 keysyms";
}

TEST(KeysymBindings, BindsDistinctKeysymsToFreeKeycodesInOrder)
{
    KeysymBindings b({200, 201, 202});
    EXPECT_EQ(b.plan({ks(U'—'), ks(U'“'), ks(U'—')}), (QList<Change>{{200, ks(U'—')}, {201, ks(U'“')}}));
    EXPECT_EQ(b.keycodeFor(ks(U'“')), 201);
    // Already bound: no change.
    EXPECT_TRUE(b.plan({ks(U'“')}).isEmpty());
    EXPECT_EQ(b.plan({ks(U'”')}), (QList<Change>{{202, ks(U'”')}}));
    EXPECT_EQ(b.boundKeycodes(), (QList<int>{200, 201, 202}));
}

TEST(KeysymBindings, GivesUpTheLeastRecentlyUsedBinding)
{
    KeysymBindings b({10, 11});
    b.plan({ks(U'a'), ks(U'b')});
    b.touch(10, 1'000); // 'a' pressed after 'b' was bound
    EXPECT_EQ(b.plan({ks(U'c')}), (QList<Change>{{11, ks(U'c')}}));
    EXPECT_EQ(b.keycodeFor(ks(U'b')), std::nullopt);
    EXPECT_EQ(b.keycodeFor(ks(U'a')), 10);
    EXPECT_EQ(b.lastPressedNs(11), KeysymBindings::kNever) << "a fresh binding has no press yet";
    EXPECT_EQ(b.lastPressedNs(10), 1'000);
}

TEST(KeysymBindings, NeverGivesUpACharacterOfTheSameBatch)
{
    KeysymBindings b({10, 11});
    const auto changes = b.plan({ks(U'a'), ks(U'b'), ks(U'c')});
    EXPECT_EQ(changes.size(), 2) << "the third waits for its own turn";
    EXPECT_EQ(b.keycodeFor(ks(U'a')), 10);
    EXPECT_EQ(b.keycodeFor(ks(U'b')), 11);
    EXPECT_EQ(b.keycodeFor(ks(U'c')), std::nullopt);
}

TEST(KeysymBindings, LooksAheadOnlyWhereAKeycodeMayBeGivenUp)
{
    // Keycode 10's key was pressed a moment ago and may still be on its way;
    // 11 is idle. A look-ahead binds as far as 11 goes, and stops there.
    KeysymBindings b({10, 11});
    b.plan({ks(U'a'), ks(U'b')});
    b.touch(11, 100);
    b.touch(10, 900);
    const auto idle = [&](int keycode) { return b.lastPressedNs(keycode) < 500; };
    EXPECT_EQ(b.plan({ks(U'c'), ks(U'd')}, idle), (QList<Change>{{11, ks(U'c')}}));
    EXPECT_EQ(b.keycodeFor(ks(U'a')), 10) << "the busy binding stays";
    EXPECT_EQ(b.keycodeFor(ks(U'd')), std::nullopt);
    // Free keycodes need no permission.
    KeysymBindings fresh({20});
    EXPECT_EQ(fresh.plan({ks(U'e')}, [](int) { return false; }), (QList<Change>{{20, ks(U'e')}}));
}

TEST(KeysymBindings, SpareKeycodesAreEmptyOnesThenMediaKeysButNoModifier)
{
    // Two keysyms per keycode from keycode 8 on.
    constexpr unsigned long kMute = 0x1008FF12;
    constexpr unsigned long kMail = 0x1008FF19;
    constexpr unsigned long kShift = 0xFFE1;
    const QList<unsigned long> map{
        0,      0,     // 8: empty, but not delivered by every server
        'a',    'A',   // 9
        kMute,  0,     // 10: a media key
        0,      0,     // 11: empty
        kShift, 0,     // 12
        kMail,  kMail, // 13: a media key in the modifier map
        kMute,  'x',   // 14: a media key that also types
        0,      0,     // 15: empty
    };
    EXPECT_EQ(KeysymBindings::spareKeycodes(map, 8, 2, {12, 13}, 10), (QList<int>{11, 15, 10}));
    EXPECT_EQ(KeysymBindings::spareKeycodes(map, 8, 2, {12, 13}, 2), (QList<int>{11, 15}));
    EXPECT_TRUE(KeysymBindings::spareKeycodes(map, 8, 0, {}, 10).isEmpty());
}

TEST(KeysymBindings, WithoutSpareKeycodesNothingIsBound)
{
    KeysymBindings b;
    EXPECT_EQ(b.capacity(), 0);
    EXPECT_TRUE(b.plan({ks(U'—')}).isEmpty());
    EXPECT_TRUE(b.isEmpty());
}

TEST(KeysymBindings, ClearForgetsEverything)
{
    KeysymBindings b({10});
    b.plan({ks(U'—')});
    b.touch(10, 5);
    b.clear();
    EXPECT_TRUE(b.isEmpty());
    EXPECT_EQ(b.keycodeFor(ks(U'—')), std::nullopt);
    EXPECT_EQ(b.lastPressedNs(10), KeysymBindings::kNever);
    EXPECT_EQ(b.plan({ks(U'“')}), (QList<Change>{{10, ks(U'“')}}));
}

// An application may still read keys with the keymap of an earlier change:
// a keysym bound again gets the keycode it had, and a new keysym does not
// take a keycode another keysym may come back for while a fresh one is free.
TEST(KeysymBindings, AKeysymBoundAgainGetsItsFormerKeycode)
{
    struct Case {
        const char *what;
        QList<int> spares;
        QList<QList<char32_t>> runs; // each run binds these, then clears
        QList<Change> last;          // what the last run changes
    };
    const QList<Case> cases{
        {"the same characters again", {10, 11, 12}, {{U'é', U'—'}, {U'—', U'é'}}, {{11, ks(U'—')}, {10, ks(U'é')}}},
        {"a subset, out of order", {10, 11, 12}, {{U'é', U'—', U'“'}, {U'“', U'é'}}, {{12, ks(U'“')}, {10, ks(U'é')}}},
        {"a new character takes a fresh keycode", {10, 11, 12}, {{U'é', U'—'}, {U'“', U'—'}}, {{12, ks(U'“')}, {11, ks(U'—')}}},
        {"a new character takes a former keycode not wanted now", {10, 11}, {{U'é', U'—'}, {U'“', U'—'}},
         {{10, ks(U'“')}, {11, ks(U'—')}}},
        {"the keycode goes to whoever had it last", {10, 11}, {{U'é'}, {U'“', U'é'}, {U'“', U'é'}},
         {{11, ks(U'“')}, {10, ks(U'é')}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        KeysymBindings b(c.spares);
        QList<Change> changes;
        for (const auto &run : c.runs) {
            b.clear();
            QList<quint32> keysyms;
            for (char32_t cp : run)
                keysyms.append(ks(cp));
            changes = b.plan(keysyms);
        }
        EXPECT_EQ(changes, c.last);
    }
}

} // namespace
} // namespace qv::linuxdesktop
