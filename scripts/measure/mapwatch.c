/* mapwatch.c: starts a program and reports, from the X server's own
 * events, how long it took to map its first top-level window, and its
 * resident memory one second after the start.
 *
 *   mapwatch <program> [args...]
 * prints "<milliseconds to mapped> <resident kB at 1 s> <CPU milliseconds
 * of all its threads when mapped>" and ends the program. The CPU time (the
 * scheduler's own count, /proc/PID/task/N/schedstat of each thread N) still
 * means something on a machine that other work keeps busy, where the time
 * to mapped mostly measures the wait for a core. Watches the root window's
 * substructure, so it measures on a display without a window manager (a
 * managed window is mapped inside a frame, not on the root). Exit 1 when
 * nothing is mapped within 20 s. */
#define _GNU_SOURCE
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <dirent.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/* VmRSS of the process in kB, -1 when unreadable. */
static long rss_kb(pid_t pid) {
    char path[64], line[256];
    long kb = -1;
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *f = fopen(path, "r");
    if (!f) return -1;
    while (fgets(line, sizeof line, f))
        if (strncmp(line, "VmRSS:", 6) == 0) kb = strtol(line + 6, NULL, 10);
    fclose(f);
    return kb;
}

/* CPU milliseconds the process's threads have run so far, -1 when unreadable. */
static double cpu_ms(pid_t pid) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR *d = opendir(path);
    if (!d) return -1;
    double total = 0;
    struct dirent *e;
    while ((e = readdir(d))) {
        if (e->d_name[0] == '.') continue;
        char stat[384];
        unsigned long long ns = 0;
        snprintf(stat, sizeof stat, "%s/%s/schedstat", path, e->d_name);
        FILE *f = fopen(stat, "r");
        if (!f) continue;
        if (fscanf(f, "%llu", &ns) == 1) total += ns / 1e6;
        fclose(f);
    }
    closedir(d);
    return total;
}

int main(int argc, char **argv) {
    if (argc < 2) { fprintf(stderr, "usage: mapwatch <program> [args...]\n"); return 2; }
    xcb_connection_t *c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c)) { fprintf(stderr, "mapwatch: no display\n"); return 2; }
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask));

    const double t0 = now_ms();
    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    double mapped = -1, cpu = -1;
    while (mapped < 0 && now_ms() - t0 < 20000) {
        xcb_generic_event_t *e = xcb_poll_for_event(c);
        if (!e) {
            if (xcb_connection_has_error(c)) break;
            usleep(200);
            continue;
        }
        if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY && !((xcb_map_notify_event_t *)e)->override_redirect) {
            mapped = now_ms() - t0;
            cpu = cpu_ms(pid);
        }
        free(e);
    }
    const double left = t0 + 1000 - now_ms();
    if (left > 0) usleep((useconds_t)(left * 1000));
    const long kb = rss_kb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    xcb_disconnect(c);
    if (mapped < 0) { fprintf(stderr, "mapwatch: %s mapped no window\n", argv[1]); return 1; }
    printf("%.1f %ld %.2f\n", mapped, kb, cpu);
    return 0;
}
