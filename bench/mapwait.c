// SPDX-License-Identifier: GPL-3.0-or-later
/* Start-up probe for X11 programs.
 *
 *   mapwait [-s SETTLE_MS] [-t TIMEOUT_MS] PROGRAM [ARGS...]
 *
 * Listens on the root window of $DISPLAY for windows being mapped, then
 * fork/execs PROGRAM and waits for the first top-level window that is
 * mapped (MapNotify of a child of the root window that is not an
 * override-redirect popup). It then lets the program run SETTLE_MS more
 * (default 500) so that it paints, ends it with SIGTERM and collects its
 * resource usage with wait4().
 *
 * Prints one line:  <ms from exec to map> <peak RSS in KiB> <CPU ms>
 * The peak RSS is ru_maxrss of the program's process, the same figure as
 * GNU time's %M; the CPU time is its user + system time over the whole run,
 * settling included (an idle program adds next to nothing). Exits 1 when no window appeared within TIMEOUT_MS
 * (default 20000) or the program ended before mapping one.
 *
 * Build: cc -O2 -o mapwait mapwait.c -lX11
 */
#define _GNU_SOURCE
#include <X11/Xlib.h>

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

static void usage(void)
{
    fputs("usage: mapwait [-s SETTLE_MS] [-t TIMEOUT_MS] PROGRAM [ARGS...]\n", stderr);
    exit(2);
}

int main(int argc, char **argv)
{
    long settle_ms = 500, timeout_ms = 20000;
    int opt;
    while ((opt = getopt(argc, argv, "+s:t:")) != -1) {
        if (opt == 's')
            settle_ms = strtol(optarg, NULL, 10);
        else if (opt == 't')
            timeout_ms = strtol(optarg, NULL, 10);
        else
            usage();
    }
    if (optind >= argc)
        usage();

    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fputs("mapwait: cannot open the display\n", stderr);
        return 2;
    }
    const int xfd = ConnectionNumber(display);
    fcntl(xfd, F_SETFD, FD_CLOEXEC); /* the program gets no copy of it */
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = now_ms();
    const pid_t child = fork();
    if (child < 0) {
        perror("mapwait: fork");
        return 2;
    }
    if (child == 0) {
        execvp(argv[optind], argv + optind);
        perror("mapwait: exec");
        _exit(127);
    }

    double mapped = -1;
    int status = 0;
    struct rusage usage;
    memset(&usage, 0, sizeof usage);
    int reaped = 0;
    while (mapped < 0) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect) {
                mapped = now_ms() - start;
                break;
            }
        }
        if (mapped >= 0)
            break;
        if (wait4(child, &status, WNOHANG, &usage) == child) {
            reaped = 1;
            break;
        }
        const double left = timeout_ms - (now_ms() - start);
        if (left <= 0)
            break;
        struct pollfd pfd = {xfd, POLLIN, 0};
        /* Short slices, so that a program that dies is noticed soon. */
        poll(&pfd, 1, left < 50 ? (int)left : 50);
    }

    if (!reaped) {
        if (mapped >= 0 && settle_ms > 0) {
            const struct timespec pause = {settle_ms / 1000, (settle_ms % 1000) * 1000000L};
            nanosleep(&pause, NULL);
        }
        kill(child, SIGTERM);
        const double killed = now_ms();
        while (wait4(child, &status, WNOHANG, &usage) != child) {
            if (now_ms() - killed > 2000) {
                kill(child, SIGKILL);
                wait4(child, &status, 0, &usage);
                break;
            }
            const struct timespec tick = {0, 5 * 1000000L};
            nanosleep(&tick, NULL);
        }
    }
    XCloseDisplay(display);

    if (mapped < 0) {
        fprintf(stderr, "mapwait: %s mapped no window (%s)\n", argv[optind],
                reaped ? "it ended first" : "timeout");
        return 1;
    }
    const double cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
                       + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    printf("%.1f %ld %.1f\n", mapped, usage.ru_maxrss, cpu);
    return 0;
}
