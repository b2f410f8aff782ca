// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

/*
 * waitmap: start a program and report how long it takes until its window
 * with a given title is on screen, watched from outside the program.
 *
 *   waitmap [-t SECONDS] TITLE PROGRAM [ARGS...]
 *
 * Prints "<pid> <milliseconds>" and exits 0 as soon as a top-level window
 * titled TITLE (_NET_WM_NAME, else WM_NAME) has been mapped and has received
 * its first Expose; the program is left running for the caller to measure
 * and end. The clock starts right before fork(). Exits 1 if the program ends
 * first or the time limit (default 30 s) passes; the program is then killed.
 */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
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

/* Small table of top-level windows we asked for Expose events on. */
#define MAX_WATCH 256
static Window watched[MAX_WATCH];
static unsigned long watched_from[MAX_WATCH]; /* serial of our request for its Expose */
static int n_watched;

/* Whether an Expose after this map is sure to reach us: the server had
   taken our request for Expose events before it mapped the window. Under
   load the window may be mapped and exposed before that request arrives. */
static int expose_will_come(Window w, unsigned long map_serial)
{
    for (int i = 0; i < n_watched; ++i)
        if (watched[i] == w)
            return map_serial >= watched_from[i];
    return 0;
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
    XSetErrorHandler(ignore_errors);
    Window root = DefaultRootWindow(d);
    XSelectInput(d, root, SubstructureNotifyMask);
    XSync(d, False);

    double t0 = now_ms();
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
        execvp(prog[0], prog);
        perror("waitmap: exec");
        _exit(127);
    }

    Window target = None;
    int target_needs_expose = 0;
    int fd = ConnectionNumber(d);
    for (;;) {
        while (XPending(d)) {
            XEvent ev;
            XNextEvent(d, &ev);
            if (ev.type == CreateNotify && ev.xcreatewindow.parent == root) {
                Window w = ev.xcreatewindow.window;
                if (n_watched < MAX_WATCH) {
                    watched_from[n_watched] = NextRequest(d);
                    XSelectInput(d, w, ExposureMask);
                    watched[n_watched++] = w;
                }
            } else if (ev.type == MapNotify && ev.xmap.event == root && target == None) {
                Window w = ev.xmap.window;
                if (has_title(d, w, title)) {
                    target = w;
                    target_needs_expose = expose_will_come(w, ev.xmap.serial);
                    if (!target_needs_expose) {
                        /* Mapped before we could ask for its Expose: the map is all we see. */
                        printf("%d %.1f\n", (int)pid, now_ms() - t0);
                        return 0;
                    }
                }
            } else if (ev.type == Expose && target != None && ev.xexpose.window == target) {
                printf("%d %.1f\n", (int)pid, now_ms() - t0);
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
            fprintf(stderr, "waitmap: no window \"%s\" within %.0f s\n", title, limit_s);
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
