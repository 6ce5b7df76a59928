// The pairing workbench: proposes opponents for a chosen player from the standings and
// commits a complete set of pairs as the next round. A plain object over a snapshot of
// the tournament and its standings; nothing reaches the tournament before the commit.
#pragma once

#include "common/message.h"
#include "common/result.h"
#include "pairing/dutch_pairing.h"
#include "swiss/swiss_file.h"
#include "swiss/swiss_standings.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ladya {

// One pair of the round being made, as the pair list shows it.
struct PairRow {
    int white = 0;
    QString whitePoints; // one decimal
    QString whiteName;
    QString blackName;
    QString blackPoints;
    int black = 0;

    QStringList cells() const;
    bool contains(int number) const { return white == number || black == number; }
    bool operator==(const PairRow&) const = default;
};
using PairList = QVector<PairRow>;

// The twelve columns of the player and candidate lists.
QStringList playerListTitles();
QVector<int> playerListWidths();

// A round committed to its file: the tournament with it, and when the file could not be
// read back, the message that says so (the tournament is then the one written).
struct CommittedRound {
    SwissTournament tournament;
    std::optional<Message> notReadBack;
};

class PairingWorkbench {
public:
    PairingWorkbench(SwissTournament tournament, SwissStandings standings);

    const SwissTournament& tournament() const { return m_tournament; }
    const SwissStandings& standings() const { return m_standings; }
    int pairedRound() const { return m_tournament.roundCount() + 1; }

    // The pairs made so far, in the order made. The pair dialogs append, replace and
    // remove rows; rebuild the unpaired list afterwards.
    const PairList& pairList() const { return m_pairs; }
    PairList& pairList() { return m_pairs; }
    // A pair row for two participants, White first.
    PairRow makePairRow(int white, int black) const;

    const QVector<int>& pairedNumbers() const { return m_pairedNumbers; }
    const QVector<int>& unpairedList() const { return m_unpaired; }    // numbers, standings order
    const QVector<int>& candidateList() const { return m_candidates; } // numbers, best first

    // The twelve-field row of a participant: number, name, rating, points, colours,
    // Buchholz, progressive, floats, average opponents' rating, opponents' numbers.
    QStringList playerRow(int number) const;
    QVector<QStringList> unpairedRows() const;
    QVector<QStringList> candidateRows() const;

    // Rebuilds PairedNumbers from the pair list and the players still to pair, in
    // standings order, without the bye participant.
    void buildUnpairedList();
    void clearCandidates() { m_candidates.clear(); }
    // Appends the opponents suiting player s at the given float allowance (floats that
    // compensate first, then the score group exactly `allowance` below s; balanced
    // colours first in each), then prunes previous opponents, paired players and
    // repeated rows.
    void buildCandidates(int s, float allowance);
    // Appends every other participant after the rows found so far and prunes the same way.
    void forceCandidates(int s);

    // The Dutch system's pairing of every player still unpaired, appended to the pair
    // list after the pairs already made (which stay as they are): boards in the order
    // the system gives them, the pairing-allocated bye as the pair with the bye
    // participant. When no pairing meets the absolute criteria, the message says so and
    // the list stays as it was.
    Result<> proposeDutchPairing(const DutchOptions& options);

    // Whether the pairs can be committed as the next round, or why not: every participant
    // but the bye participant in exactly one pair, and room for the round.
    Result<> canCommit() const;
    // Stores the pairs as round R + 1, boards ordered by the better standings place of
    // each pair, and empties the pair list. Nothing is changed when refused.
    Result<> storeRoundPairing(SwissTournament& tournament);
    // storeRoundPairing on the snapshot, then save to `path` (the tournament's own path
    // when empty) and load it back. Once the file is written the committed tournament
    // is returned (with the message that it could not be read back); when refused or
    // not written, the failure, and the pair list is kept.
    Result<CommittedRound> commitRoundPairing(const QString& path = QString());

    // Whether the participant sits out the round being paired (a requested bye, a
    // withdrawal, a round before a late entry's first): no list offers him.
    bool sitsOut(int number) const;
    // The number the pairing-allocated bye pairs with: the bye participant, or when the
    // tournament has none and the round's field is odd, the row the commit adds (N + 1);
    // 0 when the round has no bye.
    int byeOpponent() const;

private:
    bool isPaired(int number) const;
    // The participants of the round: neither the bye participant nor sitting out.
    int fieldSize() const;
    // The forbidden pairs among the players still unpaired, as the refusal names them.
    QString forbiddenReasons() const;
    void prune(int s);
    QVector<QStringList> playerRows(const QVector<int>& numbers) const;

    SwissTournament m_tournament;
    SwissStandings m_standings;
    PairList m_pairs;
    QVector<int> m_pairedNumbers;
    QVector<int> m_unpaired;
    QVector<int> m_candidates;
    QVector<QString> m_pointsKey;   // points with one decimal, per participant
    QVector<QString> m_balancedKey; // points + down-float − up-float with one decimal
};

} // namespace ladya
