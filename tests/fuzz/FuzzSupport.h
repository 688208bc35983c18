#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

class TDMdata;

// What every fuzz target needs around the code it feeds. A target is one
// LLVMFuzzerTestOneInput; libFuzzer calls it with generated inputs
// (scripts/fuzz.sh), FuzzReplay.cpp with the files of its corpus (ctest).
namespace Fuzz {

// The input as bytes, without copying them.
QByteArray bytes(const uint8_t *data, size_t size);

// A folder for the files a target writes, on a file system in memory where
// there is one; created on first use and kept for the whole process.
QString scratchFolder();
// Writes the bytes to a file of the scratch folder; the file's path.
QString writeScratchFile(const QString &name, const QByteArray &bytes);

// A local store with every table, in the scratch folder, opened once per
// process. Targets keep it empty between inputs.
TDMdata &store();

// A broken rule: prints what broke and aborts, which libFuzzer reports as a
// finding (with the input saved) and the replay as a failed test.
[[noreturn]] void fail(const QString &what);
inline void check(bool ok, const QString &what)
{
    if (!ok)
        fail(what);
}

} // namespace Fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
