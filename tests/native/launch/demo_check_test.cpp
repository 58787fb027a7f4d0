#include "launch/demo_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr TargetFacts kNothing{false, false};
constexpr TargetFacts kFile{true, false};
constexpr TargetFacts kFolder{false, true};

const char* Name(DemoFileState s) {
    switch (s) {
    case DemoFileState::Ready: return "Ready";
    case DemoFileState::Missing: return "Missing";
    case DemoFileState::Unreadable: return "Unreadable";
    }
    return "?";
}

// What the click would find, by the click's own rules.
TEST(DemoFile, TheClicksRulesDecideWhatCountsAsThere) {
    struct Case {
        const wchar_t* target;
        TargetFacts at;
        bool readable;
        DemoFileState state;
    } const cases[] = {
        {L"NE555.asc", kFile, true, DemoFileState::Ready},
        {L"NE555.asc", kNothing, false, DemoFileState::Missing},
        {L"NE555.asc", kFile, false, DemoFileState::Unreadable},
        {L"!astable.asc", kFile, true, DemoFileState::Ready},
        {L"!astable.asc", kFolder, false, DemoFileState::Missing},  // a run needs a file
        {L"Lyon.jpg", kFile, true, DemoFileState::Ready},
        {L"Lyon.jpg", kNothing, false, DemoFileState::Missing},    // picture mode would show nothing
        {L"Lyon.jpg", kFolder, false, DemoFileState::Missing},
        {L"Lyon.jpg", kFile, false, DemoFileState::Unreadable},
        {L"siren.wav", kFolder, false, DemoFileState::Missing},    // a sound needs a file
        {L"English.pdf", kFile, true, DemoFileState::Ready},
        {L"examples", kFolder, false, DemoFileState::Ready},       // the shell shows the folder
        {L"English.pdf", kNothing, false, DemoFileState::Missing},
        {nullptr, kFile, true, DemoFileState::Missing},
    };
    for (const Case& c : cases) {
        const DemoFileState got = DecideDemoFile(c.target, c.at, c.readable);
        EXPECT_EQ(got, c.state) << testing::PrintToString(std::wstring(c.target ? c.target : L"(null)")) << ": "
                                << Name(got) << ", not " << Name(c.state);
    }
    EXPECT_STREQ(DemoFileNote(DemoFileState::Missing), L"missing");
    EXPECT_STREQ(DemoFileNote(DemoFileState::Unreadable), L"unreadable");
    EXPECT_EQ(DemoFileNote(DemoFileState::Ready), nullptr);
}

TEST(DemoFile, CircuitsNetlistsAndRunsNeedTheSimulator) {
    EXPECT_TRUE(NeedsSimulator(L"NE555.asc"));
    EXPECT_TRUE(NeedsSimulator(L"ACME.net"));
    EXPECT_TRUE(NeedsSimulator(L"!astable.asc"));
    EXPECT_TRUE(NeedsSimulator(L"!notes.pdf"));  // the run mark sends any file
    EXPECT_FALSE(NeedsSimulator(L"Lyon.jpg"));
    EXPECT_FALSE(NeedsSimulator(L"siren.wav"));
    EXPECT_FALSE(NeedsSimulator(L"English.pdf"));
}

const SimulatorFacts kFound{L"C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax64.exe", false, true};
const SimulatorFacts kNotFound{L"C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax64.exe", false, false};

const std::vector<HotspotFacts> kDeck = {
    {0, L"Lyon.jpg", kFile, true},
    {3, L"!astable.asc", kFile, true},
    {3, L"NE555.asc", kNothing, false},
    {11, L"English.pdf", kFile, false},
    {11, L"examples.asc", kFolder, false},  // a folder goes to the shell, whatever its name
};

