#include "support/fifo_guard.h"

#include <QFile>

#include <chrono>

#include <fcntl.h>
#include <unistd.h>

namespace testsupport {

FifoGuard::FifoGuard(std::vector<QString> fifos) : m_thread([this, fifos] { watch(fifos); }) {}

FifoGuard::~FifoGuard()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void FifoGuard::watch(const std::vector<QString>& fifos)
{
    std::vector<QByteArray> names;
    for (const QString& f : fifos)
        names.push_back(QFile::encodeName(f));
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        for (const QByteArray& name : names) {
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_seen = true;
                ::close(fd);
            }
        }
        // Polls until stopped; the poll interval only bounds how long a
        // faulty reader stays blocked.
        m_wake.wait_for(lock, std::chrono::milliseconds(1), [this] { return m_stop; });
    }
}

} // namespace testsupport
