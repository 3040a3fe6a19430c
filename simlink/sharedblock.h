#pragma once

#include <QString>
#include <QtGlobal>

// A named block of shared memory, the way the simulator publishes the
// navigation block: a named file mapping on Windows, POSIX shared memory
// elsewhere (the same name with a leading slash).
//
// The reading side works in two steps, as the Windows calls do: open (or
// create) the named block, then map a window of its first bytes for reading.
// The writing side (the stand-in tool, the tests) opens the block read-write
// and maps a writable window.
//
// Every resource is released once: unmapping or closing twice does nothing
// the second time.
class CSharedBlock
{
public:
    CSharedBlock() = default;
    ~CSharedBlock();
    CSharedBlock(const CSharedBlock &) = delete;
    CSharedBlock &operator=(const CSharedBlock &) = delete;

    // The operating system's name of a block: the name itself on Windows,
    // the name with a leading slash elsewhere.
    static QString systemName(const QString &name);

    // Reading side. Opens the named block, creating it with `createSize`
    // zero bytes when nobody has. An existing block keeps its size; where
    // the platform allows, it is opened read-only.
    bool open(const QString &name, qint64 createSize);
    // Maps the first `size` bytes for reading. A block smaller than `size`
    // cannot be mapped (reading past its end would crash).
    const uchar *mapRead(qint64 size);

    // Writing side. Opens the named block read-write, creating it when
    // absent and growing it to `size` bytes when it is smaller (never
    // shrinking it), then maps its first `mapSize` bytes writable.
    uchar *openWritable(const QString &name, qint64 size, qint64 mapSize);

    // Removes the name; the memory goes once nobody maps it. Does nothing on
    // Windows, where the block goes with its last handle.
    static bool remove(const QString &name);

    bool isOpen() const;
    bool isMapped() const { return m_view != nullptr; }
    const uchar *view() const { return static_cast<const uchar *>(m_view); }
    qint64 mappedSize() const { return m_viewSize; }
    // True when this object created the block.
    bool created() const { return m_created; }

    void unmap();
    void close();

    // What went wrong in the last failed call.
    QString errorString() const { return m_error; }

private:
    void *m_view = nullptr;
    qint64 m_viewSize = 0;
    bool m_created = false;
    QString m_error;
#ifdef Q_OS_WIN
    void *m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};
