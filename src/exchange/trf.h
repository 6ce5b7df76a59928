// The FIDE Tournament Report File (TRF): the tournament as rating officers and pairing
// programs read it, and a Swiss tournament read back from one.
//
// Player lines keep the fixed columns of TRF-16 and are plain ASCII, names spelt in
// Latin letters, as pairing programs require; the file is UTF-8. Under each player
// line a comment ("### Ladya", which every reader skips) keeps the name as written,
// the category and the city, so that the program's own import gives them back.
#pragma once

#include "common/message.h"
#include "common/result.h"
#include "roundrobin/round_robin_file.h"
#include "swiss/swiss_file.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <functional>
#include <optional>

namespace ladya {

namespace TrfTexts {
inline const QString ExportButton = QStringLiteral("Экспорт TRF");
} // namespace TrfTexts

// The tournament as TRF lines, each ending CR LF: the header records 012 (name), 022
// (city, when every player comes from the same one), 042 and 052 (dates, 052 once
// finished), 062 (players), 092 (type) and XXR (rounds; no record when there are none
// to announce), then a 001 line per player.
// The bye participant is no player: the others are numbered 1.. in their order without
// it, and a game against it is a bye ("0000 - U" for a point, "Z" for none, "H" for half).
// A round a Swiss player sat out is "0000 - H", "Z" or "F" by its absence. An unplayed
// game is left blank. A Swiss tournament's records follow XXR: 240 for who sits out a
// round not yet paired (the next round whole, later rounds their requested byes) and
// 260 for each forbidden pair, one for the whole tournament written for rounds 1 to
// the planned rounds (999 when not known). A tournament with Baku acceleration, and
// only such, also has 192 "FIDE_DUTCH_2025_BAKU" and the 250 records of its virtual
// points (GA's players, 1.0 in the first accelerated rounds, 0.5 in the rest) after
// XXR. Each player's points are the sum of the round
// results written. The rank of a round-robin player is the place among the players;
// a Swiss player's ranks by points, then Buchholz over the games the file holds, equal
// players sharing one. A tournament with a tie-break list (either kind) writes it in
// 202 ("202 BH/C1,BH,SB,DE") and, after PTS, in 212, and ranks by points and the list,
// players equal on all sharing a rank; without a list neither record is written.
QByteArray trfExport(const RoundRobinTournament& tournament);
// XXR announces the most of `plannedRounds`, the tournament's planned rounds and the
// rounds paired so far.
QByteArray trfExport(const SwissTournament& tournament, int plannedRounds = 0);

// The tournament's name as 012 gives it: the file name without folder and extension,
// blanks for "_", without the "(date of creation)" that creation appends.
QString trfTournamentName(const QString& tournamentPath);

// Where the tournament windows put the export: "<file name without extension>.trf"
// beside the tournament file (a relative path counted from `workingDir`).
QString trfPathBeside(const QString& tournamentPath, const QString& workingDir);

// Writes `bytes` to `path` atomically; the message says where it went or why not.
struct TrfWritten {
    bool ok = false;
    Message message;
};
TrfWritten writeTrfFile(const QString& path, const QByteArray& bytes);

// What "Экспорт TRF" of the tournament windows does: the export written beside the
// tournament file, and the message that says where (or why not).
Message exportTrfBeside(const RoundRobinTournament& tournament, const QString& workingDir);
Message exportTrfBeside(const SwissTournament& tournament, const QString& workingDir);

// A Swiss tournament read from TRF text. Players keep their start ranks as numbers; the
// bye participant follows as the last number when their count is odd, or when a round
// needs it (a bye, or an odd number of players without a game, in an even field).
// Refused, with the line at fault named, is whatever the program cannot hold
// faithfully: more than 300 players or 20 rounds, a result it has no code for, two
// players disagreeing about their game, points that are not the sum of the results,
// more than one bye in a round, a 240 or 260 record it cannot read. Name, category and
// city come from the player's "### Ladya" comment while the player line still bears
// that name; otherwise the name is the line's, the city that of 022 and the category
// none.
// A round sat out ("0000 - H", "Z", "F") puts the player on no board and is kept as a
// requested bye in the tournament's extras, as are the 240 records of rounds not
// paired; 260 records are its forbidden pairs (one ending at the planned last round or
// at 999 holds to the end), XXR (or 142) its planned rounds. Blank rounds of a player
// (no game) are paired among themselves as games without a result, the last with the
// bye participant when one is left over. Every round has its boards, the spare ones
// empty.
// Acceleration: 192 "FIDE_DUTCH_2025_BAKU", 250 records and the older XXA lines (a
// player's virtual points round by round) become the tournament's Baku acceleration
// when they describe exactly it (GA's last player the last with virtual points in
// round 1); virtual points of any other kind, or without planned rounds, are refused
// naming the line. Another 192 is not read.
// Tie-breaks: 202 (or, without it, 212 after its PTS) becomes the tournament's tie-break
// list; a list the program cannot compute is refused naming the line. Reading a file
// only to pair or check it (TrfLimits::Format) leaves both records aside.
struct TrfImported {
    SwissTournament tournament; // state.path left empty
    QString name;               // from 012, "" when absent
    // From XXR (or 142), 0 when absent; also in the tournament's extras when it is not
    // fewer than the rounds read.
    int plannedRounds = 0;
};
// How much the import takes: what a tournament file holds (300 participants with the bye
// participant, 20 rounds, names it can write), or whatever the format holds (9999
// players, 999 rounds, any name), for reading a file only to pair or check it.
enum class TrfLimits { TournamentFile, Format };
Result<TrfImported> trfImportSwiss(QByteArrayView text,
                                   TrfLimits limits = TrfLimits::TournamentFile);

// Reads the TRF at `trfPath` and writes the tournament as a new .swz at `swzPath`,
// never replacing an existing file.
Result<> importTrfFile(const QString& trfPath, const QString& swzPath);

// The same into the working folder, the file named as creation names it (the 012 name,
// else the TRF's file name, and `today`). When that name cannot make a new file (a
// tournament of that name was created today, or the name cannot be a file name) and
// `askName` is given, it is asked for another name with the question to show and the
// name refused, and the import tries that one, as often as it answers; nullopt from it
// gives up. The result is the new file's path, "" when the director gave up, or the
// failure to show.
using TrfNameQuestion =
    std::function<std::optional<QString>(const Message& question, const QString& refusedName)>;
Result<QString> importTrfIntoFolder(const QString& trfPath, const QString& workingDir,
                                    const QDate& today, const TrfNameQuestion& askName = {});

} // namespace ladya
