#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

// Lowers the soft descriptor limit to the lowest free number, so that the
// next socket() or open() fails with EMFILE. The limit before is left in
// *saved for setrlimit to put back; false when it could not be lowered.
inline bool LeaveNoDescriptorFree(rlimit* saved)
{
    if (getrlimit(RLIMIT_NOFILE, saved) != 0)
        return false;
    int lowestFree = open("/dev/null", O_RDONLY);
    if (lowestFree < 0)
        return false;
    close(lowestFree);
    rlimit tight = *saved;
    tight.rlim_cur = static_cast<rlim_t>(lowestFree);
    return setrlimit(RLIMIT_NOFILE, &tight) == 0;
}
