// The one rule of what is made, kept and let go, on its own: wanted pictures at their least, then
// made ready, then decoded pixels and stand-ins in the room left, always with room for the
// largest decode still to be made; nothing without area, nothing counted twice, and the room for
// decoded pixels the same however far the workers have got.
#include "pictures/picture_plan.h"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr std::size_t kDecoded = 100;  // every file decodes to 100 bytes here

PlanItem Item(const std::wstring& path, int w, int h, bool decodedWillDo = false, bool drawnNow = false) {
    return {PictureRequest{path, w, h, FitMode::Stretch, {}}, decodedWillDo, drawnNow};
}

PicturePlan Plan(const std::vector<PlanItem>& items, std::size_t budget, const std::vector<HeldPicture>& pictures = {},
                 const std::vector<HeldDecoded>& decoded = {}) {
    return MakePlan(items, pictures, decoded, [](const std::wstring&) { return kDecoded; }, budget);
}

// Pictures of 10 x 10 pixels take 400 bytes, a decoded file 100.
TEST(PicturePlan, EveryPictureAtItsLeastThenReadyAsFarAsTheBudgetGoes) {
    const std::vector<PlanItem> items = {Item(L"shown", 10, 10, false, true), Item(L"next", 10, 10),
                                         Item(L"last", 10, 10, true), Item(L"first", 10, 10, true)};
    const struct {
        std::size_t budget;
        std::vector<std::size_t> ready, decoded;
    } rows[] = {
        {500, {0}, {}},              // the shown, with room for one decode
        {900, {0, 1}, {}},           // and the next
        {1000, {0, 1}, {2}},         // the last decoded
        {1100, {0, 1}, {2, 3}},      // both decoded
        {1400, {0, 1}, {2, 3}},      // not yet the last made ready: its decoded pixels stay until it is
        {1500, {0, 1, 2}, {2, 3}},   // the last made ready from its decoded pixels
        {1900, {0, 1, 2, 3}, {2, 3}},  // everything ready
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.budget);
        const PicturePlan plan = Plan(items, row.budget);
        EXPECT_EQ(plan.ready, row.ready);
        EXPECT_EQ(plan.decoded, row.decoded);
        EXPECT_EQ(plan.headroom, kDecoded);
        EXPECT_LE(plan.bytes + plan.headroom, row.budget);
    }
}

TEST(PicturePlan, DecodedPixelsGoOnceTheirPictureIsMadeNotBefore) {
    // The last slide's decoded pixels are held; its picture made from them is planned. Letting
    // them go before the picture exists would need a second decode, and the plan after that
    // would hold the decoded pixels again: a worker going round for ever.
    const std::vector<PlanItem> items = {Item(L"shown", 10, 10, false, true), Item(L"last", 10, 10, true)};
    int buffers[2];
    const HeldDecoded lastDecoded{L"last", kDecoded, &buffers[0]};
    const PicturePlan before = Plan(items, 1000, {}, {lastDecoded});
    EXPECT_EQ(before.ready, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(before.keepDecoded, std::vector<bool>{true});
    const PicturePlan after = Plan(items, 1000, {{items[1].request, 400, &buffers[1]}}, {lastDecoded});
    EXPECT_EQ(after.ready, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(after.keepPicture, std::vector<bool>{true});
    EXPECT_EQ(after.keepDecoded, std::vector<bool>{false});
}

TEST(PicturePlan, TheRoomForDecodedPixelsDoesNotDependOnHowFarTheWorkersHaveGot) {
    // The same wants, planned before the workers have made anything and once they have made
    // everything: the same pictures, and the same decoded pixels (the slide on screen's), within
    // the budget both times.
    const std::vector<PlanItem> items = {Item(L"shown", 5, 5, false, true), Item(L"next", 5, 5), Item(L"prev", 5, 5)};
    int buffers[6];
    const std::vector<HeldPicture> made = {{items[0].request, 100, &buffers[0]}, {items[1].request, 100, &buffers[1]},
                                           {items[2].request, 100, &buffers[2]}};
    const std::vector<HeldDecoded> decoded = {{L"prev", 100, &buffers[3]}, {L"next", 100, &buffers[4]}, {L"shown", 100, &buffers[5]}};
    const PicturePlan before = Plan(items, 500, {}, {{L"shown", 100, &buffers[5]}});
    const PicturePlan after = Plan(items, 500, made, decoded);
    EXPECT_EQ(before.ready, after.ready);
    EXPECT_EQ(after.keepDecoded, (std::vector<bool>{false, false, true})) << "the shown's alone, as before";
    EXPECT_EQ(before.keepDecoded, (std::vector<bool>{true}));
    EXPECT_LE(after.bytes, 500u);
}

TEST(PicturePlan, NothingWithoutAreaAndNothingCountedTwice) {
    int shared = 0;
    const PictureRequest same{L"a", 10, 10, FitMode::Stretch, {}};
    const std::vector<PlanItem> items = {
        Item(L"flat", 10, 0, false, true), Item(L"thin", -1, 10), {same, false, true}, {same, false, false},
        {PictureRequest{L"a", 0, 0, FitMode::AsDecoded, {}}, false, false},
    };
    // a's picture at its decoded size shares the decoded buffer, as its printing does.
    const PicturePlan plan = Plan(items, 1000, {{same, 400, &shared}, {items[4].request, 400, &shared}},
                                  {{L"a", 400, &shared}});
    EXPECT_EQ(plan.ready, (std::vector<std::size_t>{2, 4}));
    EXPECT_EQ(plan.bytes, 400u) << "one buffer, however many hold it";
    EXPECT_EQ(plan.keepDecoded, (std::vector<bool>{true}));
}

TEST(PicturePlan, AnOlderSizeStandsInUntilItsSuccessorIsMadeAndTheLargestStaysAsASource) {
    int b[4];
    const std::vector<PlanItem> items = {Item(L"t1", 8, 8), Item(L"t2", 8, 8)};
    const std::vector<HeldPicture> held = {
        {PictureRequest{L"t1", 16, 16, FitMode::Stretch, {}}, 1024, &b[0]},  // larger: a source, kept
        {PictureRequest{L"t1", 4, 4, FitMode::Stretch, {}}, 64, &b[1]},      // t1's own is not made yet: stands in
        {PictureRequest{L"t2", 4, 4, FitMode::Stretch, {}}, 64, &b[2]},      // t2's own is made: let go
        {PictureRequest{L"t2", 8, 8, FitMode::Stretch, {}}, 256, &b[3]},
    };
    EXPECT_EQ(Plan(items, 10000, held).keepPicture, (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(Plan(items, 800, held).keepPicture, (std::vector<bool>{false, true, false, true})) << "in the room left only";
}

}  // namespace
