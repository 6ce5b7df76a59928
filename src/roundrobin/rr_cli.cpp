#include "roundrobin/rr_cli.h"

namespace ladya {

CliOutput runRoundRobinCli(const QStringList& args) {
    return CliOutput::failure(
        QStringLiteral("ladya-cli: %1: not available for this kind of file yet")
            .arg(args.value(0)));
}

} // namespace ladya
