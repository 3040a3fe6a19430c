#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

// While it lives, no file of the process may grow past `bytes`: a write
// that crosses the limit writes what fits and the next one fails, as on a
// full disk, whoever runs the test (the superuser included). Unix only;
// elsewhere it limits nothing and `active()` is false.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes)
    {
#ifdef Q_OS_UNIX
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_previous;
        small.rlim_cur = rlim_t(bytes);
        m_active = setrlimit(RLIMIT_FSIZE, &small) == 0;
#else
        Q_UNUSED(bytes);
#endif
    }
    ~FileSizeLimit()
    {
#ifdef Q_OS_UNIX
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_handler);
#endif
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool active() const { return m_active; }

private:
    bool m_active = false;
#ifdef Q_OS_UNIX
    rlimit m_previous {};
    void (*m_handler)(int) = nullptr;
#endif
};
