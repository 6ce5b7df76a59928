// `ladya-cli trf FILE [--rounds N] [-o OUT]` and `ladya-cli import-trf IN -o OUT`.
#pragma once

#include "common/cli_output.h"

#include <QStringList>

namespace ladya {

// True for the two commands this part runs.
bool isTrfCommand(const QStringList& args);
// `args` as given to runCli, the command first.
CliOutput runTrfCli(const QStringList& args);

} // namespace ladya
