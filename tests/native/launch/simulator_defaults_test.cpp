#include "launch/simulator_defaults.h"

#include <gtest/gtest.h>

namespace {

TEST(SimulatorDefaults, X64OnlyForTheAmd64Architecture) {
    EXPECT_STREQ(DefaultSimulatorPathFor(9), L"C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax64.exe");
    EXPECT_STREQ(DefaultSimulatorExeFor(9), L"Vexax64.exe");
    // x86 (0), Itanium (6), ARM (5), 64-bit ARM (12), unknown (0xFFFF): the 32-bit names.
    for (const unsigned architecture : {0u, 5u, 6u, 12u, 0xFFFFu}) {
        EXPECT_STREQ(DefaultSimulatorPathFor(architecture), L"C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax86.exe");
        EXPECT_STREQ(DefaultSimulatorExeFor(architecture), L"Vexax86.exe");
    }
}

}  // namespace
