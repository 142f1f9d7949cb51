#pragma once

// Runs a piece of a test with no descriptor left: the soft limit goes down to
// the lowest free number, so the next socket() or open() fails with EMFILE.

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

class CNoFreeDescriptor {
public:
    CNoFreeDescriptor()
    {
        if (getrlimit(RLIMIT_NOFILE, &m_saved) != 0)
            return;
        int lowestFree = open("/dev/null", O_RDONLY);
        if (lowestFree < 0)
            return;
        close(lowestFree);
        rlimit tight = m_saved;
        tight.rlim_cur = static_cast<rlim_t>(lowestFree);
        m_active = setrlimit(RLIMIT_NOFILE, &tight) == 0;
    }
    ~CNoFreeDescriptor() { Restore(); }
    CNoFreeDescriptor(const CNoFreeDescriptor&) = delete;
    CNoFreeDescriptor& operator=(const CNoFreeDescriptor&) = delete;

    // False when the limit could not be lowered.
    bool Active() const { return m_active; }

    void Restore()
    {
        if (m_active)
            setrlimit(RLIMIT_NOFILE, &m_saved);
        m_active = false;
    }

private:
    rlimit m_saved {};
    bool m_active = false;
};
