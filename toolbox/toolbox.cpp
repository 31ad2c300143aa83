// toolbox.cpp: the callback-chaining facility of the toolbox.
//
// What it does: hangs a further callback on a control or a panel so that the
// callbacks it already had keep receiving every event. The chained callback
// runs first; the earlier one runs after it unless the chained one returned
// non-zero. The hyperlink control is built on it.
//
// Exports (toolbox/toolbox.h): ChainCtrlCallback, ChainPanelCallback,
// GetChainedCallbackData, UnchainCtrlCallback, UnchainPanelCallback, and the
// allocation helpers and test seam that the toolbox's modules share.
//
// Data model: one heap ChainLink per chained callback. Chaining installs the
// dispatcher (CtrlChainDispatcher or PanelChainDispatcher) as the control's
// (panel's) callback, with the new link as its callback data; the link keeps
// the callback and data that were installed before it. When that earlier
// callback is the dispatcher too, its data is the next older link, so the
// links of one control form a list from the newest to the oldest, ending at
// the callback that was there first (or none).
//
// A link is freed when it is unchained or when its control (panel) is
// discarded: on EVENT_DISCARD the dispatcher puts the earlier callback back,
// runs both callbacks and frees the link. A callback may unchain its own link
// while the dispatcher is running it (the hyperlink panel callback does so on
// EVENT_CLOSE); the link is then taken out of the list at once and freed only
// when the last dispatcher run on it has finished, so that no run reads freed
// memory.
#include "toolbox/toolbox.h"

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

// The chained callback and the earlier one, of the control or the panel form
// according to the chain the link belongs to.
union ChainCallback {
    CtrlCallbackPtr ctrl;
    PanelCallbackPtr panel;
};

constexpr std::uint32_t kLinkMagic = 0x4C494E4B;   // "LINK"

struct ChainLink {
    std::uint32_t magic;        // kLinkMagic while the link is alive, 0 once freed
    char *typeName;             // the link's own copy of the name it was chained under
    void *chainedData;          // data given to the chained callback
    ChainCallback chained;      // the chained callback, may be null
    void *previousData;         // callback data installed before this link
    ChainCallback previous;     // callback installed before this link, may be null
    // Bookkeeping of the dispatcher, after the six fields above:
    int dispatching;            // dispatcher runs in progress on this link
    bool detached;              // out of its list; freed when dispatching drops to 0
    ChainLink *nextDetached;    // next link of gDetached while detached
};

// The six fields of the record come first and in this order.
static_assert(offsetof(ChainLink, magic) == 0, "the magic value opens a chain link");
static_assert(offsetof(ChainLink, typeName) < offsetof(ChainLink, chainedData) &&
                  offsetof(ChainLink, chainedData) < offsetof(ChainLink, chained) &&
                  offsetof(ChainLink, chained) < offsetof(ChainLink, previousData) &&
                  offsetof(ChainLink, previousData) < offsetof(ChainLink, previous) &&
                  offsetof(ChainLink, previous) < offsetof(ChainLink, dispatching),
              "chain link fields: magic, type name, data, callback, earlier data, earlier callback");
static_assert(sizeof(ChainCallback) == sizeof(void (*)()), "a chained callback is one function pointer");

// A chain's owner: a control of a panel, or the panel itself (control 0).
struct ChainOwner {
    int panel;
    int control;    // 0: the panel's own chain
    bool isPanel() const { return control == 0; }
};

int CtrlChainDispatcher(int panel, int control, int event, void *callbackData, int eventData1,
                        int eventData2);
int PanelChainDispatcher(int panel, int event, void *callbackData, int eventData1, int eventData2);

// ---- Module state
// gChainLock: the facility's one lock (a run-time lock without a name),
//   taken around every operation on a chain and around the dispatcher's reads
//   and writes of a link, never while a callback runs. -1 until the first
//   chain operation creates it; it lives until the process ends.
// gChainLockInit: makes that creation happen once even with several threads.
// gDetached: the links taken out of their list while a dispatcher run was
//   still using them, newest first. Each is freed, and leaves this list, when
//   its last run ends. While it is here, its earlier callback and data are
//   kept up to date as if it were still in the list, so that the run that is
//   left never calls a link that has gone.
// gAllocFailCountdown: test seam; when > 0, the allocation that brings it to
//   0 fails. 0 means allocations are never made to fail.
int gChainLock = -1;
std::mutex gChainLockInit;
ChainLink *gDetached = nullptr;
int gAllocFailCountdown = 0;

