#include "app/cli.h"
#include "print/report_printer.h"
#include "reports/report_cli.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>

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
    std::fwrite(result.out.constData(), 1, static_cast<size_t>(result.out.size()), stdout);
    std::fwrite(result.err.constData(), 1, static_cast<size_t>(result.err.size()), stderr);
    if (std::fflush(stdout) != 0)
        return 2;
    return result.status;
}
