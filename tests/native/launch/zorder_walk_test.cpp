#include "launch/zorder_walk.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>

namespace {

using Handle = std::uintptr_t;

// A z-order as a chain of "next window down" links; a missing link ends it.
struct Chain {
    std::map<Handle, Handle> below;
    Handle Next(Handle h) {
        const auto it = below.find(h);
        return it == below.end() ? 0 : it->second;
    }
};

TEST(ZOrderWalk, FindsTheFirstMatchFromTheTopDown) {
    Chain chain{{{1, 2}, {2, 3}, {3, 4}}};
    const auto next = [&](Handle h) { return chain.Next(h); };
    EXPECT_EQ(FindInZOrder<Handle>(1, next, [](Handle h) { return h >= 3; }), 3u);
    EXPECT_EQ(FindInZOrder<Handle>(1, next, [](Handle) { return false; }), 0u);
    EXPECT_EQ(FindInZOrder<Handle>(0, next, [](Handle) { return true; }), 0u);
}

// A window destroyed or moved during the walk can make the chain lead back up.
TEST(ZOrderWalk, EndsWhenTheChainLeadsBackToAWindowSeenBefore) {
    const struct {
        const char* what;
        std::map<Handle, Handle> below;
    } cases[] = {
        {"to the top", {{1, 2}, {2, 3}, {3, 1}}},
        {"to the middle", {{1, 2}, {2, 3}, {3, 4}, {4, 2}}},
        {"to itself", {{1, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Chain chain{c.below};
        int asked = 0;
        const Handle found = FindInZOrder<Handle>(
            1, [&](Handle h) { return chain.Next(h); },
            [&](Handle) {
                ++asked;
                return false;
            });
        EXPECT_EQ(found, 0u);
        EXPECT_EQ(asked, static_cast<int>(c.below.size())) << "each window is looked at once";
    }
}

// Windows created below faster than the walk goes down: it stops after its limit.
TEST(ZOrderWalk, EndsAfterItsLimitWhenNewWindowsKeepComing) {
    std::size_t asked = 0;
    const Handle found = FindInZOrder<Handle>(
        1, [](Handle h) { return h + 1; },
        [&](Handle) {
            ++asked;
            return false;
        });
    EXPECT_EQ(found, 0u);
    EXPECT_EQ(asked, kZOrderWalkLimit);
    asked = 0;
    FindInZOrder<Handle>(1, [](Handle h) { return h + 1; }, [&](Handle) { return ++asked, false; }, 10);
    EXPECT_EQ(asked, 10u);
}

}  // namespace
