// Entry point of every Windows test program: GoogleTest with its output
// flushed at once, so a test that hangs under Wine still shows where.
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
