// Shared main of the test executables: starts the run-time (the Qt backend
// on Qt's offscreen platform, unless the environment names another one),
// then runs the tests.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "ui/userint.h"

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifndef _WIN32
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
#endif
    if (!InitUIRunTime(0, argv, 0)) {
        std::fprintf(stderr, "test: the user-interface run-time cannot start\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
