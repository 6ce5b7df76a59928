// ladya-cli: the headless companion; dispatches each command to its kind of file.
#pragma once

#include "common/cli_output.h"

namespace ladya {

// Runs one command; `args` excludes the program name.
CliOutput runCli(const QStringList& args);

} // namespace ladya