// Takes the facility's lock, creating it first if need be.
// Returns 0 on success, the run-time's negative status on failure.
int takeChainLock() {
    {
        std::lock_guard<std::mutex> guard(gChainLockInit);
        if (gChainLock < 0) {
            int lock = -1;
            const int status = CmtNewLockAnsi("", 0, &lock);
            if (status < 0) return status;
            gChainLock = lock;
        }
    }
    return CmtGetLock(gChainLock);
}

void releaseChainLock() { CmtReleaseLock(gChainLock); }

// Holds the facility's lock for one scope; status() < 0 when it was not taken.
class ChainLockGuard {
public:
    ChainLockGuard() : status_(takeChainLock()) {}
    ~ChainLockGuard() {
        if (status_ >= 0) releaseChainLock();
    }
    ChainLockGuard(const ChainLockGuard &) = delete;
    ChainLockGuard &operator=(const ChainLockGuard &) = delete;
    int status() const { return status_; }

private:
    int status_;
};

// Reads the owner's installed callback and data. 0 on success, the
// run-time's negative status on failure.
int readInstalled(const ChainOwner &owner, ChainCallback *callback, void **data) {
    int status;
    if (owner.isPanel()) {
        status = GetPanelAttributeAnsi(owner.panel, ATTR_CALLBACK_FUNCTION_POINTER, &callback->panel);
        if (status >= 0) status = GetPanelAttributeAnsi(owner.panel, ATTR_CALLBACK_DATA, data);
    } else {
        status = GetCtrlAttributeAnsi(owner.panel, owner.control, ATTR_CALLBACK_FUNCTION_POINTER,
                                      &callback->ctrl);
        if (status >= 0)
            status = GetCtrlAttributeAnsi(owner.panel, owner.control, ATTR_CALLBACK_DATA, data);
    }
    return status < 0 ? status : 0;
}

// Installs callback and data on the owner. 0 on success, the run-time's
// negative status on failure.
int install(const ChainOwner &owner, ChainCallback callback, void *data) {
    const int status = owner.isPanel()
                           ? InstallPanelCallback(owner.panel, callback.panel, data)
                           : InstallCtrlCallback(owner.panel, owner.control, callback.ctrl, data);
    return status < 0 ? status : 0;
}

bool isDispatcher(const ChainOwner &owner, ChainCallback callback) {
    return owner.isPanel() ? callback.panel == &PanelChainDispatcher
                           : callback.ctrl == &CtrlChainDispatcher;
}

// The link that data designates when it is the data of the dispatcher, or
// null when it carries no live link.
ChainLink *asLink(void *data) {
    ChainLink *link = static_cast<ChainLink *>(data);
    if (link == nullptr || link->magic != kLinkMagic) return nullptr;
    return link;
}

// The owner's newest link, or null when its installed callback is not the
// dispatcher. 0 on success, the run-time's negative status on failure.
int newestLink(const ChainOwner &owner, ChainLink **newest) {
    ChainCallback callback{};
    void *data = nullptr;
    *newest = nullptr;
    const int status = readInstalled(owner, &callback, &data);
    if (status < 0) return status;
    if (isDispatcher(owner, callback)) *newest = asLink(data);
    return 0;
}

// The next older link after link, or null at the end of the list.
ChainLink *olderLink(const ChainOwner &owner, const ChainLink *link) {
    return isDispatcher(owner, link->previous) ? asLink(link->previousData) : nullptr;
}

// Finds the link chained under typeName, and the newer link before it (null
// when the found one is the newest). 0 when found, UIEBadCtrlType when the
// list holds no such link, the run-time's negative status on failure.
int findLink(const ChainOwner &owner, const char *typeName, ChainLink **found, ChainLink **newer) {
    ChainLink *link = nullptr;
    const int status = newestLink(owner, &link);
    if (status < 0) return status;
    ChainLink *before = nullptr;
    for (; link != nullptr; before = link, link = olderLink(owner, link)) {
        if (std::strcmp(link->typeName, typeName) == 0) {
            *found = link;
            if (newer) *newer = before;
            return 0;
        }
    }
    return UIEBadCtrlType;
}

void freeLink(ChainLink *link) {
    link->magic = 0;
    std::free(link->typeName);
    std::free(link);
}

// Frees a detached link whose last dispatcher run has ended.
void freeDetached(ChainLink *link) {
    for (ChainLink **at = &gDetached; *at != nullptr; at = &(*at)->nextDetached) {
        if (*at == link) {
            *at = link->nextDetached;
            break;
        }
    }
    freeLink(link);
}

