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
 * is mapped (some hundreds of KiB), and only about one start in twenty goes again. */
#define _GNU_SOURCE
#include <stdint.h>
#include <unistd.h>

static const uintptr_t kSharedUserDataStart = 0x7ffe0000u;
static const uintptr_t kSharedUserDataEnd = 0x7fff0000u;
static const uintptr_t kHeapReach = 64u << 20;

/* The C library calls constructors of preloaded libraries with the program's arguments. */
__attribute__((constructor)) static void start_again_if_heap_may_reach_shared_user_data(int argc, char **argv,
                                                                                         char **envp)
{
    (void)argc;
    const uintptr_t heap = (uintptr_t)sbrk(0);
    if (heap < kSharedUserDataEnd && heap + kHeapReach > kSharedUserDataStart)
        execve("/proc/self/exe", argv, envp);
}
