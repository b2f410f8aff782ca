// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

/*
 * waitmap: start a program and report how long it takes until its window
 * with a given title has pixels on screen, watched from outside the program.
 *
 *   waitmap [-t SECONDS] TITLE PROGRAM [ARGS...]
 *
 * The clock starts right before fork(). Drawing is seen through the DAMAGE
 * extension, on the root window: with no compositing, whatever a program
 * draws into its windows lands on the root's pixels, and a damage object
 * made before the program starts cannot miss any of it. Each damaged
 * rectangle is put down to the latest-mapped window of the program that it
 * touches. The first damage of a window is its first frame (Qt's windows
 * have no background for the server to paint on map). The map and the first
 * Expose are noted too: the server sends that Expose on map, before the
 * program has drawn anything, so it is the earlier and weaker mark.
 *
 * Prints one line of name=milliseconds fields and exits 0 as soon as the
 * window titled TITLE (_NET_WM_NAME, else WM_NAME) has its first damage:
 *   pid=P main_map=.. main_expose=.. main_damage=.. first_map=.. first_damage=..
 * first_* is about the first window of the program that was mapped (the
 * title card, when one comes before the main window; else the main window
 * itself). -1 means not seen: an Expose is missed when the window was mapped
 * before our request for it reached the server. The program is left running
 * for the caller to measure and end. Exits 1 if the program ends first or the
 * time limit (default 30 s) passes; the program is then killed.
 *
 * The program gets WAITMAP_T0_NS, the start of the clock in CLOCK_MONOTONIC
 * nanoseconds, so that a copy instrumented for a look inside can print its
 * own marks on the same scale.
 */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static long long now_ns(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

static double now_ms(void)
{
    return now_ns() / 1e6;
}

/* Windows can vanish between an event and our request about them. */
static int ignore_errors(Display* d, XErrorEvent* e)
{
    (void)d;
    (void)e;
    return 0;
}

static int has_title(Display* d, Window w, const char* title)
{
    Atom net_wm_name = XInternAtom(d, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = NULL;
    int match = 0;
    if (XGetWindowProperty(d, w, net_wm_name, 0, 1024, False, utf8, &type, &format, &n, &after,
                           &data)
            == Success
        && data && type == utf8) {
        match = strlen(title) == n && memcmp(data, title, n) == 0;
        XFree(data);
        return match;
    }
    if (data)
        XFree(data);
    char* name = NULL;
    if (XFetchName(d, w, &name) && name) {
        match = strcmp(name, title) == 0;
        XFree(name);
    }
    return match;
}

/* The top-level windows created since the start, with what we saw of each. */
#define MAX_WATCH 256
struct watch {
    Window window;
    int x, y, width, height;
    unsigned long watched_from; /* serial of our request for its Expose */
    double map, expose, damage; /* ms from the start, -1 until seen */
    int mapped;                 /* 0, else its place in the order of maps */
};
static struct watch watched[MAX_WATCH];
static int n_watched;
static int maps;

static struct watch* find(Window w)
{
    for (int i = 0; i < n_watched; ++i)
        if (watched[i].window == w)
            return &watched[i];
    return NULL;
}

/* The window a damaged rectangle of the root belongs to: the latest-mapped
   one it touches (no window manager restacks them). */
static struct watch* owner(const XRectangle* r)
{
    struct watch* best = NULL;
    for (int i = 0; i < n_watched; ++i) {
        struct watch* w = &watched[i];
        if (w->mapped && r->x < w->x + w->width && w->x < r->x + r->width && r->y < w->y + w->height
            && w->y < r->y + r->height && (!best || w->mapped > best->mapped))
            best = w;
    }
    return best;
}

static void print_result(int pid, const struct watch* main_w, const struct watch* first)
{
    printf(
        "pid=%d main_map=%.1f main_expose=%.1f main_damage=%.1f first_map=%.1f "
        "first_damage=%.1f\n",
        pid, main_w->map, main_w->expose, main_w->damage, first->map, first->damage);
    fflush(stdout);
}

int main(int argc, char* argv[])
{
    double limit_s = 30;
    int argi = 1;
    if (argi + 1 < argc && strcmp(argv[argi], "-t") == 0) {
        limit_s = atof(argv[argi + 1]);
        argi += 2;
    }
    if (argc - argi < 2) {
        fprintf(stderr, "usage: waitmap [-t SECONDS] TITLE PROGRAM [ARGS...]\n");
        return 2;
    }
    const char* title = argv[argi];
    char** prog = argv + argi + 1;

    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "waitmap: cannot open display\n");
        return 2;
    }
    int damage_event = 0, damage_error = 0;
    if (!XDamageQueryExtension(d, &damage_event, &damage_error)) {
        fprintf(stderr, "waitmap: the X server has no DAMAGE extension\n");
        return 2;
    }
    XSetErrorHandler(ignore_errors);
    Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    XDamageCreate(d, root, XDamageReportRawRectangles);
    XSync(d, False);

    long long t0_ns = now_ns();
    double t0 = t0_ns / 1e6;
    pid_t pid = fork();
    if (pid < 0) {
        perror("waitmap: fork");
        return 2;
    }
    if (pid == 0) {
        close(ConnectionNumber(d));
        /* Our stdout carries only the result line: a caller reading it to
           the end must not wait for the program. */
        dup2(STDERR_FILENO, STDOUT_FILENO);
        char t0_text[32];
        snprintf(t0_text, sizeof t0_text, "%lld", t0_ns);
        setenv("WAITMAP_T0_NS", t0_text, 1);
        execvp(prog[0], prog);
        perror("waitmap: exec");
        _exit(127);
    }

    struct watch* main_w = NULL; /* the window titled TITLE */
    struct watch* first = NULL;
    int fd = ConnectionNumber(d);
    for (;;) {
        while (XPending(d)) {
            XEvent ev;
            XNextEvent(d, &ev);
            double t = now_ms() - t0;
            if (ev.type == CreateNotify && ev.xcreatewindow.parent == root) {
                if (n_watched < MAX_WATCH) {
                    struct watch* w = &watched[n_watched++];
                    w->window = ev.xcreatewindow.window;
                    w->x = ev.xcreatewindow.x;
                    w->y = ev.xcreatewindow.y;
                    w->width = ev.xcreatewindow.width + 2 * ev.xcreatewindow.border_width;
                    w->height = ev.xcreatewindow.height + 2 * ev.xcreatewindow.border_width;
                    w->watched_from = NextRequest(d);
                    w->map = w->expose = w->damage = -1;
                    w->mapped = 0;
                    XSelectInput(d, w->window, ExposureMask);
                    XFlush(d);
                }
            } else if (ev.type == ConfigureNotify && ev.xconfigure.event == root) {
                struct watch* w = find(ev.xconfigure.window);
                if (w) {
                    w->x = ev.xconfigure.x;
                    w->y = ev.xconfigure.y;
                    w->width = ev.xconfigure.width + 2 * ev.xconfigure.border_width;
                    w->height = ev.xconfigure.height + 2 * ev.xconfigure.border_width;
                }
            } else if (ev.type == MapNotify && ev.xmap.event == root) {
                struct watch* w = find(ev.xmap.window);
                if (!w)
                    continue;
                w->mapped = ++maps;
                if (w->map >= 0)
                    continue;
                w->map = t;
                if (ev.xmap.serial < w->watched_from)
                    w->expose = -2; /* its Expose may have gone before we asked */
                if (!first)
                    first = w;
                if (!main_w && has_title(d, w->window, title))
                    main_w = w;
            } else if (ev.type == UnmapNotify && ev.xunmap.event == root) {
                struct watch* w = find(ev.xunmap.window);
                if (w)
                    w->mapped = 0;
            } else if (ev.type == Expose) {
                struct watch* w = find(ev.xexpose.window);
                if (w && w->expose == -1)
                    w->expose = t;
            } else if (ev.type == damage_event + XDamageNotify) {
                const XDamageNotifyEvent* de = (const XDamageNotifyEvent*)&ev;
                struct watch* w = owner(&de->area);
                if (w && w->damage < 0)
                    w->damage = t;
            }
            if (main_w && main_w->damage >= 0) {
                if (main_w->expose < 0)
                    main_w->expose = -1;
                if (first->expose < 0)
                    first->expose = -1;
                print_result((int)pid, main_w, first);
                return 0;
            }
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            fprintf(stderr, "waitmap: %s ended before its window \"%s\" showed (status %d)\n",
                    prog[0], title, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
            return 1;
        }
        if (now_ms() - t0 > limit_s * 1000.0) {
            fprintf(stderr, "waitmap: no window \"%s\" drawn within %.0f s\n", title, limit_s);
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return 1;
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        struct timeval tv = {0, 20000};
        if (select(fd + 1, &fds, NULL, NULL, &tv) < 0 && errno != EINTR) {
            perror("waitmap: select");
            kill(pid, SIGKILL);
            return 2;
        }
    }
}
