// commitq.h: the commit queue of the run-time layer, shared by its
// backends: commits the user made that a callback did not swallow, oldest
// first, until GetUserEvent hands them out one per call.
#ifndef VLIC_UI_COMMON_COMMITQ_H
#define VLIC_UI_COMMON_COMMITQ_H

namespace uicommon {

void CommitQueuePush(int panel, int control);
// True with the oldest commit, which leaves the queue; false when empty.
bool CommitQueuePop(int *panel, int *control);
// Forgets every pending commit of a panel (it is being discarded).
void CommitQueuePurge(int panel);

}  // namespace uicommon

#endif
