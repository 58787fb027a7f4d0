// The deck as it ships: rows, hotspot counts, target kinds and the placement rules the
// speaker relies on. Every figure here is counted from g_slideDeck itself.
#include "deck/deck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/saved_core_globals.h"

namespace {

// Markers are square with a side of about 0.018 of the slide width; on a 16:9 slide that
// is 0.032 of the height.
constexpr double kSquareX = 0.018;
constexpr double kSquareY = 0.018 * 16.0 / 9.0;

std::wstring_view Target(const Hotspot& h) { return h.pszTarget; }

// For failure messages: the deck's names are plain ASCII.
std::string Narrow(std::wstring_view w) {
    std::string s;
    for (wchar_t c : w) {
        s += (c > 0 && c < 128) ? static_cast<char>(c) : '?';
    }
    return s;
}

bool HasRunMark(const Hotspot& h) { return !Target(h).empty() && Target(h).front() == L'!'; }

// The file name without the run mark.
std::wstring FileName(const Hotspot& h) {
    std::wstring_view t = Target(h);
    if (HasRunMark(h)) {
        t.remove_prefix(1);
    }
    return std::wstring(t);
}

std::wstring Extension(const Hotspot& h) {
    const std::wstring name = FileName(h);
    const auto dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : name.substr(dot);
}

std::vector<const Hotspot*> SpotsOf(int row) {
    std::vector<const Hotspot*> spots;
    const SlidePage& page = g_slideDeck[row];
    for (int i = 0; i < page.nSpots; ++i) {
        spots.push_back(&page.pSpots[i]);
    }
    return spots;
}

// The distinct hotspot arrays, each with the rows that point to it.
std::map<const Hotspot*, std::vector<int>> DistinctArrays() {
    std::map<const Hotspot*, std::vector<int>> arrays;
    for (int row = 0; row < SLIDE_COUNT; ++row) {
        if (g_slideDeck[row].nSpots > 0) {
            arrays[g_slideDeck[row].pSpots].push_back(row);
        }
    }
    return arrays;
}

bool HasSpot(int row, double x, double y, std::wstring_view target) {
    for (const Hotspot* h : SpotsOf(row)) {
        if (h->x == x && h->y == y && Target(*h) == target) {
            return true;
        }
    }
    return false;
}

struct RowFact {
    int index;
    const wchar_t* image;
    int enabled;
    int number;
    int spots;
};

constexpr RowFact kRows[] = {
    {0, L"Title.png", 1, 1, 45},        {1, L"Concerns.png", 1, 2, 0},
    {2, L"TimeLine2.png", 1, 3, 0},     {3, L"CirceloVexa.png", 1, 4, 1},
    {4, L"DraftDIY.png", 1, 5, 1},      {5, L"Directories.png", 1, 6, 9},
    {6, L"Resources.png", 1, 7, 0},     {7, L"Waveforms.png", 1, 8, 9},
    {8, L"Modeled.png", 1, 9, 5},       {9, L"NotModeled.png", 1, 10, 1},
    {10, L"DKmodeled.png", 1, 11, 0},   {11, L"Case1.png", 1, 12, 1},
    {12, L"Case2.png", 1, 13, 1},       {13, L"Case3.png", 1, 14, 1},
    {14, L"Case4.png", 1, 15, 1},       {15, L"Case5.png", 1, 16, 1},
    {16, L"Case6.png", 1, 17, 1},       {17, L"Case7.png", 1, 18, 1},
    {18, L"SmallSig.png", 1, 19, 16},   {19, L"2.png", 1, 20, 2},
    {20, L"3.png", 0, 0, 0},            {21, L"New5.png", 1, 21, 0},
    {22, L"6.png", 1, 22, 0},           {23, L"DisconValue.png", 1, 23, 0},
    {24, L"DisconSlope.png", 1, 24, 0}, {25, L"4.png", 1, 25, 0},
    {26, L"8.png", 1, 26, 0},           {27, L"9.png", 0, 0, 0},
    {28, L"10.png", 0, 0, 0},           {29, L"11.png", 0, 0, 0},
    {30, L"12.png", 0, 0, 0},           {31, L"13.png", 0, 0, 0},
    {32, L"14.png", 1, 27, 0},          {33, L"15.png", 0, 0, 0},
    {34, L"16.png", 1, 28, 0},          {35, L"17.png", 1, 29, 0},
    {36, L"18.png", 1, 30, 1},          {37, L"19.png", 1, 31, 0},
    {38, L"20.png", 1, 32, 0},          {39, L"21.png", 1, 33, 0},
    {40, L"22.png", 1, 34, 0},          {41, L"23.png", 1, 35, 0},
    {42, L"24.png", 1, 36, 0},          {43, L"25.png", 1, 37, 0},
    {44, L"26.png", 1, 38, 0},          {45, L"27.png", 1, 39, 0},
    {46, L"28.png", 1, 40, 0},          {47, L"Behavioral.png", 1, 41, 5},
    {48, L"MixModeEg.png", 1, 42, 1},   {49, L"MixMode.png", 1, 43, 0},
    {50, L"TwoPhase.png", 1, 44, 1},    {51, L"Chan.png", 1, 45, 0},
    {52, L"Gapped.png", 1, 46, 1},      {53, L"IndSat.png", 1, 47, 1},
    {54, L"SatDesign.png", 1, 48, 1},   {55, L"xform.png", 1, 49, 2},
    {56, L"MultiWind.png", 1, 50, 3},   {57, L"SMSPspecial.png", 1, 51, 0},
    {58, L"VDMOS.png", 1, 52, 0},       {59, L"CirceloVDMOS.png", 1, 53, 0},
    {60, L"Qgate.png", 1, 54, 1},       {61, L"NotWorst.png", 1, 55, 2},
    {62, L"3rdParty.png", 1, 56, 5},    {63, L"Beware.png", 1, 57, 2},
    {64, L"Misc1.png", 1, 58, 16},      {65, L"Misc2.png", 1, 59, 10},
    {66, L"HelpDoc.png", 1, 60, 1},     {67, L"FieldSync.png", 1, 61, 0},
    {68, L"Thanks.png", 1, 62, 0},
};
static_assert(std::size(kRows) == SLIDE_COUNT);

TEST(DeckTable, EveryRowHasItsImageFlagNumberAndHotspotCount) {
    const testing_core::SavedCoreGlobals globals;
    NumberSlides();
    for (const RowFact& want : kRows) {
        SCOPED_TRACE(want.index);
        const SlidePage& page = g_slideDeck[want.index];
        EXPECT_EQ(std::wstring_view(page.pszImage), std::wstring_view(want.image));
        EXPECT_EQ(page.nNumber != 0, want.enabled == 1);
        EXPECT_EQ(page.nNumber, want.number);
        EXPECT_EQ(page.nSpots, want.spots);
    }
}

TEST(DeckTable, PointerIsNullExactlyWhenThereAreNoHotspots) {
    for (int row = 0; row < SLIDE_COUNT; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(g_slideDeck[row].nSpots == 0, g_slideDeck[row].pSpots == nullptr);
        EXPECT_GE(g_slideDeck[row].nSpots, 0);
        EXPECT_LE(g_slideDeck[row].nSpots, 45);
    }
}

TEST(DeckTable, TargetKindsCountedPerSlide) {
    std::map<std::wstring, int> total;
    std::map<std::wstring, int> marked;
    int all = 0;
    for (int row = 0; row < SLIDE_COUNT; ++row) {
        for (const Hotspot* h : SpotsOf(row)) {
            ++all;
            ++total[Extension(*h)];
            if (HasRunMark(*h)) {
                ++marked[Extension(*h)];
            }
        }
    }
    const std::map<std::wstring, int> wantTotal = {
        {L".asc", 96}, {L".jpg", 46}, {L".pdf", 2}, {L".wav", 2},
        {L".net", 1},  {L".raw", 1},  {L".chm", 1},
    };
    const std::map<std::wstring, int> wantMarked = {{L".asc", 32}};
    EXPECT_EQ(total, wantTotal);
    EXPECT_EQ(marked, wantMarked);
    EXPECT_EQ(all, 149);
}

TEST(DeckTable, TwentySixDistinctArraysHold143Records) {
    const auto arrays = DistinctArrays();
    int records = 0;
    for (const auto& [first, rows] : arrays) {
        records += g_slideDeck[rows.front()].nSpots;
        for (int row : rows) {  // rows sharing an array agree on its length
            EXPECT_EQ(g_slideDeck[row].nSpots, g_slideDeck[rows.front()].nSpots);
        }
    }
    EXPECT_EQ(arrays.size(), 26u);
    EXPECT_EQ(records, 143);
}

TEST(DeckTable, CaseSlidesShareOneRunnableCircuitAtTheUsualPlace) {
    const Hotspot* shared = g_slideDeck[11].pSpots;
    ASSERT_NE(shared, nullptr);
    for (int row = 11; row <= 17; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(g_slideDeck[row].pSpots, shared);  // the very same record, not a copy
        EXPECT_EQ(g_slideDeck[row].nSpots, 1);
    }
    EXPECT_EQ(shared->x, 0.8);
    EXPECT_EQ(shared->y, 0.015);
    EXPECT_TRUE(HasRunMark(*shared));
    EXPECT_EQ(Extension(*shared), L".asc");
    // No other row points at it.
    EXPECT_EQ(DistinctArrays().at(shared), (std::vector<int>{11, 12, 13, 14, 15, 16, 17}));
}

TEST(DeckTable, OnlyThreeFilesAppearInSeveralArrays) {
    std::map<std::wstring, std::set<int>> rowsByFile;
    for (const auto& [first, rows] : DistinctArrays()) {
        for (const Hotspot* h : SpotsOf(rows.front())) {
            rowsByFile[FileName(*h)].insert(rows.front());
        }
    }
    std::map<std::wstring, std::set<int>> repeated;
    for (const auto& [name, rows] : rowsByFile) {
        if (rows.size() > 1) {
            repeated[name] = rows;
        }
    }
    const std::map<std::wstring, std::set<int>> want = {
        {L"PLL.asc", {47, 48}},
        {L"DotMeas.asc", {64, 65}},
        {L"VmodeVsImode.asc", {5, 18}},
    };
    EXPECT_EQ(repeated, want);
}

TEST(DeckTable, UsualLinkPlaceNearTheBottomRightCorner) {
    std::set<int> rowsWithUsualPlace;
    for (int row = 0; row < SLIDE_COUNT; ++row) {
        for (const Hotspot* h : SpotsOf(row)) {
            if (h->x == 0.8 && h->y == 0.015) {
                rowsWithUsualPlace.insert(row);
            }
        }
    }
    const std::set<int> single = {11, 12, 13, 14, 15, 16, 17, 48, 50, 52, 53, 54, 60, 66};
    for (int row : single) {
        SCOPED_TRACE(row);
        ASSERT_EQ(g_slideDeck[row].nSpots, 1);
        EXPECT_EQ(g_slideDeck[row].pSpots[0].x, 0.8);
        EXPECT_EQ(g_slideDeck[row].pSpots[0].y, 0.015);
    }
    ASSERT_EQ(g_slideDeck[56].nSpots, 3);
    EXPECT_EQ(g_slideDeck[56].pSpots[2].x, 0.8);
    EXPECT_EQ(g_slideDeck[56].pSpots[2].y, 0.015);
    ASSERT_EQ(g_slideDeck[55].nSpots, 2);
    EXPECT_EQ(g_slideDeck[55].pSpots[0].x, 0.75);
    EXPECT_EQ(g_slideDeck[55].pSpots[0].y, 0.015);
    EXPECT_EQ(g_slideDeck[55].pSpots[1].x, 0.8);
    EXPECT_EQ(g_slideDeck[55].pSpots[1].y, 0.015);

    std::set<int> want = single;
    want.insert({55, 56});
    EXPECT_EQ(rowsWithUsualPlace, want);
}

TEST(DeckTable, RecordsTheTalkRefersTo) {
    struct Record {
        int row;
        double x;
        double y;
        const wchar_t* target;
    };
    const Record records[] = {
        {0, 0.2, 0.696, L"Antwerp.jpg"},
        {0, 0.208, 0.322, L"Copenhagen.jpg"},
        {0, 0.996, 0.26, L"Duxford.jpg"},
        {3, 0.9, 0.11, L"UNICODE.asc"},
        {5, 0.5, 0.53, L"curvetrace.asc"},
        {7, 0.85, 0.86, L"!xprobe.asc"},
        {7, 0.85, 0.42, L"Compression.asc"},
        {7, 0.85, 0.24, L"!BaseBandEye.asc"},
        {7, 0.88, 0.24, L"!Eye2.asc"},
        {19, 0.47, 0.25, L"English.pdf"},
        {19, 0.53, 0.25, L"Hebrew.pdf"},
        {62, 0.638, 0.4, L"ACME.net"},
        {64, 0.679, 0.76, L"anno.raw"},
        {64, 0.714, 0.326, L"siren.wav"},
        {64, 0.749, 0.326, L"!ImportSiren.asc"},
        {66, 0.8, 0.015, L"CirceloHelp.chm"},
    };
    for (const Record& r : records) {
        SCOPED_TRACE(Narrow(r.target));
        EXPECT_TRUE(HasSpot(r.row, r.x, r.y, r.target)) << "row " << r.row;
    }
}

TEST(DeckTable, TitleSlideCarriesFortyFivePhotosInFourColumns) {
    const double columns[] = {0.2, 0.45, 0.7, 0.93};
    std::map<double, int> perColumn;
    int photos = 0;
    for (const Hotspot* h : SpotsOf(0)) {
        EXPECT_EQ(Extension(*h), L".jpg");
        EXPECT_FALSE(HasRunMark(*h));
        ++photos;
        if (Target(*h) == L"Duxford.jpg") {
            continue;  // the late addition at the right edge
        }
        bool inColumn = false;
        for (double c : columns) {
            if (std::fabs(h->x - c) <= 0.01) {
                ++perColumn[c];
                inColumn = true;
            }
        }
        EXPECT_TRUE(inColumn) << h->x;
    }
    EXPECT_EQ(photos, 45);
    ASSERT_EQ(perColumn.size(), 4u);
    for (const auto& [column, count] : perColumn) {
        EXPECT_GE(count, 8) << column;
    }
    // Every photo has its own file.
    std::set<std::wstring> names;
    for (const Hotspot* h : SpotsOf(0)) {
        names.insert(FileName(*h));
    }
    EXPECT_EQ(names.size(), 45u);
}

TEST(DeckTable, PositionsSpanTheStatedRange) {
    double minX = 1, maxX = 0, minY = 1, maxY = 0;
    for (int row = 0; row < SLIDE_COUNT; ++row) {
        for (const Hotspot* h : SpotsOf(row)) {
            minX = std::min(minX, h->x);
            maxX = std::max(maxX, h->x);
            minY = std::min(minY, h->y);
            maxY = std::max(maxY, h->y);
        }
    }
    EXPECT_EQ(minX, 0.1);
    EXPECT_EQ(maxX, 0.996);
    EXPECT_EQ(minY, 0.015);
    EXPECT_EQ(maxY, 0.9);
}

// Two hotspots whose squares share a band of height stand side by side: they must sit on
// one y, or their markers look ragged. And no two squares of a slide may overlap, or one
// hotspot hides the other from the pointer.
TEST(DeckTable, NeighboursLineUpAndNeverOverlap) {
    for (const auto& [first, rows] : DistinctArrays()) {
        const auto spots = SpotsOf(rows.front());
        for (std::size_t i = 0; i < spots.size(); ++i) {
            for (std::size_t j = i + 1; j < spots.size(); ++j) {
                const double dx = std::fabs(spots[i]->x - spots[j]->x);
                const double dy = std::fabs(spots[i]->y - spots[j]->y);
                SCOPED_TRACE(Narrow(Target(*spots[i])) + " / " + Narrow(Target(*spots[j])));
                if (dy < kSquareY) {
                    EXPECT_EQ(spots[i]->y, spots[j]->y) << "row " << rows.front() << " spots " << i << ", " << j;
                }
                EXPECT_FALSE(dx < kSquareX && dy < kSquareY)
                    << "row " << rows.front() << " spots " << i << ", " << j << " overlap";
            }
        }
    }
}

TEST(DeckTable, NamesArePlainFileNames) {
    for (int row = 0; row < SLIDE_COUNT; ++row) {
        const std::wstring_view image = g_slideDeck[row].pszImage;
        EXPECT_TRUE(image.size() > 4 && image.substr(image.size() - 4) == L".png") << row;
        for (const Hotspot* h : SpotsOf(row)) {
            const std::wstring name = FileName(*h);
            EXPECT_FALSE(name.empty()) << row;
            EXPECT_EQ(name.find_first_of(L"/\\:!"), std::wstring::npos) << row;
            EXPECT_FALSE(Extension(*h).empty()) << row;
        }
    }
}

}  // namespace
