// What every fuzz target shares: a property check that stops the run with a reason,
// and a scratch folder of its own for the targets that go through the real files.
#pragma once

#include "common/text_file.h"

#include <QDir>
#include <QHash>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

// A property that does not hold is a finding: libFuzzer saves the input on abort().
#define LADYA_FUZZ_CHECK(condition)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace ladya::fuzz {

// A folder that lives for the whole run (under $TMPDIR, best a tmpfs).
inline const QString& scratchDir() {
    static QTemporaryDir dir;
    static const QString path = dir.path();
    LADYA_FUZZ_CHECK(dir.isValid());
    return path;
}

// Whether this input also goes through the real files. A file write costs a hundred
// times the parse, and a long run has to reach its million inputs: one in `share`,
// chosen by the input itself so that a finding replays.
inline bool throughFiles(const QByteArray& input, uint share = 16) {
    return qHash(input) % share == 0;
}

// Whether the loaders take `input` as text at all: bytes that are not UTF-8 (another
// encoding, a binary file) are refused naming the line, and checked as such.
inline bool isText(const QByteArray& input) {
    return firstUndecodableLine(input) == 0;
}

inline QByteArray inputBytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace ladya::fuzz
