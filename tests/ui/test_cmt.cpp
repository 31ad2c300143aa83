// Locks, thread-safe variables, the library switches and TruncateRealNumber.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

#include "ui/userint.h"

namespace {

TEST(Locks, AreRecursiveAndOwnedByTheirThread) {
    int h = 0;
    ASSERT_EQ(0, CmtNewLockAnsi("", 0, &h));
    ASSERT_EQ(0, CmtGetLock(h));
    ASSERT_EQ(0, CmtGetLock(h));   // again from the same thread
    std::atomic<bool> got{false};
    std::thread other([&] {
        EXPECT_EQ(UIE_NOT_PERMITTED, CmtReleaseLock(h));   // not its to release
        CmtGetLock(h);
        got = true;
        CmtReleaseLock(h);
    });
    ASSERT_EQ(0, CmtReleaseLock(h));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(got) << "held once more: the other thread still waits";
    ASSERT_EQ(0, CmtReleaseLock(h));
    other.join();
    EXPECT_TRUE(got);
    EXPECT_EQ(UIE_NOT_PERMITTED, CmtReleaseLock(h));
    ASSERT_EQ(0, CmtDiscardLock(h));
    EXPECT_EQ(UIE_BAD_LOCK, CmtGetLock(h));
    EXPECT_EQ(UIE_BAD_LOCK, CmtDiscardLock(h));
}

TEST(Locks, NamedLocksAreSharedUntilTheLastDiscard) {
    int a = 0, b = 0;
    ASSERT_EQ(0, CmtNewLockAnsi("HYPERLINK_CTRL_INITIAL_LOCK", 0, &a));
    ASSERT_EQ(0, CmtNewLockAnsi("HYPERLINK_CTRL_INITIAL_LOCK", 0, &b));
    EXPECT_NE(a, b);
    ASSERT_EQ(0, CmtGetLock(a));
    std::atomic<bool> got{false};
    std::thread other([&] {
        CmtGetLock(b);   // the same lock: waits for the first thread
        got = true;
        CmtReleaseLock(b);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(got);
    ASSERT_EQ(0, CmtReleaseLock(a));
    other.join();
    EXPECT_TRUE(got);
    ASSERT_EQ(0, CmtDiscardLock(a));
    ASSERT_EQ(0, CmtGetLock(b));   // still alive through b
    ASSERT_EQ(0, CmtReleaseLock(b));
    ASSERT_EQ(0, CmtDiscardLock(b));
    // A lock of the same name made afterwards is a new one.
    int c = 0;
    ASSERT_EQ(0, CmtNewLockAnsi("HYPERLINK_CTRL_INITIAL_LOCK", 0, &c));
    ASSERT_EQ(0, CmtGetLock(c));
    ASSERT_EQ(0, CmtReleaseLock(c));
    ASSERT_EQ(0, CmtDiscardLock(c));
    // Different names, different locks.
    int d = 0, e = 0;
    CmtNewLockAnsi("X", 0, &d);
    CmtNewLockAnsi("Y", 0, &e);
    CmtGetLock(d);
    std::thread third([&] {
        EXPECT_EQ(0, CmtGetLock(e));
        CmtReleaseLock(e);
    });
    third.join();
    CmtReleaseLock(d);
    CmtDiscardLock(d);
    CmtDiscardLock(e);
    EXPECT_EQ(UIE_BAD_POINTER, CmtNewLockAnsi("", 0, nullptr));
}

TEST(ThreadSafeVariables, CopyInAndOutAndLockThroughThePointer) {
    int h = 0;
    ASSERT_EQ(0, CmtNewTSV(sizeof(int), &h));
    int v = 99;
    ASSERT_EQ(0, CmtGetTSV(h, &v));
    EXPECT_EQ(0, v);   // zero at creation
    const int cursor = -1;
    ASSERT_EQ(0, CmtSetTSV(h, &cursor));
    ASSERT_EQ(0, CmtGetTSV(h, &v));
    EXPECT_EQ(-1, v);
    void *ptr = nullptr;
    ASSERT_EQ(0, CmtGetTSVPtr(h, &ptr));
    *static_cast<int *>(ptr) = 14;
    std::atomic<bool> read{false};
    std::thread other([&] {
        int w = 0;
        CmtGetTSV(h, &w);   // waits for the pointer's release
        EXPECT_EQ(14, w);
        read = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(read);
    ASSERT_EQ(0, CmtReleaseTSVPtr(h));
    other.join();
    EXPECT_TRUE(read);
    EXPECT_EQ(UIE_NOT_PERMITTED, CmtReleaseTSVPtr(h));
    ASSERT_EQ(0, CmtDiscardTSV(h));
    EXPECT_EQ(UIE_BAD_LOCK, CmtGetTSV(h, &v));
    EXPECT_EQ(UIE_BAD_LOCK, CmtDiscardTSV(h));
    EXPECT_EQ(UIE_BAD_VALUE, CmtNewTSV(0, &h));
    EXPECT_EQ(UIE_BAD_POINTER, CmtNewTSV(4, nullptr));
    // A lock handle is no variable handle and the other way round.
    int lock = 0, tsv = 0;
    CmtNewLockAnsi("", 0, &lock);
    CmtNewTSV(8, &tsv);
    EXPECT_EQ(UIE_BAD_LOCK, CmtGetTSV(lock, &v));
    EXPECT_EQ(UIE_BAD_LOCK, CmtGetLock(tsv));
    EXPECT_EQ(UIE_BAD_POINTER, CmtSetTSV(tsv, nullptr));
    CmtDiscardLock(lock);
    CmtDiscardTSV(tsv);
}

TEST(Switches, ReturnThePreviousSetting) {
    const int first = SetBreakOnLibraryErrors(0);
    EXPECT_EQ(0, SetBreakOnLibraryErrors(1));
    EXPECT_EQ(1, SetBreakOnLibraryErrors(first));
    const int track = SetEnableResourceTracking(0);
    EXPECT_EQ(0, SetEnableResourceTracking(7));
    EXPECT_EQ(1, SetEnableResourceTracking(track));
}

TEST(Truncate, DropsTheFractionTowardZero) {
    EXPECT_EQ(2.0, TruncateRealNumber(2.9));
    EXPECT_EQ(-2.0, TruncateRealNumber(-2.9));
    EXPECT_EQ(0.0, TruncateRealNumber(0.5));
    EXPECT_EQ(1e300, TruncateRealNumber(1e300));
    EXPECT_TRUE(std::isnan(TruncateRealNumber(std::numeric_limits<double>::quiet_NaN())));
}

}  // namespace
