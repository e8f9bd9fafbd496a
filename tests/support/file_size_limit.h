#pragma once
// A disk that fills up, without mounting anything: while a FileSizeLimit
// lives, no file of this process may grow beyond the given size, and a
// write past it ends short with EFBIG. The signal that would end the
// process is ignored meanwhile. The limit is the process's own, so test
// programs running beside it are not touched.
#include <csignal>
#include <sys/resource.h>

namespace testsupport {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        if (::getrlimit(RLIMIT_FSIZE, &m_old) != 0)
            return;
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_active = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_active)
            ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_handler)(int) = SIG_DFL;
    bool m_active = false;
};

} // namespace testsupport
