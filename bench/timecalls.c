// SPDX-License-Identifier: GPL-3.0-or-later
// Times program calls: each command RUNS times, the commands interleaved so
// that a change of the machine's load falls on all of them alike. A call is
// measured from posix_spawn to waitpid, its output going to /dev/null; the
// median in milliseconds is printed per command.
//   timecalls RUNS LABEL PROGRAM [ARG...] \; [LABEL PROGRAM [ARG...] \; ...]
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>

extern char **environ;

static int byValue(const void *a, const void *b)
{
    const double x = *(const double *)a, y = *(const double *)b;
    return (x > y) - (x < y);
}

int main(int argc, char *argv[])
{
    enum { kMaxCommands = 8 };
    char **commands[kMaxCommands];
    const char *labels[kMaxCommands];
    int count = 0;
    const int runs = argc > 1 ? atoi(argv[1]) : 0;
    for (int i = 2; i < argc && count < kMaxCommands;) {
        labels[count] = argv[i];
        commands[count++] = &argv[i + 1];
        while (i < argc && strcmp(argv[i], ";") != 0)
            ++i;
        if (i < argc)
            argv[i++] = NULL; // ends the command's arguments
    }
    if (runs < 1 || count == 0) {
        fprintf(stderr, "usage: timecalls RUNS LABEL PROGRAM [ARG...] ';' ...\n");
        return 2;
    }

    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    double *times = calloc((size_t)(runs * count), sizeof *times);
    for (int run = 0; run < runs; ++run) {
        for (int c = 0; c < count; ++c) {
            struct timespec start, end;
            pid_t pid;
            int status;
            clock_gettime(CLOCK_MONOTONIC, &start);
            if (posix_spawnp(&pid, commands[c][0], &quiet, NULL, commands[c], environ) != 0
                || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
                fprintf(stderr, "timecalls: %s failed\n", labels[c]);
                return 1;
            }
            clock_gettime(CLOCK_MONOTONIC, &end);
            times[c * runs + run] = (double)(end.tv_sec - start.tv_sec) * 1e3 + (double)(end.tv_nsec - start.tv_nsec) / 1e6;
        }
    }
    for (int c = 0; c < count; ++c) {
        qsort(&times[c * runs], (size_t)runs, sizeof *times, byValue);
        const double median = runs % 2 ? times[c * runs + runs / 2]
                                       : (times[c * runs + runs / 2 - 1] + times[c * runs + runs / 2]) / 2;
        printf("%-12s median %7.2f ms   min %7.2f ms   max %7.2f ms   (%d calls)\n", labels[c], median,
               times[c * runs], times[c * runs + runs - 1], runs);
    }
    free(times);
    return 0;
}
