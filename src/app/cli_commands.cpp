#include "app/cli_commands.h"

namespace ladya {

namespace {

const QString ExitStatusText = QStringLiteral(
    "Exit status: 0 on success (a list without rows too), 2 on any error; the message\n"
    "goes to stderr and nothing to stdout.\n");

// check tells a pairing that differs (1) from a file it could not check (2).
const QString CheckExitStatusText =
    QStringLiteral("Exit status: 0 when every round is the Dutch pairing, 1 when a round differs,\n"
                   "2 on any error (a file that cannot be read or is refused, bad arguments); the\n"
                   "message goes to stderr and nothing to stdout.\n");

const QString ReportOutputText = QStringLiteral(
    "\n"
    "The page is the one the program's report button writes to file.html, byte for\n"
    "byte. Without -o it goes to stdout; -o PATH replaces PATH atomically, and on any\n"
    "error PATH is left as it was.\n"
    "--pdf OUT.pdf writes the page as printed sheets (A4, a header with the tournament\n"
    "and page numbers) to OUT.pdf instead of stdout; with -o as well, both are written.\n");

const QString PairsOptionText = QStringLiteral(
    "  --pairs W-B,...  the pairs made so far in this round, by participant number,\n"
    "                   White first (\"3-7,1-12\")\n");

const QString DirectorOutputText = QStringLiteral(
    "  -o OUT           write the changed tournament to OUT and leave FILE as it is\n"
    "\n"
    "FILE is rewritten atomically; a refused change names what is wrong, and\n"
    "nothing is written.\n");

// The column where the overview's summaries start.
constexpr qsizetype SummaryColumn = 29;

QString usageLine(const CliCommand& command) {
    return command.synopsis.isEmpty() ? command.name : command.name + u' ' + command.synopsis;
}

// One command of a list: usage and summary on one line when they fit, else two.
QString overviewEntry(const CliCommand& command) {
    const QString usage = QStringLiteral("  ") + usageLine(command);
    if (usage.size() < SummaryColumn)
        return usage.leftJustified(SummaryColumn) + command.summary + u'\n';
    return usage + u'\n' + QString(SummaryColumn, u' ') + command.summary + u'\n';
}

const CliCommand* findCommand(const QString& name) {
    for (const CliCommand& command : cliCommands()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

bool isHelpFlag(const QString& arg) {
    return arg == QStringLiteral("-h") || arg == QStringLiteral("--help");
}

} // namespace

const QVector<CliCommand>& cliCommands() {
    static const QVector<CliCommand> commands = {
        {QStringLiteral("games"), QStringLiteral("FILE ROUND"),
         QStringLiteral("the game list of a round"),
         QStringLiteral(
             "Prints the game list of round ROUND (counted from 1) as the tournament\n"
             "window shows it. FILE is a round-robin (.kr2) or Swiss (.swz) tournament.\n"
             "A Swiss tournament with no round paired yet has round 0, an empty list.\n")},
        {QStringLiteral("standings"), QStringLiteral("FILE [--tiebreaks LIST]"),
         QStringLiteral("the standings list"),
         QStringLiteral("Prints the standings as the tournament window shows them: places,\n"
                        "points, tie-breaks and rating figures. FILE is a .kr2 or .swz file.\n"
                        "\n"
                        "With a tie-break list (the one the tournament keeps, or LIST) the rows\n"
                        "follow the list: points first, then each tie-break in turn, with one\n"
                        "column per tie-break after the points; players equal on all of them\n"
                        "share their place (\"3–4\").\n"
                        "\n"
                        "Options:\n"
                        "  --tiebreaks LIST the FIDE tie-breaks, in order, comma-separated, a\n"
                        "                   modifier after \"/\": \"BH/C1,BH,SB,DE\"\n")},
        {QStringLiteral("table"), QStringLiteral("FILE"),
         QStringLiteral("the round-robin results table"),
         QStringLiteral("Prints the results table of a round-robin tournament (.kr2): one row\n"
                        "per participant with the result against each opponent.\n")},
        {QStringLiteral("player-games"), QStringLiteral("FILE N"),
         QStringLiteral("the games of participant N (round-robin)"),
         QStringLiteral("Prints the games of participant N of a round-robin tournament (.kr2)\n"
                        "as the participant statistics window shows them.\n")},
        {QStringLiteral("report crosstable"), QStringLiteral("FILE [-o PATH] [--pdf OUT.pdf]"),
         QStringLiteral("the crosstable page (HTML)"),
         QStringLiteral("Writes the crosstable of a .kr2 or .swz tournament as an HTML page.\n") +
             ReportOutputText},
        {QStringLiteral("report schedule"), QStringLiteral("FILE [-o PATH] [--pdf OUT.pdf]"),
         QStringLiteral("the schedule page of a round-robin (HTML)"),
         QStringLiteral("Writes the schedule of every round of a round-robin tournament (.kr2)\n"
                        "as an HTML page. A Swiss tournament has none: it is paired one round\n"
                        "at a time.\n") +
             ReportOutputText},
        {QStringLiteral("report stats"), QStringLiteral("FILE N [-o PATH] [--pdf OUT.pdf]"),
         QStringLiteral("the statistics page of participant N (HTML)"),
         QStringLiteral("Writes the statistics of participant N of a .kr2 or .swz tournament\n"
                        "as an HTML page.\n") +
             ReportOutputText},
        {QStringLiteral("report pairings"),
         QStringLiteral("FILE [ROUND] [-o PATH] [--pdf OUT.pdf]"),
         QStringLiteral("the pairing sheet of a round, to pin up (HTML)"),
         QStringLiteral("Writes the pairings of round ROUND of a .kr2 or .swz tournament as an\n"
                        "HTML page: board, White and Black with their points before the round\n"
                        "and ratings, and the result once entered (else an empty cell to write\n"
                        "it in). A Swiss sheet also lists the bye and who sits the round out.\n"
                        "Without ROUND: a Swiss's last paired round, a round-robin's round in\n"
                        "play (the first with a game unplayed, else the last).\n") +
             ReportOutputText},
        {QStringLiteral("unpaired"), QStringLiteral("FILE [--pairs W-B,...]"),
         QStringLiteral("Swiss: the players still to pair"),
         QStringLiteral("Lists the players of a Swiss tournament (.swz) still to pair in the\n"
                        "next round, in standings order, as the pairing dialog shows them.\n"
                        "\n"
                        "Options:\n") +
             PairsOptionText},
        {QStringLiteral("candidates"),
         QStringLiteral("FILE S [--allowance A] [--force] [--pairs W-B,...]"),
         QStringLiteral("Swiss: the candidate opponents of player S"),
         QStringLiteral("Lists the opponents the pairing proposes for participant S of a Swiss\n"
                        "tournament (.swz) in the next round, as the pairing dialog shows them.\n"
                        "\n"
                        "Options:\n"
                        "  --allowance A    also the score group exactly A points below S (0: the\n"
                        "                   floats that compensate and S's own score group)\n"
                        "  --force          every other participant after the proposals\n") +
             PairsOptionText},
        {QStringLiteral("commit"), QStringLiteral("FILE --pairs W-B,... [-o OUT]"),
         QStringLiteral("Swiss: store the pairs as the next round"),
         QStringLiteral(
             "Stores the pairs as the next round of a Swiss tournament (.swz), boards\n"
             "ordered by the standings, and rewrites FILE atomically. Pairs that do not\n"
             "make a whole round are refused and nothing is written.\n"
             "\n"
             "Options:\n"
             "  --pairs W-B,...  the pairs of the round, by participant number, White\n"
             "                   first (\"3-7,1-12\")\n"
             "  -o OUT           write the tournament with the new round to OUT\n"
             "                   and leave FILE as it is\n")},
        {QStringLiteral("pair"),
         QStringLiteral("FILE [--initial-colour white|black] [--rounds N] [-o OUT]"),
         QStringLiteral("Swiss: the next round by the FIDE Dutch system"),
         QStringLiteral(
             "Pairs the next round of a Swiss tournament (.swz) by the FIDE Dutch system\n"
             "and prints the pairs by participant number, White first, in board order;\n"
             "the pairing-allocated bye is the pair with the bye participant. When no\n"
             "pairing meets the absolute criteria, says so and exits with status 2.\n"
             "\n"
             "Options:\n"
             "  --initial-colour white|black\n"
             "                   the colour of participant 1 in round 1 (white when not\n"
             "                   given); later rounds read it back from round 1\n"
             "  --rounds N       the tournament has N rounds: round N is paired by the\n"
             "                   rules of the last round (by default the planned rounds\n"
             "                   the tournament keeps, when it keeps them)\n"
             "  -o OUT           store the pairs as the next round, as commit does, in\n"
             "                   OUT (FILE itself when OUT is FILE) instead of printing\n")},
        {QStringLiteral("club"), QStringLiteral("DIR"),
         QStringLiteral("the club rating list of the working folder DIR"),
         QStringLiteral("Prints the club rating list of the working folder DIR (its\n"
                        "players_club.dat and players.dat), as the club list window shows it.\n")},
        {QStringLiteral("report club"),
         QStringLiteral("DIR [--date DD.MM.YYYY] [-o PATH] [--pdf OUT.pdf]"),
         QStringLiteral("the club rating list page (HTML)"),
         QStringLiteral("Writes the club rating list of the working folder DIR as an HTML page,\n"
                        "dated today or DD.MM.YYYY.\n") +
             ReportOutputText},
        {QStringLiteral("report rating-change"),
         QStringLiteral("DIR NAME CITY [-o PATH] [--pdf OUT.pdf]"),
         QStringLiteral("one member's rating changes (HTML)"),
         QStringLiteral("Writes the rating changes of the member NAME of CITY, as stored in the\n"
                        "working folder DIR (upper case), as an HTML page.\n") +
             ReportOutputText},
        {QStringLiteral("trf"), QStringLiteral("FILE [--rounds N] [-o OUT]"),
         QStringLiteral("the tournament as a FIDE TRF file"),
         QStringLiteral("Writes a .kr2 or .swz tournament as a FIDE tournament report file (TRF):\n"
                        "one 001 line per player, renumbered without the bye, with the points\n"
                        "summed from the rounds. Without -o it goes to stdout; -o OUT replaces\n"
                        "OUT atomically. A Swiss writes the rounds its players sat out, byes\n"
                        "requested for rounds to come (240) and its forbidden pairs (260).\n"
                        "A tournament with a tie-break list (either kind) writes it in 202 and,\n"
                        "after PTS, in 212, and ranks its players by it.\n"
                        "\n"
                        "Options:\n"
                        "  --rounds N       the planned rounds of a Swiss, for the XXR record\n"
                        "                   (default: the tournament's planned rounds, else\n"
                        "                   the rounds paired so far)\n"
                        "  -o OUT           write the TRF to OUT\n")},
        {QStringLiteral("import-trf"), QStringLiteral("IN -o OUT"),
         QStringLiteral("a Swiss tournament from a TRF file"),
         QStringLiteral("Reads the Swiss tournament of the TRF file IN into the new tournament\n"
                        "file OUT (its name ending in swz), which must not exist yet. Start ranks\n"
                        "stay the participants' numbers. Rounds sat out (H, Z, F) and the 240,\n"
                        "260 and XXR (or 142) records become the tournament's requested byes,\n"
                        "forbidden pairs and planned rounds, 202 (or 212) its tie-break list.\n"
                        "A file that cannot be represented faithfully (a tie-break the program\n"
                        "does not compute too) is refused naming the line, and nothing is\n"
                        "written.\n")},
        {QStringLiteral("generate"),
         QStringLiteral("--players N --rounds R --seed S [options] [-o OUT]"),
         QStringLiteral("a random Swiss tournament as a TRF file"),
         QStringLiteral(
             "Makes a random Swiss tournament, pairs every round by the program's own FIDE\n"
             "Dutch engine, plays it and writes it as a TRF file: test material for pairing\n"
             "checkers. The same options give the same file, byte for byte, on every\n"
             "machine. Players are numbered by rating; the higher-rated player wins a\n"
             "decided game as often as the rating table expects. Absences and half-point\n"
             "byes are drawn per player and round before the round is paired. A round no\n"
             "pairing can be found for ends the run with status 2 and nothing written.\n"
             "\n"
             "Options:\n"
             "  --players N      2 to 9999 players (a TRF's start ranks; more than 299\n"
             "                   make a file import-trf refuses, as a tournament file\n"
             "                   holds 300 rows with the bye participant)\n"
             "  --rounds R       1 to 99 rounds\n"
             "  --seed S         the random seed, 0 to 18446744073709551615\n"
             "  --draw-rate P    the share of drawn games, 0 to 1 (default 0.3)\n"
             "  --forfeit-rate P the share of forfeited games (default 0.02)\n"
             "  --rating-min A, --rating-max B\n"
             "                   the range of the ratings (default 1400 to 2600)\n"
             "  --absence-rate P the chance of an announced absence, per player and\n"
             "                   round (default 0)\n"
             "  --half-bye-rate P\n"
             "                   the chance of a requested half-point bye (default 0)\n"
             "  --forbidden K    K random pairs that must never meet (default 0)\n"
             "  --baku           Baku acceleration: the file carries it (192, 250)\n"
             "  -o OUT           write the TRF to OUT atomically (default: stdout)\n")},
        {QStringLiteral("check"), QStringLiteral("FILE"),
         QStringLiteral("whether each round of a TRF is the Dutch pairing"),
         QStringLiteral("Re-pairs every round of the TRF file FILE with the program's Dutch\n"
                        "engine from the rounds before it (the rounds sat out, 240, 260 and\n"
                        "XXR or 142 as the file gives them; the initial colour that of round 1)\n"
                        "and compares the pairs, colours and bye with the file's. Prints\n"
                        "\"round N: ok\" or \"round N: differs\" per round, and under a round\n"
                        "that differs the file's pairs the engine does not make (\"file: W - B\")\n"
                        "and the engine's the file does not hold (\"Dutch: W - B\"); then why:\n"
                        "an absolute criterion the file's pairing breaks (\"breaks an absolute\n"
                        "criterion: C1 ...\"), else the first criterion of the Dutch rules in\n"
                        "force from 2026 (C5 to C21) on which the first bracket that differs\n"
                        "parts (\"first worse on: C12 ...\", or \"first better on\" when the\n"
                        "engine's is the worse), else the order of the candidates (4.2 to 4.4)\n"
                        "or, the pairs being the same, the colour rule (5.2.1 to 5.2.5). The\n"
                        "file is read as import-trf reads it, but of any size the format holds\n"
                        "(9999 players, 999 rounds); a line it cannot read is refused by its\n"
                        "number.\n")},
        // The director's actions on a running Swiss tournament.
        {QStringLiteral("rounds"), QStringLiteral("FILE N [-o OUT]"),
         QStringLiteral("Swiss: set the planned number of rounds"),
         QStringLiteral("Sets the planned number of rounds of a Swiss tournament (.swz) to N\n"
                        "(1 to 20, not below the rounds paired). The last of them is paired\n"
                        "by the rules of the last round.\n"
                        "\n"
                        "Options:\n") +
             DirectorOutputText},
        {QStringLiteral("withdraw"), QStringLiteral("FILE N [ROUND] [--return] [-o OUT]"),
         QStringLiteral("withdraw participant N (Swiss: from ROUND on)"),
         QStringLiteral("Withdraws participant N of a Swiss tournament (.swz) from round ROUND\n"
                        "on: he is not paired and keeps the games he played. ROUND is a round\n"
                        "not paired yet.\n"
                        "\n"
                        "Round-robin (.kr2), without ROUND: every game of N still without a\n"
                        "result is recorded as a forfeit, \"-\" for N and \"+\" for the\n"
                        "opponent, and the file is rewritten atomically. Refused for a\n"
                        "finished tournament and for a participant with no game left.\n"
                        "\n"
                        "Options:\n"
                        "  --return         N plays again from ROUND (a return for the\n"
                        "                   withdrawal's own first round cancels it)\n") +
             DirectorOutputText},
        {QStringLiteral("bye"), QStringLiteral("FILE N ROUND --half|--absent|--cancel [-o OUT]"),
         QStringLiteral("Swiss: a requested bye of participant N"),
         QStringLiteral("Records that participant N of a Swiss tournament (.swz) is not paired\n"
                        "in round ROUND, which is not paired yet.\n"
                        "\n"
                        "Options:\n"
                        "  --half           a half-point bye\n"
                        "  --absent         an announced absence (no points)\n"
                        "  --cancel         cancels the bye or absence of that round\n") +
             DirectorOutputText},
        {QStringLiteral("late-entry"),
         QStringLiteral("FILE --db DIR NAME CITY --missed half|zero "
                        "[-o OUT]"),
         QStringLiteral("Swiss: a player from the database joins"),
         QStringLiteral("Adds the player NAME of CITY from the working folder DIR (its\n"
                        "players.dat) to a Swiss tournament (.swz) before its next round. The\n"
                        "participants are renumbered by rating, the bye participant staying\n"
                        "last, and every game is kept. Prints the new participant's number.\n"
                        "\n"
                        "Options:\n"
                        "  --db DIR         the working folder with the player database\n"
                        "  --missed half|zero\n"
                        "                   the rounds already paired count half a point\n"
                        "                   each, or nothing\n") +
             DirectorOutputText},
        {QStringLiteral("forbid"), QStringLiteral("FILE A B [--rounds F-L] [--remove] [-o OUT]"),
         QStringLiteral("Swiss: participants A and B must not meet"),
         QStringLiteral("Forbids the pair of participants A and B of a Swiss tournament (.swz):\n"
                        "neither the pairing nor the candidate lists bring them together.\n"
                        "\n"
                        "Options:\n"
                        "  --rounds F-L     only in rounds F to L (F alone: from F to the end)\n"
                        "  --remove         removes every forbidden pair of A and B\n") +
             DirectorOutputText},
        {QStringLiteral("undo-pairing"), QStringLiteral("FILE [-o OUT]"),
         QStringLiteral("Swiss: undo the last pairing"),
         QStringLiteral("Removes the last round of a Swiss tournament (.swz) while none of its\n"
                        "games has a result: the tournament is as before the pairing.\n"
                        "\n"
                        "Options:\n") +
             DirectorOutputText},
        {QStringLiteral("accelerate"), QStringLiteral("FILE --baku|--off [-o OUT]"),
         QStringLiteral("Swiss: Baku acceleration on or off"),
         QStringLiteral("Turns the Baku acceleration of a Swiss tournament (.swz) on or off:\n"
                        "the first half of the players of round 1 (2 x ceil(N/4)) are paired\n"
                        "with virtual points in the first half of the planned rounds (1 point,\n"
                        "then 1/2). Refused once round 1 is paired, and without planned rounds.\n"
                        "\n"
                        "Options:\n"
                        "  --baku           Baku acceleration\n"
                        "  --off            no acceleration\n") +
             DirectorOutputText},
        {QStringLiteral("result"), QStringLiteral("FILE ROUND BOARD ENTRY [-o OUT]"),
         QStringLiteral("Swiss: enter or correct a result"),
         QStringLiteral(
             "Writes the result of board BOARD of round ROUND of a Swiss tournament\n"
             "(.swz). ENTRY is White's result as the result selector offers it: 1,\n"
             "0, % (a draw), + or - (forfeits), 00 (both forfeited), or \"\" to clear a\n"
             "game of the last round. A game of an earlier round is corrected; the\n"
             "later rounds keep their pairings.\n"
             "\n"
             "Options:\n") +
             DirectorOutputText},
        // The tie-break list, for both kinds.
        {QStringLiteral("tiebreaks"), QStringLiteral("FILE --set LIST|--clear [-o OUT]"),
         QStringLiteral("choose the tie-break list of a tournament"),
         QStringLiteral("Chooses the FIDE tie-breaks that decide the places among players\n"
                        "equal on points, in the order the regulations announce them, or\n"
                        "clears them (the program's own order). A Swiss (.swz) keeps the list\n"
                        "in its .swx, a round-robin (.kr2) in a .krx beside it; the tournament\n"
                        "file itself is not changed. Refused for a finished tournament.\n"
                        "\n"
                        "Options:\n"
                        "  --set LIST       the tie-breaks, comma-separated, a modifier after\n"
                        "                   \"/\": \"BH/C1,BH,SB,DE\"\n"
                        "  --clear          no tie-break list\n") +
             DirectorOutputText},
        {QStringLiteral("report final"), QStringLiteral("FILE [-o PATH] [--pdf OUT.pdf]"),
         QStringLiteral("the final standings page (HTML)"),
         QStringLiteral("Writes the final standings of a .kr2 or .swz tournament as an HTML\n"
                        "page: place (shared places as \"3–4\"), number, name, rating, points\n"
                        "and one column per tie-break of the tournament's list (without a list,\n"
                        "the program's own order and tie-break), with a legend of the\n"
                        "abbreviations below.\n") +
             ReportOutputText},
    };
    return commands;
}

bool isCliCommandWord(const QString& word) {
    for (const CliCommand& command : cliCommands()) {
        if (command.name == word || command.name.startsWith(word + u' '))
            return true;
    }
    return false;
}

QString cliHelpText() {
    QString text = QStringLiteral(
        "Usage: ladya-cli COMMAND [ARGS]\n"
        "       ladya-cli COMMAND --help\n"
        "\n"
        "Reads Ladya tournament files and prints their lists as the program shows them:\n"
        "UTF-8, one line per row, cells separated by TAB, column titles first.\n"
        "The kind of tournament is chosen by the file name's ending (kr2 or swz).\n"
        "\n"
        "Commands:\n");
    for (const CliCommand& command : cliCommands())
        text += overviewEntry(command);
    text += QStringLiteral("\n"
                           "Options:\n"
                           "  -h, --help                 show this help, or after a command "
                           "its own help\n"
                           "  --version                  show the version\n"
                           "\n") +
            ExitStatusText + QStringLiteral("check exits 1 when a round differs.\n");
    return text;
}

bool asksForHelp(const QStringList& args) {
    for (qsizetype k = 1; k < args.size(); ++k) {
        if (isHelpFlag(args.at(k)))
            return true;
    }
    return false;
}

QString cliCommandHelpText(const QStringList& words) {
    QStringList named;
    for (const QString& word : words) {
        if (!isHelpFlag(word))
            named << word;
    }
    if (named.isEmpty())
        return cliHelpText();
    const CliCommand* command = findCommand(named.mid(0, 2).join(u' '));
    if (!command)
        command = findCommand(named.first());
    if (command)
        return QStringLiteral("Usage: ladya-cli ") + usageLine(*command) + QStringLiteral("\n\n") +
               command->details + u'\n' +
               (command->name == QStringLiteral("check") ? CheckExitStatusText : ExitStatusText);

    // A word that starts several commands ("report"): their list.
    QString list;
    for (const CliCommand& c : cliCommands()) {
        if (c.name.startsWith(named.first() + u' '))
            list += overviewEntry(c);
    }
    if (list.isEmpty())
        return QString();
    return QStringLiteral("Usage: ladya-cli %1 KIND ARGS\n\n").arg(named.first()) + list +
           QStringLiteral("\nladya-cli %1 KIND --help shows the help of one.\n\n")
               .arg(named.first()) +
           ExitStatusText;
}

} // namespace ladya
