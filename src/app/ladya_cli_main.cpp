#include "app/cli.h"
#include "print/report_printer.h"
#include "reports/report_cli.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

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
    // Only a PDF needs fonts and with them a GUI application; the other commands run
    // where no display is, and a PDF is drawn without one.
    bool pdf = false;
    for (int k = 1; k < argc; ++k)
        pdf = pdf || std::strcmp(argv[k], "--pdf") == 0;
    if (pdf && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        pdf ? std::make_unique<QGuiApplication>(argc, argv)
            : std::make_unique<QCoreApplication>(argc, argv);
    if (pdf)
        ladya::setPdfRenderer(&ladya::print::renderPdf);

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
