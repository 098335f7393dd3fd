#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <initializer_list>
#include <unistd.h>

// Root passes every permission check, so a read-only folder would not be
// read-only for a test run as root (as in a container). Drops that right from
// the calling thread; call it from the test's main thread before anything
// else. Returns false when the right could not be dropped.
inline bool DropPermissionOverride() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
        data[cap / 32].effective &= ~(1u << (cap % 32));
    return syscall(SYS_capset, &header, data) == 0;
}
