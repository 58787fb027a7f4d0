// The key codes that the pure core names for itself, held against the platform's own: the
// window's messages carry the platform's codes, and the core is built without its headers.
#include <windows.h>

#include <gtest/gtest.h>

#include "view/virtual_keys.h"

namespace {

TEST(VirtualKeys, EverySubstituteCodeIsThePlatforms) {
    int checked = 0;
    // `name` is the platform's definition here; `code` is what the core uses without it.
#define PEMBORO_CHECK_VIRTUAL_KEY(name, code) \
    EXPECT_EQ(static_cast<unsigned>(name), static_cast<unsigned>(code)) << #name; \
    ++checked;
    PEMBORO_VIRTUAL_KEYS(PEMBORO_CHECK_VIRTUAL_KEY)
#undef PEMBORO_CHECK_VIRTUAL_KEY
    EXPECT_GT(checked, 0);
}

}  // namespace
