#include "simlink/sharedblock.h"

#include <QFile>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString describe(const char *what, const QString &name)
{
    return QStringLiteral("%1 \"%2\": %3").arg(QLatin1String(what), name, qt_error_string(-1));
}

#ifndef Q_OS_WIN
// The block is private to the user, as a session-local mapping is on Windows.
constexpr mode_t blockMode = 0600;

QByteArray posixName(const QString &name)
{
    return QFile::encodeName(CSharedBlock::systemName(name));
}

// Size of the open block, or -1.
qint64 blockSize(int fd)
{
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return -1;
    return qint64(st.st_size);
}
#endif

} // namespace

CSharedBlock::~CSharedBlock()
{
    close();
}

QString CSharedBlock::systemName(const QString &name)
{
#ifdef Q_OS_WIN
    return name;
#else
    return name.startsWith(u'/') ? name : u'/' + name;
#endif
}

bool CSharedBlock::isOpen() const
{
#ifdef Q_OS_WIN
    return m_handle != nullptr;
#else
    return m_fd >= 0;
#endif
}

#ifdef Q_OS_WIN

bool CSharedBlock::open(const QString &name, qint64 createSize)
{
    close();
    // A page-file-backed section; an existing one is opened as it is (the
    // size then has no effect).
    HANDLE handle = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, DWORD(createSize),
                                         reinterpret_cast<const wchar_t *>(name.utf16()));
    if (!handle) {
        m_error = describe("CreateFileMapping", name);
        return false;
    }
    m_created = ::GetLastError() != ERROR_ALREADY_EXISTS;
    m_handle = handle;
    return true;
}

const uchar *CSharedBlock::mapRead(qint64 size)
{
    unmap();
    if (!m_handle || size <= 0) {
        m_error = QStringLiteral("MapViewOfFile: no block");
        return nullptr;
    }
    // Fails by itself when the section is smaller than the window.
    void *mapped = ::MapViewOfFile(m_handle, FILE_MAP_READ, 0, 0, SIZE_T(size));
    if (!mapped) {
        m_error = describe("MapViewOfFile", QString());
        return nullptr;
    }
    m_view = mapped;
    m_viewSize = size;
    return this->view();
}

uchar *CSharedBlock::openWritable(const QString &name, qint64 size, qint64 mapSize)
{
    close();
    if (mapSize <= 0 || mapSize > size) {
        m_error = QStringLiteral("invalid window size");
        return nullptr;
    }
    HANDLE handle = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, DWORD(size),
                                         reinterpret_cast<const wchar_t *>(name.utf16()));
    if (!handle) {
        m_error = describe("CreateFileMapping", name);
        return nullptr;
    }
    m_created = ::GetLastError() != ERROR_ALREADY_EXISTS;
    m_handle = handle;
    void *mapped = ::MapViewOfFile(m_handle, FILE_MAP_WRITE, 0, 0, SIZE_T(mapSize));
    if (!mapped) {
        m_error = describe("MapViewOfFile", name);
        close();
        return nullptr;
    }
    m_view = mapped;
    m_viewSize = mapSize;
    return static_cast<uchar *>(m_view);
}

bool CSharedBlock::remove(const QString &name)
{
    Q_UNUSED(name);
    return true;
}

void CSharedBlock::unmap()
{
    if (m_view) {
        ::UnmapViewOfFile(m_view);
        m_view = nullptr;
        m_viewSize = 0;
    }
}

void CSharedBlock::close()
{
    unmap();
    if (m_handle) {
        ::CloseHandle(m_handle);
        m_handle = nullptr;
    }
    m_created = false;
}

#else // POSIX shared memory

bool CSharedBlock::open(const QString &name, qint64 createSize)
{
    close();
    const QByteArray sysName = posixName(name);
    // Create it when nobody has; otherwise open the existing one read-only.
    // A block removed between the two calls is tried again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        int fd = ::shm_open(sysName.constData(), O_RDWR | O_CREAT | O_EXCL, blockMode);
        if (fd >= 0) {
            if (::ftruncate(fd, off_t(createSize)) != 0) {
                m_error = describe("ftruncate", name);
                ::close(fd);
                ::shm_unlink(sysName.constData());   // ours, and unusable
                return false;
            }
            m_fd = fd;
            m_created = true;
            return true;
        }
        if (errno != EEXIST) {
            m_error = describe("shm_open", name);
            return false;
        }
        fd = ::shm_open(sysName.constData(), O_RDONLY, 0);
        if (fd >= 0) {
            m_fd = fd;
            return true;
        }
        if (errno != ENOENT) {
            m_error = describe("shm_open", name);
            return false;
        }
    }
    m_error = describe("shm_open", name);
    return false;
}

const uchar *CSharedBlock::mapRead(qint64 size)
{
    unmap();
    if (m_fd < 0 || size <= 0) {
        m_error = QStringLiteral("mmap: no block");
        return nullptr;
    }
    const qint64 have = blockSize(m_fd);
    if (have < 0) {
        m_error = describe("fstat", QString());
        return nullptr;
    }
    if (have < size) {
        m_error = QStringLiteral("the block holds %1 bytes, fewer than %2").arg(have).arg(size);
        return nullptr;
    }
    void *mapped = ::mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, m_fd, 0);
    if (mapped == MAP_FAILED) {
        m_error = describe("mmap", QString());
        return nullptr;
    }
    m_view = mapped;
    m_viewSize = size;
    return this->view();
}

uchar *CSharedBlock::openWritable(const QString &name, qint64 size, qint64 mapSize)
{
    close();
    if (mapSize <= 0 || mapSize > size) {
        m_error = QStringLiteral("invalid window size");
        return nullptr;
    }
    const QByteArray sysName = posixName(name);
    int fd = ::shm_open(sysName.constData(), O_RDWR | O_CREAT | O_EXCL, blockMode);
    if (fd >= 0)
        m_created = true;
    else if (errno == EEXIST)
        fd = ::shm_open(sysName.constData(), O_RDWR, 0);
    if (fd < 0) {
        m_error = describe("shm_open", name);
        return nullptr;
    }
    m_fd = fd;
    const qint64 have = blockSize(m_fd);
    if (have < 0) {
        m_error = describe("fstat", name);
        close();
        return nullptr;
    }
    if (have < size && ::ftruncate(m_fd, off_t(size)) != 0) {
        m_error = describe("ftruncate", name);
        close();
        return nullptr;
    }
    void *mapped = ::mmap(nullptr, size_t(mapSize), PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, 0);
    if (mapped == MAP_FAILED) {
        m_error = describe("mmap", name);
        close();
        return nullptr;
    }
    m_view = mapped;
    m_viewSize = mapSize;
    return static_cast<uchar *>(m_view);
}

bool CSharedBlock::remove(const QString &name)
{
    return ::shm_unlink(posixName(name).constData()) == 0;
}

void CSharedBlock::unmap()
{
    if (m_view) {
        ::munmap(m_view, size_t(m_viewSize));
        m_view = nullptr;
        m_viewSize = 0;
    }
}

void CSharedBlock::close()
{
    unmap();
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_created = false;
}

#endif
