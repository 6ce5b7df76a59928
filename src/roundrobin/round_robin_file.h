// The round-robin tournament as a value, and its .kr2 file: dates, sizes and kind,
// the participant rows and White's result of every game of the schedule.
#pragma once

#include "common/message.h"
#include "common/result.h"
#include "common/text_file.h"
#include "common/tournament_state.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ladya {

// A game's result from one side, as the files and lists write it.
namespace GameResult {
inline const QString Win = QStringLiteral("1");
inline const QString Loss = QStringLiteral("0");
inline const QString Draw = QStringLiteral("%");
inline const QString ForfeitWin = QStringLiteral("+");
inline const QString ForfeitLoss = QStringLiteral("-");
inline const QString Unplayed = QString();
// How a double forfeit is kept apart from White's forfeit loss in the file.
inline const QString DoubleForfeitInFile = QStringLiteral("00");

bool isValid(const QString& code);
// Black's side of a game from White's code ("" for a code that is not valid).
QString mirrorOf(const QString& whiteCode);
} // namespace GameResult

struct RoundRobinGame {
    QString white; // names, the bye row standing as "**"
    QString black;
    QString result;       // White's code
    QString mirrorResult; // Black's code

    bool isPlayed() const { return !result.isEmpty(); }
    bool isDoubleForfeit() const {
        return result == GameResult::ForfeitLoss && mirrorResult == GameResult::ForfeitLoss;
    }
    // Sets both codes from a result selector entry: "" clears, "00" is the double
    // forfeit, any other entry is White's code with Black's mirrored.
    void applyEntry(const QString& entry);

    bool operator==(const RoundRobinGame&) const = default;
};

struct RoundRobinTournament {
    TournamentState state;
    QVector<Participant> participants;      // row k (1-based) at index k − 1
    QVector<QVector<RoundRobinGame>> games; // [round − 1][board − 1]
    // The tie-breaks the regulations announce, as tieBreakListText writes them
    // ("BH/C1,BH,SB,DE"); "" when none is chosen and the program's own order stands.
    // Kept beside the .kr2 in "<name>.krx" (saveRoundRobinTieBreaks): the .kr2 never
    // holds it.
    QString tieBreaks;

    int participantCount() const { return static_cast<int>(participants.size()); }
    int roundCount() const { return state.roundCount; }
    int boardCount() const { return state.boardCount; }

    const Participant& participant(int number) const { return participants.at(number - 1); }
    const RoundRobinGame& game(int round, int board) const {
        return games.at(round - 1).at(board - 1);
    }
    RoundRobinGame& game(int round, int board) { return games[round - 1][board - 1]; }

    // Games whose White code is "".
    int countUnplayed() const;
    QStringList participantNames() const;
    // The file name without its folder and without the extension: the tournament's
    // display name and its label in the player files.
    QString displayName() const;

    bool operator==(const RoundRobinTournament& other) const;
};

// The text lines of the file (6 + 5·N + 3·R·B of them), and the file's bytes: UTF-8,
// every line ending CR LF.
QStringList roundRobinLines(const RoundRobinTournament& tournament);
QByteArray roundRobinFileBytes(const RoundRobinTournament& tournament);

// Parses the lines of a .kr2 file; `path` is stored in the state and named in messages.
// Refused, naming the line: fewer lines than the counts promise, more boards than half
// the rows, two rows of one name, a game naming no row, an unknown result code.
Result<RoundRobinTournament> parseRoundRobin(const QStringList& lines, const QString& path);
// Reads the .kr2 at `path` and, when there is one, the tie-break list of the .krx beside
// it; a .krx that cannot be read or holds a bad line is refused by name (and the
// tournament with it), never taken for "no list".
Result<RoundRobinTournament> loadRoundRobin(const QString& path);

// "<name>.krx" for "<name>.kr2" (any other path gets ".krx" appended).
QString roundRobinTieBreaksPath(const QString& kr2Path);
// The .krx file's text for a list (CR LF lines: "Ladya-KRX|1", "tiebreaks|<list>"), and
// the list read back from such a text; `fileName` names the file in the refusals, which
// name the line.
QByteArray roundRobinTieBreaksBytes(const QString& listText);
Result<QString> parseRoundRobinTieBreaks(QByteArrayView bytes, const QString& fileName);
// The list kept beside the .kr2 at `kr2Path`: "" when there is no .krx.
Result<QString> loadRoundRobinTieBreaks(const QString& kr2Path);
// Keeps `listText` (a list parseTieBreakList takes, canonical as tieBreakListText
// writes it) beside the .kr2 at `kr2Path`, atomically; an empty list removes the .krx.
// A .krx that does not load is never replaced: the write is refused, naming it.
Result<> saveRoundRobinTieBreaks(const QString& kr2Path, const QString& listText);

// Writes the tournament to `path` (its own path when empty), atomically: on failure the
// file keeps its earlier content and the message to show is returned.
Result<> saveRoundRobin(const RoundRobinTournament& tournament, const QString& path = QString());

// The message shown when the tournament file at `path` cannot be written, with the
// system's `reason` below the usual hint.
Message roundRobinSaveFailedMessage(const QString& path = QString(),
                                    const QString& reason = QString());

} // namespace ladya
