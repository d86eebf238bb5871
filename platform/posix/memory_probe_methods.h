// The two ways the POSIX build asks the kernel whether memory can be read. process_vm_readv
// is the cheap one, but user-mode emulators lack it (ENOSYS) and some sandboxes refuse it
// (EPERM, EACCES); writing the range into a pipe works everywhere. Each process picks one on
// first use. Exposed so that tests can run both and make the first one fail.
#pragma once

#include <cstddef>

namespace platform {

enum class ProbeResult { readable, unreadable, unavailable };
enum class ProbeMethod { vm_read, pipe_write };

ProbeResult probe_by_vm_read(const void* address, size_t size);
ProbeResult probe_by_pipe_write(const void* address, size_t size);

// The method is_readable uses in this process.
ProbeMethod current_probe_method();

// Makes process_vm_readv count as refused (true) or not (false) and lets the next probe decide
// again, as a process started on a machine without it would.
void refuse_vm_read_for_testing(bool refuse);

}  // namespace platform
