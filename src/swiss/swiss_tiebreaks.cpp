#include "swiss/swiss_tiebreaks.h"

#include "scoring/expected_score.h"
#include "swiss/swiss_standings.h"

#include <algorithm>

namespace ladya {

namespace {

int halvesOf(char code) {
    if (code == '1' || code == '+')
        return 2;
    return code == '%' ? 1 : 0;
}

// One side of a board: the round as that side's own code tells it.
TieBreakRound sideOf(char code, int opponent, int byeNumber, char colour) {
    TieBreakRound r;
    r.halves = halvesOf(code);
    if (opponent == byeNumber) {
        r.kind = TieBreakRoundKind::PairingBye;
        return r;
    }
    r.opponent = opponent - 1;
    switch (code) {
    case '+':
        r.kind = TieBreakRoundKind::ForfeitWin;
        break;
    case '-':
        r.kind = TieBreakRoundKind::ForfeitLoss;
        break;
    case '1':
    case '0':
    case '%':
        r.kind = TieBreakRoundKind::Played;
        r.colour = colour;
        break;
    default:
        r.kind = TieBreakRoundKind::NotPlayedYet;
        break;
    }
    return r;
}

TieBreakRound absenceRound(const SwissExtras& extras, int participant, int round) {
    TieBreakRound r;
    const std::optional<Absence> kind = extras.absence(participant, round);
    if (!kind)
        return r; // on no board and nothing recorded: it brought nothing
    r.halves = absenceHalves(*kind);
    switch (*kind) {
    case Absence::HalfBye:
        r.kind = TieBreakRoundKind::HalfBye;
        break;
    case Absence::FullBye:
        r.kind = TieBreakRoundKind::FullBye;
        break;
    case Absence::ZeroBye:
        r.kind = TieBreakRoundKind::ZeroBye;
        break;
    }
    return r;
}

} // namespace

TieBreakField swissTieBreakField(const SwissTournament& t) {
    const int n = t.participantCount();
    const int rounds = t.roundCount();
    const int bye = t.byeNumber;
    TieBreakField field;
    field.roundCount = rounds;
    field.rules = tieBreakRulesOn(t.state.startDate);
    field.plannedRounds = std::max(t.extras.plannedRounds, rounds);
    field.players.resize(std::size_t(n));
    for (int p = 1; p <= n; ++p) {
        TieBreakPlayer& player = field.players[std::size_t(p - 1)];
        player.number = p;
        player.rating = ratingValue(t.participant(p).rating);
        player.bye = p == bye;
        player.withdrawn = !player.bye && withdrawnAfter(t, p);
        player.rounds.resize(std::size_t(rounds));
    }
    std::vector<char> onBoard(std::size_t(n) + 1);
    const auto inTable = [n](int number) { return number >= 1 && number <= n; };
    for (int r = 1; r <= rounds; ++r) {
        std::fill(onBoard.begin(), onBoard.end(), 0);
        for (const SwissGame& g : t.rounds[r - 1]) {
            if (g.isEmpty())
                continue;
            const char whiteCode = codeByte(g.whiteResult);
            const char blackCode = codeByte(g.blackResult);
            if (inTable(g.white) && g.white != bye) {
                onBoard[std::size_t(g.white)] = 1;
                // An opponent outside the table (only a hand-edited file holds one)
                // counts as the bye: points as recorded, nobody to take a score from.
                const int opponent = inTable(g.black) ? g.black : bye;
                field.players[std::size_t(g.white - 1)].rounds[std::size_t(r - 1)] =
                    sideOf(whiteCode, opponent, bye, 'w');
            }
            if (inTable(g.black) && g.black != bye) {
                onBoard[std::size_t(g.black)] = 1;
                const int opponent = inTable(g.white) ? g.white : bye;
                field.players[std::size_t(g.black - 1)].rounds[std::size_t(r - 1)] =
                    sideOf(blackCode, opponent, bye, 'b');
            }
        }
        for (int p = 1; p <= n; ++p) {
            if (!onBoard[std::size_t(p)] && p != bye)
                field.players[std::size_t(p - 1)].rounds[std::size_t(r - 1)] =
                    absenceRound(t.extras, p, r);
        }
    }
    return field;
}

} // namespace ladya
