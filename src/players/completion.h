// Completing a tournament: the rating history grows by a line per participant with
// the rating brought in, each participant's database record takes the new rating,
// and the tournament is saved with its end date.
#pragma once

#include "common/message.h"
#include "common/result.h"
#include "common/tournament_state.h"
#include "players/player_database.h"

#include <QDate>
#include <QString>
#include <QVector>
#include <functional>
#include <optional>

namespace ladya {

struct CompletionInput {
    QString tournamentPath; // the tournament file; its name gives the label
    QString startDate;
    QString endDate;                   // the chosen completion date, "dd.MM.yyyy"
    QVector<Participant> participants; // every row, the bye row included
    QVector<int> newRatings;           // one per participant row
    // A Swiss "**" row is a placeholder, not a player: it gets no history line.
    bool historyForByeRow = true;
};

// The file name without folder and without its last four characters (".kr2", ".swz").
QString tournamentLabel(const QString& tournamentPath);

// The history line and the updated database record of one participant.
QString historyLine(const Participant& p, const QString& label, const QString& dates);
QString completedRecord(const Participant& p, int newRating, const QString& label,
                        const QString& dates);

// An end date before the start date would be written for good into the tournament and
// the player files: it is refused with the message to show. Any other date is taken
// (also when either date is not "dd.MM.yyyy", as a hand-edited file may hold, so that
// such a tournament can still be completed).
Result<> endDateCheck(const QString& startDate, const QString& endDate);

// An end date after `today` is most likely a slip of the date picker: the question to
// ask before completing with it, "No" being the answer that changes nothing; nothing for
// a date up to today.
std::optional<Message> futureEndDateQuestion(const QString& endDate, const QDate& today);

// Saves the tournament with the given end date; fails with the message to show.
using SaveWithEndDate = std::function<Result<>(const QString& endDate)>;

// Writes the outcome into the player files, then saves the tournament. Stops at the
// first failure with a message, leaving the tournament unfinished: an end date that
// endDateCheck refuses writes nothing, players.dat is never rewritten from a failed
// read, the rewrite is atomic, and history lines already written for this tournament
// (same name, city and label) are not written again when completion is repeated. On
// success `db` holds the database as rewritten.
Result<> completeTournament(const CompletionInput& input, PlayerDatabase& db,
                            const QString& playersPath, const QString& historyPath,
                            const SaveWithEndDate& saveTournament);

} // namespace ladya
