/* Preloaded (LD_PRELOAD) into a runtime program on an ordinary machine, this makes
   process_vm_readv fail the way user-mode emulators and some sandboxes make it fail, so the
   program probes memory the other way, as it would there. */
#define _GNU_SOURCE
#include <errno.h>
#include <sys/types.h>
#include <sys/uio.h>

ssize_t process_vm_readv(pid_t pid, const struct iovec* local, unsigned long local_count,
                         const struct iovec* remote, unsigned long remote_count, unsigned long flags)
{
    (void)pid, (void)local, (void)local_count, (void)remote, (void)remote_count, (void)flags;
    errno = ENOSYS;
    return -1;
}
