#pragma once

// What every fuzz target shares. A target defines LLVMFuzzerTestOneInput;
// built for fuzzing it links libFuzzer, otherwise replaymain.cpp feeds it the files of its corpus and regression folders.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace Fuzz {

// LLVMFuzzerInitialize (of fuzzsupport.cpp) makes the application object
// (the SQL drivers and timers need one) and a quiet message handler: the
// readers log every line they skip, which would drown the fuzzer's own
// output. CORVANE_FUZZ_VERBOSE=1 keeps the messages; fatal messages still
// end the process. It then calls prepare(), which a target with setup of
// its own defines; the others get an empty one.
void prepare();

// A folder that lives as long as the process, removed at exit.
QString scratchDir();

// Writes the bytes to a file of the scratch folder (or to an absolute path),
// replaced on every call, and returns its path.
QString writeScratchFile(const QString &name, const QByteArray &bytes);

// An invariant of the code under test did not hold: says which and aborts,
// so that the fuzzer keeps the input as a crash.
[[noreturn]] void fail(const char *what, const QString &detail = QString());

inline void check(bool condition, const char *what, const QString &detail = QString())
{
    if (!condition)
        fail(what, detail);
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace Fuzz
