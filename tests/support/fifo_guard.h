#pragma once
// A guard for tests that hand FIFOs to code that must never open them for
// reading (readers check for a regular file first). While it lives, a
// thread watches the FIFOs: a reader that opens one is seen (a non-blocking
// open for writing succeeds only while the FIFO has a reader), remembered,
// and let go at once (the writer closes, the read ends with nothing), so a
// faulty reader fails the test on ReaderSeen() instead of hanging it.
#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace testsupport {

class FifoGuard {
public:
    explicit FifoGuard(std::vector<QString> fifos);
    ~FifoGuard();
    FifoGuard(const FifoGuard&) = delete;
    FifoGuard& operator=(const FifoGuard&) = delete;

    // True once some FIFO has been opened for reading.
    bool ReaderSeen() const { return m_seen; }

private:
    void watch(const std::vector<QString>& fifos);

    std::atomic<bool> m_seen{false};
    bool m_stop = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
};

} // namespace testsupport