// Lets go of a link that has just been taken out of its list: the detached
// links that led to it now lead to what it led to; it is freed now or, while
// a dispatcher run still uses it, when that run ends.
void detachLink(ChainLink *link) {
    for (ChainLink *d = gDetached; d != nullptr; d = d->nextDetached) {
        if (d->previousData == link) {
            d->previous = link->previous;
            d->previousData = link->previousData;
        }
    }
    if (link->dispatching > 0) {
        link->detached = true;
        link->nextDetached = gDetached;
        gDetached = link;
    } else {
        freeLink(link);
    }
}

int chainCallback(const ChainOwner &owner, ChainCallback callback, void *callbackData,
                  const char *typeName) {
    if (typeName == nullptr) return UIENullPointerPassed;
    ChainLockGuard lock;
    if (lock.status() < 0) return lock.status();

    ChainLink *existing = nullptr;
    int status = findLink(owner, typeName, &existing, nullptr);
    if (status == 0) return UIEBadCtrlType;   // a link of that type name is already there
    if (status != UIEBadCtrlType) return status;

    ChainCallback previous{};
    void *previousData = nullptr;
    status = readInstalled(owner, &previous, &previousData);
    if (status < 0) return status;

    ChainLink *link = static_cast<ChainLink *>(ToolboxAlloc(sizeof(ChainLink)));
    char *name = ToolboxStrDup(typeName);
    if (link == nullptr || name == nullptr) {
        std::free(link);
        std::free(name);
        return UIEOutOfMemory;
    }
    *link = ChainLink{kLinkMagic, name, callbackData, callback, previousData, previous, 0, false, nullptr};

    ChainCallback dispatcher{};
    if (owner.isPanel())
        dispatcher.panel = &PanelChainDispatcher;
    else
        dispatcher.ctrl = &CtrlChainDispatcher;
    status = install(owner, dispatcher, link);
    if (status < 0) {
        freeLink(link);
        return status;
    }
    return 0;
}

int unchainCallback(const ChainOwner &owner, const char *typeName) {
    if (typeName == nullptr) return UIENullPointerPassed;
    ChainLockGuard lock;
    if (lock.status() < 0) return lock.status();

    ChainLink *link = nullptr;
    ChainLink *newer = nullptr;
    const int status = findLink(owner, typeName, &link, &newer);
    if (status == UIEBadCtrlType) return 0;   // not in the list: nothing changes
    if (status < 0) return status;

    if (newer == nullptr) {
        // The newest link: the callback it replaced is installed again.
        const int installed = install(owner, link->previous, link->previousData);
        if (installed < 0) return installed;
    } else {
        // An older one: the newer link now leads straight to what it led to.
        newer->previous = link->previous;
        newer->previousData = link->previousData;
    }
    detachLink(link);
    return 1;
}

// One dispatcher run on link for an event of owner. call(fn, data) calls a
// callback of the owner's form and returns its result.
template <typename Call>
int dispatch(const ChainOwner &owner, ChainLink *link, int event, Call call) {
    ChainCallback chained{};
    void *chainedData = nullptr;
    const bool discarding = event == EVENT_DISCARD;
    {
        ChainLockGuard lock;
        assert(link != nullptr && link->magic == kLinkMagic &&
               "the chain dispatcher runs only with a live chain link as its data");
        if (link == nullptr || link->magic != kLinkMagic) return 0;
        ++link->dispatching;
        chained = link->chained;
        chainedData = link->chainedData;
        if (discarding && !link->detached) {
            // The owner goes away: it gets back what it had before this link,
            // so that the chained callback finds its link gone, and the link
            // is freed once both callbacks have run.
            install(owner, link->previous, link->previousData);
            detachLink(link);
        }
    }

    int result = 0;
    if (owner.isPanel() ? chained.panel != nullptr : chained.ctrl != nullptr)
        result = call(chained, chainedData);
    if (discarding) result = 0;   // the earlier callback is told of the discard all the same

    ChainCallback previous{};
    void *previousData = nullptr;
    if (result == 0) {
        // Read after the chained callback: it may have unchained older links.
        ChainLockGuard lock;
        previous = link->previous;
        previousData = link->previousData;
    }
    if (result == 0 && (owner.isPanel() ? previous.panel != nullptr : previous.ctrl != nullptr))
        result = call(previous, previousData);

    ChainLockGuard lock;
    if (--link->dispatching == 0 && link->detached) freeDetached(link);
    return result;
}

