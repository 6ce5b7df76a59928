// The Swiss tournament: its value type and the .swz file that is its only store.
#pragma once

#include "common/message.h"
#include "common/result.h"
#include "common/tournament_state.h"
#include "swiss/swiss_extras.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ladya {

// One board of one round. Each code is a game result from its own side's view:
// "1", "0", "%", "+", "-" or "" while unplayed.
struct SwissGame {
    int white = 0; // participant numbers, 1-based as the file stores them
    int black = 0;
    QString whiteResult;
    QString blackResult;

    bool operator==(const SwissGame&) const = default;
    // A spare board of a round in which some participants sit out: "0|0||" in the file.
    bool isEmpty() const { return white == 0 && black == 0; }
};

// The one ASCII character of a result code; 0 for an empty code and for any other text,
// which only a hand-edited file holds.
inline char codeByte(const QString& code) {
    return code.size() == 1 && code.front().unicode() < 0x80 ? char(code.front().unicode()) : 0;
}

// The whole Swiss tournament as the file holds it, plus the figures derived on load.
// Storage is 0-based; the accessors take the 1-based numbers the domain counts in.
struct SwissTournament {
    TournamentState state;              // path, dates; counts are kept in step by deriveCounts()
    QVector<Participant> participants;  // participant number n at index n - 1
    QVector<QVector<SwissGame>> rounds; // round r at index r - 1, board b at index b - 1
    QVector<int> forfeitCounts;         // derived: games in which the opponent's code is "+" or "-"
    int byeNumber = 0;                  // derived: the last participant named "**", 0 when none
    // What the .swz cannot hold: kept in the companion file (swiss_companion.h), empty
    // for a tournament that has none. The .swz text never depends on it.
    SwissExtras extras;

    int participantCount() const { return int(participants.size()); }
    int roundCount() const { return int(rounds.size()); }
    int boardCount() const { return participantCount() / 2; }

    bool hasParticipant(int number) const { return number >= 1 && number <= participantCount(); }
    const Participant& participant(int number) const { return participants[number - 1]; }
    Participant& participant(int number) { return participants[number - 1]; }
    // The name of a participant, "" for a number outside the table.
    QString nameOf(int number) const {
        return hasParticipant(number) ? participant(number).name : QString();
    }

    const SwissGame& game(int round, int board) const { return rounds[round - 1][board - 1]; }
    SwissGame& game(int round, int board) { return rounds[round - 1][board - 1]; }
    int forfeitCount(int number) const { return forfeitCounts[number - 1]; }

    // Recomputes byeNumber, forfeitCounts and the counts in `state` from the tables.
    void deriveCounts();

    bool isFinished() const { return state.isFinished(); }
};

// The .swz file as written: UTF-8, every line ending CR LF.
QByteArray swissFileBytes(const SwissTournament& tournament);

// The file text together with whether reading it gives back the tournament's own
// values. It does not when a field holds what the format cannot carry (a "|" or a line
// break, a character beyond the basic plane), a round lacks boards or has too many, a
// game names a participant outside the table, or a count is beyond the tables.
// The records for the companion file travel with the text: writing the text writes them.
struct SwissFileText {
    QByteArray bytes;
    bool readsBack = false;
    SwissExtras extras;
    // Why the records cannot be written (a participant outside the table, ...): the
    // save is refused rather than leave a companion that would not load. Empty when
    // they can.
    QString extrasFault;
};
SwissFileText swissFileText(const SwissTournament& tournament);
// The same lines without terminators.
QStringList swissFileLines(const SwissTournament& tournament);

// Parses the lines of a .swz file. Malformed values read leniently (missing participant
// fields as "", non-numbers as 0). Refused with a message: text that is not UTF-8, counts
// beyond the tables, fewer lines than the counts promise, a game line without its four
// fields or with a result for one side only (a file cut off within it), a game naming a
// participant outside 1..N (but the empty board "0|0||"), and a round-robin file.
// The companion file is not read here: loadSwiss reads it.
Result<SwissTournament> parseSwissBytes(QByteArrayView bytes);
Result<SwissTournament> parseSwissLines(const QStringList& lines);

// Reads the tournament at `path` and its companion file (swiss_companion.h) into
// `extras`; `state.path` of the result is `path`. A file that cannot be read is reported,
// never taken for an empty tournament; so is a companion that cannot be read or belongs
// to another .swz.
Result<SwissTournament> loadSwiss(const QString& path);

// Writes the tournament to `path` (its own path when empty), atomically, and its
// companion file with it (writeSwissPair): on failure the pair keeps its earlier content
// and the message to show is returned.
Result<> saveSwiss(const SwissTournament& tournament, const QString& path = QString());
// Writes a text made by swissFileText to `path` in the same way.
Result<> writeSwissFile(const QString& path, const SwissFileText& text);

// Reads the file at `path` back after `text`, made from `written`, was saved there. When
// the file holds exactly that text and the text reads back to `written`, the result is
// `written` as loading gives it, without decoding the text again (its companion records
// are the ones just written with it): the tournament window reloads its file after every
// result. Otherwise (a failed save, a file changed
// meanwhile) the file is loaded.
Result<SwissTournament> reloadSwiss(const QString& path, const SwissTournament& written,
                                    const SwissFileText& text);

// The message shown when the tournament file at `path` cannot be written, with the
// system's `reason` below the usual hint.
Message swissSaveFailedMessage(const QString& path = QString(), const QString& reason = QString());

} // namespace ladya
