// commitq.cpp: the commit queue shared by the backends of the run-time layer.
//
// Exports (ui/common/commitq.h): CommitQueuePush, CommitQueuePop,
// CommitQueuePurge.
//
// State: g_commits, pending (panel, control) commits, oldest first. Touched
// only from the user-interface thread, so it needs no lock.
#include "ui/common/commitq.h"

#include <deque>
#include <utility>

namespace uicommon {

static std::deque<std::pair<int, int>> g_commits;

void CommitQueuePush(int panel, int control) { g_commits.emplace_back(panel, control); }

bool CommitQueuePop(int *panel, int *control) {
    if (g_commits.empty()) return false;
    *panel = g_commits.front().first;
    *control = g_commits.front().second;
    g_commits.pop_front();
    return true;
}

void CommitQueuePurge(int panel) {
    for (auto it = g_commits.begin(); it != g_commits.end();)
        it = it->first == panel ? g_commits.erase(it) : it + 1;
}

}  // namespace uicommon
