// `ladya-cli trf FILE [--rounds N] [-o OUT]`, `ladya-cli import-trf IN -o OUT` and
// `ladya-cli generate --players N --rounds R --seed S [...] [-o OUT]`.
#pragma once

#include "common/cli_output.h"

#include <QStringList>

namespace ladya {

// True for the three commands this part runs.
bool isTrfCommand(const QStringList& args);
// `args` as given to runCli, the command first.
CliOutput runTrfCli(const QStringList& args);

} // namespace ladya
