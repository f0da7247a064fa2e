#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// While alive, file permission bits apply to this process even when it runs as root (as in a
// container): the capabilities that bypass them are dropped from the effective set and raised
// again at the end. For a process without those capabilities this does nothing.
class PermissionsEnforced
{
public:
    PermissionsEnforced()
    {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        active_ = syscall(SYS_capget, &header_, saved_) == 0;
        if (!active_)
            return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        active_ = syscall(SYS_capset, &header_, reduced) == 0;
    }

    ~PermissionsEnforced()
    {
        if (active_)
            syscall(SYS_capset, &header_, saved_);
    }

    PermissionsEnforced(const PermissionsEnforced &) = delete;
    PermissionsEnforced &operator=(const PermissionsEnforced &) = delete;

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};
