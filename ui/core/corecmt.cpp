// corecmt.cpp: locks, thread-safe variables, the two library switches and
// TruncateRealNumber: the parts of the run-time that need no display, shared
// by every driver.
//
// Exports (ui/userint.h): CmtNewLockAnsi, CmtGetLock, CmtReleaseLock,
// CmtDiscardLock, CmtNewTSV, CmtDiscardTSV, CmtSetTSV, CmtGetTSV,
// CmtGetTSVPtr, CmtReleaseTSVPtr, SetBreakOnLibraryErrors,
// SetEnableResourceTracking, TruncateRealNumber.
//
// Data model: a lock is a recursive lock (owner thread and depth under a
// mutex and condition variable, so that releasing a lock one does not hold
// is a failure code instead of undefined behaviour). A handle names one
// CmtNewLockAnsi; handles of the same non-empty name share one lock, which
// lives while any of them (or a thread waiting on it) does. A thread-safe
// variable is a zeroed byte block with its own recursive lock. Handles of
// locks and variables come from one counter and are never reused, so a
// handle of the wrong kind, or a discarded one, is UIE_BAD_LOCK. The tables
// are guarded by one mutex, held only to look a handle up, never while
// waiting for a lock.
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ui/userint.h"

namespace {

class RecursiveLock {
public:
    void Get() {
        std::unique_lock<std::mutex> l(m_);
        const std::thread::id me = std::this_thread::get_id();
        if (depth_ > 0 && owner_ == me) {
            ++depth_;
            return;
        }
        free_.wait(l, [this] { return depth_ == 0; });
        owner_ = me;
        depth_ = 1;
    }
    // False when the calling thread does not hold the lock.
    bool Release() {
        std::lock_guard<std::mutex> l(m_);
        if (depth_ == 0 || owner_ != std::this_thread::get_id()) return false;
        if (--depth_ == 0) {
            owner_ = std::thread::id();
            free_.notify_one();
        }
        return true;
    }

private:
    std::mutex m_;
    std::condition_variable free_;
    std::thread::id owner_;
    int depth_ = 0;
};

struct Tsv {
    RecursiveLock lock;
    std::vector<unsigned char> bytes;
};

// --------------------------------------------------------------- state
// g_table: guards the four tables and g_next.
// g_locks: lock handle -> the lock it names; g_lockNames: lock handle ->
//   its name ("" for none); g_named: name -> the shared lock, while alive.
// g_tsvs: variable handle -> the variable.
// g_next: the next handle (locks and variables alike); never reused.
// g_breakOnErrors, g_resourceTracking: the switches, only stored.
std::mutex g_table;
std::map<int, std::shared_ptr<RecursiveLock>> g_locks;
std::map<int, std::string> g_lockNames;
std::map<std::string, std::weak_ptr<RecursiveLock>> g_named;
std::map<int, std::shared_ptr<Tsv>> g_tsvs;
int g_next = 1;
std::atomic<int> g_breakOnErrors{1};
std::atomic<int> g_resourceTracking{1};

std::shared_ptr<RecursiveLock> FindLock(int h) {
    std::lock_guard<std::mutex> l(g_table);
    auto it = g_locks.find(h);
    return it == g_locks.end() ? nullptr : it->second;
}

std::shared_ptr<Tsv> FindTsv(int h) {
    std::lock_guard<std::mutex> l(g_table);
    auto it = g_tsvs.find(h);
    return it == g_tsvs.end() ? nullptr : it->second;
}

}  // namespace

// 0 with a new handle; UIE_BAD_POINTER, UIE_OUT_OF_MEMORY. options unused.
int CmtNewLockAnsi(const char *name, int options, int *lockHandle) {
    (void)options;
    if (!lockHandle) return UIE_BAD_POINTER;
    const std::string key = name ? name : "";
    try {
        std::lock_guard<std::mutex> l(g_table);
        std::shared_ptr<RecursiveLock> lock;
        if (!key.empty()) lock = g_named[key].lock();
        if (!lock) lock = std::make_shared<RecursiveLock>();
        if (!key.empty()) g_named[key] = lock;
        const int h = g_next++;
        g_locks[h] = lock;
        g_lockNames[h] = key;
        *lockHandle = h;
    } catch (const std::bad_alloc &) {
        return UIE_OUT_OF_MEMORY;
    }
    return 0;
}

