// Shared main of the test executables: starts the run-time (the Qt driver
// on Qt's offscreen platform, unless the environment names another one; the
// null driver when built with VLIC_TEST_NULL_DRIVER), then runs the tests.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "ui/userint.h"
#ifdef VLIC_TEST_NULL_DRIVER
#include "ui/null/userint_null.h"
#endif

int main(int argc, char **argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifdef VLIC_TEST_NULL_DRIVER
    UiNullAddDriver();
    if (UiSelectDriver("null") != 0) return 1;
#endif
#ifndef _WIN32
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
#endif
    if (!InitUIRunTime(0, argv, 0)) {
        std::fprintf(stderr, "test: the user-interface run-time cannot start\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
