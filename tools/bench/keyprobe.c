// SPDX-FileCopyrightText: 2026 Pokopin developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

/*
 * keyprobe: the clock of the effect benchmark. It sends keys to the X server
 * through XTest and reads the audio a program writes into a FIFO (SDL's disk
 * driver), timing both on one clock (CLOCK_MONOTONIC, milliseconds).
 *
 *   keyprobe FIFO OUT.raw
 *
 * Commands, one a line on standard input:
 *   down KEYSYM | up KEYSYM   press or release a key (KEYSYM as in XStringToKeysym)
 *   quit                      stop reading and print what was seen
 * A key's time is taken right after the request has been handed to the X
 * server's socket. Everything read from the FIFO is copied to OUT.raw; each
 * read(2) is noted with the time it returned, the stream offset it starts at
 * and its length. On quit, standard output gets:
 *   key down|up KEYSYM T
 *   read T OFFSET BYTES
 * The FIFO is read on a thread of its own, so that keys never hold it back.
 */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

struct read_note {
    double t;
    long long offset;
    long bytes;
};

/* Written by the reader thread only; read by main once the reader is done
   or, on quit, up to the count published last. */
static struct read_note* reads;
static atomic_long n_reads;
static long max_reads;
static atomic_int stop;

struct reader_args {
    int fifo;
    int out;
};

static void* reader(void* p)
{
    const struct reader_args* a = p;
    static char buf[1 << 16];
    long long offset = 0;
    while (!atomic_load(&stop)) {
        struct pollfd pfd = {a->fifo, POLLIN, 0};
        int r = poll(&pfd, 1, 50);
        if (r < 0 && errno != EINTR)
            break;
        if (r <= 0)
            continue;
        if (pfd.revents & POLLIN) {
            ssize_t n = read(a->fifo, buf, sizeof buf);
            double t = now_ms();
            if (n > 0) {
                long i = atomic_load(&n_reads);
                if (i < max_reads) {
                    reads[i] = (struct read_note){t, offset, (long)n};
                    atomic_store(&n_reads, i + 1);
                }
                for (ssize_t done = 0; done < n;) {
                    ssize_t w = write(a->out, buf + done, (size_t)(n - done));
                    if (w <= 0)
                        return NULL;
                    done += w;
                }
                offset += n;
                continue;
            }
        }
        if (pfd.revents & POLLHUP)
            break; /* the writer is gone */
    }
    return NULL;
}

struct key_note {
    double t;
    int down;
    char name[32];
};

int main(int argc, char* argv[])
{
    if (argc != 3) {
        fprintf(stderr, "usage: keyprobe FIFO OUT.raw\n");
        return 2;
    }
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "keyprobe: cannot open display\n");
        return 2;
    }
    int ev, er, major, minor;
    if (!XTestQueryExtension(d, &ev, &er, &major, &minor)) {
        fprintf(stderr, "keyprobe: the X server has no XTEST extension\n");
        return 2;
    }
    /* Non-blocking open: no writer yet. poll() waits for the first one. */
    struct reader_args a;
    a.fifo = open(argv[1], O_RDONLY | O_NONBLOCK);
    a.out = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (a.fifo < 0 || a.out < 0) {
        perror("keyprobe: open");
        return 2;
    }
    max_reads = 1 << 20;
    reads = calloc((size_t)max_reads, sizeof *reads);
    struct key_note keys[4096];
    int n_keys = 0;
    pthread_t thread;
    if (!reads || pthread_create(&thread, NULL, reader, &a) != 0) {
        fprintf(stderr, "keyprobe: cannot start the reader\n");
        return 2;
    }

    char line[256];
    while (fgets(line, sizeof line, stdin)) {
        char cmd[16], name[32];
        int fields = sscanf(line, "%15s %31s", cmd, name);
        if (fields >= 1 && strcmp(cmd, "quit") == 0)
            break;
        if (fields != 2 || (strcmp(cmd, "down") != 0 && strcmp(cmd, "up") != 0)) {
            fprintf(stderr, "keyprobe: bad command: %s", line);
            continue;
        }
        KeySym sym = XStringToKeysym(name);
        KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(d, sym);
        if (code == 0) {
            fprintf(stderr, "keyprobe: no key for %s\n", name);
            continue;
        }
        int down = strcmp(cmd, "down") == 0;
        XTestFakeKeyEvent(d, code, down ? True : False, CurrentTime);
        XFlush(d);
        double t = now_ms();
        if (n_keys < (int)(sizeof keys / sizeof keys[0])) {
            keys[n_keys].t = t;
            keys[n_keys].down = down;
            snprintf(keys[n_keys].name, sizeof keys[n_keys].name, "%s", name);
            ++n_keys;
        }
        XSync(d, False); /* the server has taken it before the next command */
    }

    atomic_store(&stop, 1);
    pthread_join(thread, NULL);
    for (int i = 0; i < n_keys; ++i)
        printf("key %s %s %.3f\n", keys[i].down ? "down" : "up", keys[i].name, keys[i].t);
    long n = atomic_load(&n_reads);
    for (long i = 0; i < n; ++i)
        printf("read %.3f %lld %ld\n", reads[i].t, reads[i].offset, reads[i].bytes);
    XCloseDisplay(d);
    return 0;
}