TEST(DemoCheck, EachHotspotWithItsSlideAndResult) {
    const DemoCheckReport report = DecideDemoCheck(kDeck, kNotFound);
    ASSERT_EQ(report.entries.size(), kDeck.size());
    const struct {
        int row;
        const wchar_t* file;
        DemoResult result;
    } expected[] = {
        {0, L"Lyon.jpg", DemoResult::Ready},
        {3, L"astable.asc", DemoResult::NoSimulator},
        {3, L"NE555.asc", DemoResult::Missing},
        {11, L"English.pdf", DemoResult::Unreadable},
        {11, L"examples.asc", DemoResult::Ready},
    };
    for (size_t i = 0; i < kDeck.size(); ++i) {
        EXPECT_EQ(report.entries[i].row, expected[i].row) << i;
        EXPECT_EQ(report.entries[i].file, expected[i].file) << i;
        EXPECT_EQ(report.entries[i].result, expected[i].result) << i;
    }
    EXPECT_FALSE(report.AllReady());
    EXPECT_EQ(report.FilesReady(), 3);
    EXPECT_EQ(DecideDemoCheck(kDeck, kFound).entries[1].result, DemoResult::Ready);
}

TEST(DemoCheck, ReadyOnlyWithEveryFileAndTheSimulator) {
    const std::vector<HotspotFacts> fine = {{0, L"Lyon.jpg", kFile, true}, {4, L"!astable.asc", kFile, true}};
    EXPECT_TRUE(DecideDemoCheck(fine, kFound).AllReady());
    // The corner button of every slide needs the simulator, even on a deck with no circuit.
    EXPECT_FALSE(DecideDemoCheck({{0, L"Lyon.jpg", kFile, true}}, kNotFound).AllReady());
    EXPECT_FALSE(DecideDemoCheck({}, kNotFound).AllReady());
    EXPECT_TRUE(DecideDemoCheck({}, kFound).AllReady());
    EXPECT_FALSE(DecideDemoCheck({{0, L"Lyon.jpg", kNothing, false}}, kFound).AllReady());
    EXPECT_FALSE(DecideDemoCheck({{0, L"Lyon.jpg", kFile, false}}, kFound).AllReady());
}

TEST(DemoCheck, SummaryAndSimulatorLine) {
    EXPECT_EQ(DemoCheckSummary(DecideDemoCheck({{0, L"a.asc", kFile, true}, {1, L"b.asc", kFile, true}}, kFound)),
              L"Demos: 2 files ready, simulator found");
    EXPECT_EQ(DemoCheckSummary(DecideDemoCheck({{0, L"a.asc", kFile, true}}, kFound)),
              L"Demos: 1 file ready, simulator found");
    EXPECT_EQ(DemoCheckSummary(DecideDemoCheck(kDeck, kNotFound)),
              L"Demos: 3 files ready, 1 missing, 1 unreadable, simulator not found");

    EXPECT_EQ(SimulatorLine(kFound), L"Simulator: C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax64.exe");
    EXPECT_EQ(SimulatorLine(kNotFound), L"Simulator: not found at C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax64.exe"
                                        L" (the default place; no program is registered to open .asc files)");
    EXPECT_EQ(SimulatorLine({L"D:\\Sim\\x.exe", true, false}),
              L"Simulator: not found at D:\\Sim\\x.exe (registered to open .asc files)");
}

TEST(DemoCheck, OneAlignedLinePerHotspotThenTheSimulatorAndTheSummary) {
    const std::vector<HotspotFacts> deck = {
        {0, L"Lyon.jpg", kFile, true},
        {8, L"!astable.asc", kFile, true},
        {11, L"NE555.asc", kNothing, false},
    };
    const std::vector<std::wstring> lines = DemoCheckLines(DecideDemoCheck(deck, kFound));
    const std::vector<std::wstring> expected = {
        L"Slide  1  Lyon.jpg     ready",
        L"Slide  9  astable.asc  ready",
        L"Slide 12  NE555.asc    missing",
        L"Simulator: C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax64.exe",
        L"Demos: 2 files ready, 1 missing, simulator found",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(DemoCheckLines(DecideDemoCheck({{3, L"x.asc", kFile, true}}, kNotFound)).front(),
              L"Slide 4  x.asc  no simulator");
}

}  // namespace
