// Benchmarks of the downloads panel: one hover pass with the mouse at rest
// (over a button, over nothing), one composition (LoadInit), one turn of the
// panel's loop, and the number of heap allocations each of them makes.
//
// Allocations are counted by replacing malloc and its family in this binary
// (every operator new and every Qt container ends there); the counters
// "allocs/pass" must read 0 for the hover pass at rest.
//
// Runs on Qt's offscreen platform from the program's folder (build/bin),
// where the catalogue lies. The mouse is placed with QCursor::setPos.
#include <benchmark/benchmark.h>

#include <QCursor>
#include <QPoint>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/VLic.h"
#include "downloads/VLicLoad.h"
#include "ui/FVLicEnr.h"
#include "ui/userint.h"

// ------------------------------------------------------ allocation counter
// gCompter: counting is on; gAllocations: allocations seen while on.
static std::atomic<bool> gCompter{false};
static std::atomic<long> gAllocations{0};

extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
void *__libc_memalign(size_t, size_t);
void __libc_free(void *);

void *malloc(size_t n) {
    if (gCompter.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(n);
}
void *calloc(size_t n, size_t m) {
    if (gCompter.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(n, m);
}
void *realloc(void *p, size_t n) {
    if (gCompter.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, n);
}
void *memalign(size_t a, size_t n) {
    if (gCompter.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_memalign(a, n);
}
int posix_memalign(void **p, size_t a, size_t n) {
    if (gCompter.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
    *p = __libc_memalign(a, n);
    return *p ? 0 : 12;
}
void *aligned_alloc(size_t a, size_t n) {
    if (gCompter.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_memalign(a, n);
}
void free(void *p) { __libc_free(p); }
}

// ------------------------------------------------------------ the panel
static int gPanel = -1;

// One poll woken at once by a timer (at rest the poll sleeps until
// something comes).
static void Tour() {
    QTimer::singleShot(0, [] {});
    int p, c;
    GetUserEvent(0, &p, &c);
}
static void Tourner(int n) {
    for (int i = 0; i < n; ++i) Tour();
}

// Puts the mouse at (x, y) from the top-left corner of control (0: the
// panel), then lets the run-time see it.
static void Souris(int control, int x, int y) {
    int top = 0, left = 0, h = 0, w = 0, ptop = 0, pleft = 0;
    GetPanelAttributeAnsi(gPanel, ATTR_TOP, &ptop);
    GetPanelAttributeAnsi(gPanel, ATTR_LEFT, &pleft);
    if (control) GetCtrlBoundingRect(gPanel, control, &top, &left, &h, &w);
    QCursor::setPos(QPoint(pleft + left + x, ptop + top + y));
    Tourner(5);
}

// Runs fn over the state's iterations, counting allocations into a counter.
template <typename F>
static void Mesurer(benchmark::State &state, F fn) {
    long avant = gAllocations;
    long tours = 0;
    for (auto _ : state) {
        gCompter = true;
        fn();
        gCompter = false;
        ++tours;
    }
    state.counters["allocs/pass"] =
        benchmark::Counter(tours ? double(gAllocations - avant) / double(tours) : 0.0);
}

static void BM_SurvolReposSurBouton(benchmark::State &state) {
    Souris(FVLIC_LOAD_BP_EMP, 10, 10);
    LoadSurvol(gPanel, 20);   // the first pass shows the help; the next ones find it shown
    Mesurer(state, [] { LoadSurvol(gPanel, 20); });
    int visible = 0;
    GetCtrlAttributeAnsi(gPanel, FVLIC_LOAD_INFO, ATTR_VISIBLE, &visible);
    if (!visible) state.SkipWithError("the help box should show over BP_EMP");
}
BENCHMARK(BM_SurvolReposSurBouton);

static void BM_SurvolReposSurRien(benchmark::State &state) {
    Souris(0, 2, 2);
    LoadSurvol(gPanel, 20);
    Mesurer(state, [] { LoadSurvol(gPanel, 20); });
}
BENCHMARK(BM_SurvolReposSurRien);

static void BM_LoadInit(benchmark::State &state) {
    const int panel = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_LOAD);
    Mesurer(state, [panel] { LoadInit(panel, 180); });
    DiscardPanel(panel);
}
BENCHMARK(BM_LoadInit);

static void BM_OuvertureComplete(benchmark::State &state) {
    Mesurer(state, [] {
        const int panel = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_LOAD);
        LoadInit(panel, 180);
        DiscardPanel(panel);
    });
}
BENCHMARK(BM_OuvertureComplete)->Unit(benchmark::kMillisecond);

// One turn of the panel's loop with the mouse at rest, woken by a timer:
// hover pass and event poll (at rest the poll itself sleeps until input).
static void BM_TourDeBoucleRepos(benchmark::State &state) {
    Souris(FVLIC_LOAD_BP_EMP, 10, 10);
    LoadSurvol(gPanel, 20);
    Mesurer(state, [] {
        LoadSurvol(gPanel, 20);
        Tour();
    });
}
BENCHMARK(BM_TourDeBoucleRepos)->Iterations(200)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!InitUIRunTime(0, argv, 0)) {
        std::fprintf(stderr, "bench: the user-interface run-time cannot start\n");
        return 1;
    }
    char dossier[MAX_PATHNAME_LEN];
    if (GetProjectDirAnsi(dossier) == 0) SetDirAnsi(dossier);
    if (!VLicProdCharger(VLIC_PROD_FILE)) {
        std::fprintf(stderr, "bench: no catalogue beside the program\n");
        return 1;
    }
    gPanel = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_LOAD);
    if (gPanel <= 0) {
        std::fprintf(stderr, "bench: the downloads panel cannot be loaded\n");
        return 1;
    }
    SetPanelPos(gPanel, 100, 100);
    LoadInit(gPanel, 20);
    SetCtrlAttributeAnsi(gPanel, FVLIC_LOAD_INFO, ATTR_VISIBLE, 0);
    DisplayPanel(gPanel);
    Tourner(10);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DiscardPanel(gPanel);
    return 0;
}
