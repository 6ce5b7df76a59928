// The commands of ladya-cli with their usage and help texts. One table feeds the
// overview of `ladya-cli --help`, each command's `--help` and the refusal of an
// unknown command, so a command added to the dispatch without a row here is refused
// rather than left undocumented (and the manual page is checked against the table).
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace ladya {

struct CliCommand {
    QString name;     // as typed: "games", or "report crosstable" for one report
    QString synopsis; // the arguments after the name: "FILE ROUND"
    QString summary;  // one line of the overview
    QString details;  // the body of COMMAND --help: lines ending "\n", no usage line
};

const QVector<CliCommand>& cliCommands();

// True when a command of the table starts with `word` ("report" for every report).
bool isCliCommandWord(const QString& word);

// The text of `ladya-cli --help`.
QString cliHelpText();

// True when an argument after the command asks for its help (-h or --help).
bool asksForHelp(const QStringList& args);

// The help of the command `words` names ("games"; "report stats"), or of every
// command beginning with them ("report" alone lists the reports); the overview for
// no words. Empty when no command of the table matches.
QString cliCommandHelpText(const QStringList& words);

} // namespace ladya
