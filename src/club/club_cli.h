// ladya-cli commands on the club rating list of a working folder.
#pragma once

#include "common/cli_output.h"

namespace ladya {

// True for the commands that take a working folder: "club", "report club" and
// "report rating-change".
bool isClubCommand(const QStringList& args);

// `args` as given to runCli: the command first, then its arguments.
CliOutput runClubCli(const QStringList& args);

} // namespace ladya
