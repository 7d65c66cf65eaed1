/* Preloaded into every Wine process where address randomization cannot be turned off (a
 * container's seccomp profile refuses the personality that turns it off).
 *
 * Debian's Wine has no preloader, which would keep the address of the shared user data
 * (0x7ffe0000 to 0x7fff0000) free before anything else is mapped. Its loader is linked at
 * 0x7d000000, and the kernel starts the C library's heap at random up to 1 GiB above the
 * loader's end: about one start in 3,000 that heap covers the shared user data by the time
 * Wine maps it, and the process ends before it is under way ("failed to map the shared user
 * data"), which a Wine program that started it sees as CreateProcess failing with
 * ERROR_INTERNAL_ERROR (1359).
 *
 * This is the retry of exactly that failure, made before it happens: a process whose heap
 * starts below the end of the shared user data and near enough below it to reach it starts
 * itself again at once, with the same arguments and environment, and the kernel places its
 * heap anew. The margin is far more than a Wine process's heap holds when the shared user data
 * is mapped (some hundreds of KiB), and only about one start in 16 goes again (64 MiB of 1 GiB).
 *
 * Only where that can help: where the heap does not move (the personality's ADDR_NO_RANDOMIZE,
 * or kernel.randomize_va_space below 2, which leaves the heap where the program ends) it is
 * always about 0x7d005000, inside the margin, yet Wine starts fine from there. And a bounded
 * number of times in a row: a heap placed at random lands in the margin one start in 16, so
 * nine starts in a row there (once in 16^9, 7 * 10^10, where it moves) mean that it does not
 * move for a reason that this cannot see, and the process goes on as it is. */
#ifndef _GNU_SOURCE   /* g++, which also builds it for its test, defines it itself */
#define _GNU_SOURCE
#endif
#include <fcntl.h>
#include <stdint.h>
#include <stdlib.h>
#include <sys/personality.h>
#include <unistd.h>

static const uintptr_t kSharedUserDataStart = 0x7ffe0000u;
static const uintptr_t kSharedUserDataEnd = 0x7fff0000u;
static const uintptr_t kHeapReach = 64u << 20;
static const int kMostStartsAgain = 8;   /* below 10: the count is written as one digit */
/* How many times in a row this process has started again; only there while it does. */
static const char kStartsAgainVariable[] = "TESSALY_LAYOUT_GUARD_STARTS_AGAIN";

/* Whether a start goes again: its heap starts at `heap`, it has started again `so_far` times
 * in a row, `persona` is its personality (-1: unknown) and `randomize_level` the first
 * character of kernel.randomize_va_space ('2' where unknown, the kernel's default). */
static int starts_again(uintptr_t heap, int so_far, int persona, char randomize_level)
{
    const int may_reach = heap < kSharedUserDataEnd && heap + kHeapReach > kSharedUserDataStart;
    const int fixed = (persona != -1 && (persona & ADDR_NO_RANDOMIZE) != 0) || randomize_level < '2';
    return may_reach && !fixed && so_far < kMostStartsAgain;
}

/* Read without allocating, which would move the heap that is measured. */
static char randomize_level(void)
{
    char level = '2';
    const int file = open("/proc/sys/kernel/randomize_va_space", O_RDONLY | O_CLOEXEC);
    if (file >= 0) {
        if (read(file, &level, 1) != 1)
            level = '2';
        close(file);
    }
    return level;
}

/* The C library calls constructors of preloaded libraries with the program's arguments. */
__attribute__((constructor)) static void start_again_if_heap_may_reach_shared_user_data(int argc, char **argv)
{
    (void)argc;
    const uintptr_t heap = (uintptr_t)sbrk(0);
    const char *so_far_text = getenv(kStartsAgainVariable);
    const int so_far = so_far_text ? atoi(so_far_text) : 0;
    if (starts_again(heap, so_far, personality(0xffffffff), randomize_level())) {
        const char count[2] = {(char)('1' + so_far), '\0'};
        setenv(kStartsAgainVariable, count, 1);
        extern char **environ;
        execve("/proc/self/exe", argv, environ);
    }
    /* Going on: the processes this one starts count afresh. */
    unsetenv(kStartsAgainVariable);
}
