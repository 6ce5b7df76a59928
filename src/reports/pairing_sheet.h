// "Пары тура": the pairing sheet of one round, to pin up beside the boards. Both kinds
// give the same sheet: the tournament's heading, a line per board with each side's
// points before the round and rating, and a result column left empty for writing in
// until the result is entered.
#pragma once

#include "reports/html_frame.h"
#include "roundrobin/round_robin_file.h"
#include "swiss/swiss_file.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace ladya {

struct PairingSheet {
    QString heading; // the tournament's name and dates, as the printed sheets head them
    int round = 0;
    // Eight texts a line: board, White, points, rating, Black, points, rating, result.
    QVector<QStringList> lines;
    // The participants who sit out the round, each "name — why".
    QStringList sittingOut;
};

// The name of the sheet, of its button and of its report: "Пары тура".
QString pairingSheetName();

// Round `round` (1..R) of a Swiss: its real boards (the empty ones left out), the
// pairing-allocated bye as a line of its own without a board number, and whoever sits
// the round out by the tournament's records (half-point bye, absence, withdrawal).
PairingSheet swissPairingSheet(const SwissTournament& tournament, int round);

// Round `round` (1..R) of the round-robin schedule; a game against the bye row "**"
// stands as the bye's line.
PairingSheet roundRobinPairingSheet(const RoundRobinTournament& tournament, int round);

// The round a round-robin's sheet proposes: the first with an unplayed game, else the last.
int roundRobinRoundInPlay(const RoundRobinTournament& tournament);

html::HtmlReport pairingSheetReport(const PairingSheet& sheet);

} // namespace ladya