int CtrlChainDispatcher(int panel, int control, int event, void *callbackData, int eventData1,
                        int eventData2) {
    const ChainOwner owner{panel, control};
    assert(control != 0 && "the control dispatcher serves controls only");
    return dispatch(owner, static_cast<ChainLink *>(callbackData), event,
                    [&](ChainCallback fn, void *data) {
                        return fn.ctrl(panel, control, event, data, eventData1, eventData2);
                    });
}

int PanelChainDispatcher(int panel, int event, void *callbackData, int eventData1, int eventData2) {
    const ChainOwner owner{panel, 0};
    return dispatch(owner, static_cast<ChainLink *>(callbackData), event,
                    [&](ChainCallback fn, void *data) {
                        return fn.panel(panel, event, data, eventData1, eventData2);
                    });
}

}   // namespace

// ---- Allocation shared by the toolbox's modules

void *ToolboxAlloc(std::size_t size) {
    if (gAllocFailCountdown > 0 && --gAllocFailCountdown == 0) return nullptr;
    return std::calloc(1, size);
}

char *ToolboxStrDup(const char *text) {
    assert(text != nullptr && "ToolboxStrDup copies a text, never a null pointer");
    const std::size_t size = std::strlen(text) + 1;
    char *copy = static_cast<char *>(ToolboxAlloc(size));
    if (copy != nullptr) std::memcpy(copy, text, size);
    return copy;
}

void ToolboxFailAllocation(int nth) { gAllocFailCountdown = nth > 0 ? nth : 0; }

// ---- Public operations of the chaining facility

// 0 on success; UIENullPointerPassed for a null type name; UIEBadCtrlType
// when the control already carries a link of that type name; UIEOutOfMemory;
// the run-time's negative status when the control cannot be read or set.
int ChainCtrlCallback(int panel, int control, CtrlCallbackPtr callback, void *callbackData,
                      const char *typeName) {
    assert(control != 0 && "ChainCtrlCallback needs a control id; the panel has ChainPanelCallback");
    ChainCallback fn{};
    fn.ctrl = callback;
    return chainCallback(ChainOwner{panel, control}, fn, callbackData, typeName);
}

// As ChainCtrlCallback, for the panel's own callback.
int ChainPanelCallback(int panel, PanelCallbackPtr callback, void *callbackData,
                       const char *typeName) {
    ChainCallback fn{};
    fn.panel = callback;
    return chainCallback(ChainOwner{panel, 0}, fn, callbackData, typeName);
}

// Control 0 looks in the panel's chain. *callbackData receives the data of the
// link chained under typeName, or, for an empty type name, the data of the
// first, unchained callback. 0 on success; UIEBadCtrlType when no link of that
// name is there (*callbackData is then left as it was); UIENullPointerPassed
// for a null type name or out pointer; the run-time's status on failure.
int GetChainedCallbackData(int panel, int control, const char *typeName, void **callbackData) {
    if (typeName == nullptr || callbackData == nullptr) return UIENullPointerPassed;
    const ChainOwner owner{panel, control};
    ChainLockGuard lock;
    if (lock.status() < 0) return lock.status();

    if (typeName[0] == '\0') {
        ChainCallback callback{};
        void *data = nullptr;
        int status = readInstalled(owner, &callback, &data);
        if (status < 0) return status;
        ChainLink *link = nullptr;
        status = newestLink(owner, &link);
        if (status < 0) return status;
        for (; link != nullptr; link = olderLink(owner, link)) data = link->previousData;
        *callbackData = data;
        return 0;
    }

    ChainLink *link = nullptr;
    const int status = findLink(owner, typeName, &link, nullptr);
    if (status < 0) return status;
    *callbackData = link->chainedData;
    return 0;
}

// 1 when the link was found and removed, 0 when the control has no link of
// that type name (nothing changes); UIENullPointerPassed for a null type
// name; the run-time's negative status on failure.
int UnchainCtrlCallback(int panel, int control, const char *typeName) {
    assert(control != 0 && "UnchainCtrlCallback needs a control id; the panel has UnchainPanelCallback");
    return unchainCallback(ChainOwner{panel, control}, typeName);
}

// As UnchainCtrlCallback, for the panel's own chain.
int UnchainPanelCallback(int panel, const char *typeName) {
    return unchainCallback(ChainOwner{panel, 0}, typeName);
}
