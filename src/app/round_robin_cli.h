// ladya-cli commands on .kr2 files.
#pragma once

#include "common/cli_output.h"

namespace ladya {

// `args` as given to runCli: the command first, then its arguments.
CliOutput runRoundRobinCli(const QStringList& args);

} // namespace ladya
