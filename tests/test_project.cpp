// The project document: named steps, the bytes each one changed, observers,
// and taking steps back and doing them again.
#include "channel_edit.h"
#include "project.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace vkt {
namespace {

bool SameBytes(const RadioData &a, const RadioData &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::size_t OffsetOf(const RadioData &d, const void *member)
{
    return std::size_t(static_cast<const std::uint8_t *>(member) - reinterpret_cast<const std::uint8_t *>(&d));
}

TEST(DifferingRanges, JoinsNeighboursAndReportsEachRun)
{
    RadioData a{}, b{};
    auto *bytes = reinterpret_cast<std::uint8_t *>(&b);
    bytes[0] = 1;                        // first byte
    bytes[9] = 1, bytes[10] = 2;         // a run across a word border
    bytes[sizeof(RadioData) - 1] = 7;    // last byte (the record is not a whole number of words)
    const std::vector<ByteRange> r = DifferingRanges(a, b);
    const std::vector<ByteRange> want{{0, 1}, {9, 2}, {sizeof(RadioData) - 1, 1}};
    EXPECT_EQ(r, want);
    EXPECT_TRUE(DifferingRanges(a, a).empty());
}

TEST(Project, AnEditThatChangesNothingIsNoStepAndTellsNobody)
{
    Project p;
    int told = 0;
    p.observe([&](const ProjectChange &) { ++told; });
    const std::uint8_t sql = p.data().squelchLevel;
    p.edit("SQL", [&](ProgramState &s) { s.data.squelchLevel = sql; });
    EXPECT_EQ(told, 0);
    EXPECT_FALSE(p.canUndo());
}

TEST(Project, AnEditIsOneNamedStepWithTheBytesItChanged)
{
    Project p;
    std::vector<ProjectChange> seen;
    std::vector<std::string> names;
    p.observe([&](const ProjectChange &c) {
        seen.push_back(c);
        names.emplace_back(c.name);
    });
    const int result = p.edit("channel 3 · Name", [](ProgramState &s) {
        std::memcpy(s.data.channels[3].name, "AB", 2);
        return 42;
    });
    EXPECT_EQ(result, 42);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(names[0], "channel 3 · Name");
    EXPECT_FALSE(seen[0].whole);
    EXPECT_TRUE(seen[0].touches(p.data().channels[3], p.data()));
    EXPECT_FALSE(seen[0].touches(p.data().channels[2], p.data()));
    EXPECT_FALSE(seen[0].touches(p.data().channels[4], p.data()));
    EXPECT_EQ(seen[0].ranges.front().offset, OffsetOf(p.data(), p.data().channels[3].name));
    EXPECT_EQ(p.undoName(), "channel 3 · Name");
}

TEST(Project, AnEditInsideAnEditIsPartOfTheOuterStep)
{
    Project p;
    int told = 0;
    p.observe([&](const ProjectChange &) { ++told; });
    p.edit("outer", [&](ProgramState &s) {
        s.data.squelchLevel ^= 1;
        p.edit("inner", [](ProgramState &t) { t.data.alarmRing ^= 1; });
    });
    EXPECT_EQ(told, 1);
    EXPECT_EQ(p.historySize(), 1u);
    EXPECT_EQ(p.undoName(), "outer");
}

TEST(Project, ReplaceIsOneWholeStepThatAppliesWhatShowingStores)
{
    Project p;
    ProgramState next = p.state();
    next.data.dtmfGroupCode = 0x77; // shown as OFF: showing stores 0
    next.limits.vhfRxMin = 140000000;
    bool whole = false;
    p.observe([&](const ProjectChange &c) { whole = c.whole; });
    p.replace(next, "Open");
    EXPECT_TRUE(whole);
    EXPECT_EQ(p.data().dtmfGroupCode, 0);
    EXPECT_EQ(p.state().limits.vhfRxMin, 140000000u);
    ASSERT_TRUE(p.undo());
    EXPECT_EQ(p.state().limits.vhfRxMin, BandLimits{}.vhfRxMin);
}

// Any sequence of edits and replaces, then undo of all: the record is the
// start again byte for byte; redo of all: it is the end.
TEST(Project, UndoAllAndRedoAllOfRandomStepsRestoreTheRecordsByteForByte)
{
    std::mt19937 random(410);
    for (int round = 0; round < 20; ++round) {
        Project p;
        const RadioData start = p.data();
        int steps = 0;
        for (int i = 0; i < 60; ++i) {
            const std::size_t at = random() % sizeof(RadioData);
            const auto value = std::uint8_t(random());
            if (random() % 10 == 0) {
                ProgramState next = p.state();
                reinterpret_cast<std::uint8_t *>(&next.data)[at] = value;
                p.replace(next, "Read from radio");
                ++steps;
            } else {
                const bool changes = reinterpret_cast<const std::uint8_t *>(&p.data())[at] != value;
                p.edit("byte", [&](ProgramState &s) { reinterpret_cast<std::uint8_t *>(&s.data)[at] = value; });
                steps += changes;
            }
        }
        const RadioData end = p.data();
        EXPECT_EQ(p.historySize(), std::size_t(steps));
        while (p.undo()) {
        }
        EXPECT_TRUE(SameBytes(p.data(), start)) << "round " << round;
        while (p.redo()) {
        }
        EXPECT_TRUE(SameBytes(p.data(), end)) << "round " << round;
    }
}

TEST(Project, ANewStepDropsTheUndoneOnesAndTheHistoryIsBounded)
{
    Project p;
    p.edit("a", [](ProgramState &s) { s.data.squelchLevel = 1; });
    p.edit("b", [](ProgramState &s) { s.data.squelchLevel = 2; });
    ASSERT_TRUE(p.undo());
    EXPECT_EQ(p.redoName(), "b");
    p.edit("c", [](ProgramState &s) { s.data.squelchLevel = 3; });
    EXPECT_FALSE(p.canRedo());
    EXPECT_EQ(p.undoName(), "c");

    for (std::size_t i = 0; i < Project::kHistoryLimit + 10; ++i)
        p.edit("n", [i](ProgramState &s) { s.data.alarmRing = std::uint8_t(i); });
    EXPECT_EQ(p.historySize(), Project::kHistoryLimit);
}

TEST(Project, AnObserverDroppedWhileOthersAreToldIsNotCalled)
{
    Project p;
    int first = 0, second = 0;
    int secondId = 0;
    p.observe([&](const ProjectChange &) {
        ++first;
        p.unobserve(secondId);
    });
    secondId = p.observe([&](const ProjectChange &) { ++second; });
    p.edit("x", [](ProgramState &s) { s.data.squelchLevel ^= 1; });
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
}

} // namespace
} // namespace vkt