// 0 once the calling thread holds the lock (again); UIE_BAD_LOCK.
int CmtGetLock(int lockHandle) {
    std::shared_ptr<RecursiveLock> lock = FindLock(lockHandle);
    if (!lock) return UIE_BAD_LOCK;
    lock->Get();
    return 0;
}

// 0; UIE_BAD_LOCK, UIE_NOT_PERMITTED (the calling thread does not hold it).
int CmtReleaseLock(int lockHandle) {
    std::shared_ptr<RecursiveLock> lock = FindLock(lockHandle);
    if (!lock) return UIE_BAD_LOCK;
    return lock->Release() ? 0 : UIE_NOT_PERMITTED;
}

// 0; UIE_BAD_LOCK. A named lock lives on while other handles of its name do.
int CmtDiscardLock(int lockHandle) {
    std::lock_guard<std::mutex> l(g_table);
    auto it = g_locks.find(lockHandle);
    if (it == g_locks.end()) return UIE_BAD_LOCK;
    g_locks.erase(it);
    auto nm = g_lockNames.find(lockHandle);
    const std::string key = nm->second;
    g_lockNames.erase(nm);
    if (!key.empty()) {
        auto n = g_named.find(key);
        if (n != g_named.end() && n->second.expired()) g_named.erase(n);
    }
    return 0;
}

// 0 with the handle of a zeroed variable of size bytes; UIE_BAD_POINTER,
// UIE_BAD_VALUE (size below 1), UIE_OUT_OF_MEMORY.
int CmtNewTSV(int size, int *tsvHandle) {
    if (!tsvHandle) return UIE_BAD_POINTER;
    if (size < 1) return UIE_BAD_VALUE;
    try {
        auto v = std::make_shared<Tsv>();
        v->bytes.assign(static_cast<size_t>(size), 0);
        std::lock_guard<std::mutex> l(g_table);
        const int h = g_next++;
        g_tsvs[h] = std::move(v);
        *tsvHandle = h;
    } catch (const std::bad_alloc &) {
        return UIE_OUT_OF_MEMORY;
    }
    return 0;
}

int CmtDiscardTSV(int tsvHandle) {
    std::lock_guard<std::mutex> l(g_table);
    return g_tsvs.erase(tsvHandle) ? 0 : UIE_BAD_LOCK;
}

// 0; UIE_BAD_LOCK, UIE_BAD_POINTER.
int CmtSetTSV(int tsvHandle, const void *value) {
    std::shared_ptr<Tsv> v = FindTsv(tsvHandle);
    if (!v) return UIE_BAD_LOCK;
    if (!value) return UIE_BAD_POINTER;
    v->lock.Get();
    std::memcpy(v->bytes.data(), value, v->bytes.size());
    v->lock.Release();
    return 0;
}

int CmtGetTSV(int tsvHandle, void *value) {
    std::shared_ptr<Tsv> v = FindTsv(tsvHandle);
    if (!v) return UIE_BAD_LOCK;
    if (!value) return UIE_BAD_POINTER;
    v->lock.Get();
    std::memcpy(value, v->bytes.data(), v->bytes.size());
    v->lock.Release();
    return 0;
}

// 0 with the variable locked for the calling thread and *pointer at its
// bytes, until CmtReleaseTSVPtr; UIE_BAD_LOCK, UIE_BAD_POINTER.
int CmtGetTSVPtr(int tsvHandle, void **pointer) {
    std::shared_ptr<Tsv> v = FindTsv(tsvHandle);
    if (!v) return UIE_BAD_LOCK;
    if (!pointer) return UIE_BAD_POINTER;
    v->lock.Get();
    *pointer = v->bytes.data();
    return 0;
}

// 0; UIE_BAD_LOCK, UIE_NOT_PERMITTED (no CmtGetTSVPtr of this thread is open).
int CmtReleaseTSVPtr(int tsvHandle) {
    std::shared_ptr<Tsv> v = FindTsv(tsvHandle);
    if (!v) return UIE_BAD_LOCK;
    return v->lock.Release() ? 0 : UIE_NOT_PERMITTED;
}

int SetBreakOnLibraryErrors(int on) { return g_breakOnErrors.exchange(on != 0 ? 1 : 0); }
int SetEnableResourceTracking(int on) { return g_resourceTracking.exchange(on != 0 ? 1 : 0); }

double TruncateRealNumber(double x) { return std::trunc(x); }
