#include "app/cli.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Writes all of `bytes` to `stream` and flushes it; false (with errno set) when any
// part fails: a listing cut short by a full disk or a closed pipe is a failure, not a
// success with less output.
bool writeAll(std::FILE* stream, const QByteArray& bytes) {
    if (!bytes.isEmpty() && std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()),
                                        stream) != static_cast<size_t>(bytes.size()))
        return false;
    return std::fflush(stream) == 0 && !std::ferror(stream);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const ladya::CliOutput result = ladya::runCli(args);
    errno = 0;
    if (!writeAll(stdout, result.out)) {
        const int error = errno;
        std::fprintf(stderr, "ladya-cli: cannot write standard output: %s\n",
                     error != 0 ? std::strerror(error) : "write error");
        return 2;
    }
    // Nothing better can be done when the message itself cannot be written: the status
    // still says so.
    if (!writeAll(stderr, result.err))
        return 2;
    return result.status;
}
