#include "app/cli.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const ladya::CliOutput result = ladya::runCli(args);
    std::fwrite(result.out.constData(), 1, static_cast<size_t>(result.out.size()), stdout);
    std::fwrite(result.err.constData(), 1, static_cast<size_t>(result.err.size()), stderr);
    if (std::fflush(stdout) != 0)
        return 2;
    return result.status;
}
