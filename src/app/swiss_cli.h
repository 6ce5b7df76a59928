// ladya-cli commands on .swz files.
#pragma once

#include "common/cli_output.h"

namespace ladya {

// `args` as given to runCli: the command first, then its arguments.
CliOutput runSwissCli(const QStringList& args);

} // namespace ladya
