#include "roundrobin/round_robin_tiebreaks.h"

#include "roundrobin/round_robin_standings.h"
#include "scoring/expected_score.h"

namespace ladya {

namespace {

using Code = GameLinks::Code;

int halvesOf(Code code) {
    if (code == Code::Win || code == Code::ForfeitWin)
        return 2;
    return code == Code::Draw ? 1 : 0;
}

TieBreakRound sideOf(Code code, int opponent, bool againstBye, char colour) {
    TieBreakRound r;
    r.halves = halvesOf(code);
    if (againstBye) {
        r.kind = code == Code::Unplayed ? TieBreakRoundKind::NotPlayedYet
                                        : TieBreakRoundKind::PairingBye;
        return r;
    }
    r.opponent = opponent;
    switch (code) {
    case Code::ForfeitWin:
        r.kind = TieBreakRoundKind::ForfeitWin;
        break;
    case Code::ForfeitLoss:
        r.kind = TieBreakRoundKind::ForfeitLoss;
        break;
    case Code::Win:
    case Code::Loss:
    case Code::Draw:
        r.kind = TieBreakRoundKind::Played;
        r.colour = colour;
        break;
    case Code::Unplayed:
        r.kind = TieBreakRoundKind::NotPlayedYet;
        break;
    }
    return r;
}

// Games name players, and a name borne by two rows is every one of them (as the
// standings count it): a second game of one round adds its points to the round.
void place(TieBreakRound& slot, const TieBreakRound& round, bool& filled) {
    if (!filled) {
        slot = round;
        filled = true;
    } else {
        slot.halves += round.halves;
    }
}

} // namespace

TieBreakField roundRobinTieBreakField(const RoundRobinTournament& t) {
    const int n = t.participantCount();
    const int rounds = t.roundCount();
    const GameLinks links = linkGames(t);
    TieBreakField field;
    field.roundRobin = true;
    field.roundCount = rounds;
    field.rules = tieBreakRulesOn(t.state.startDate);
    field.players.resize(std::size_t(n));
    for (int k = 0; k < n; ++k) {
        TieBreakPlayer& player = field.players[std::size_t(k)];
        player.number = k + 1;
        player.bye = isByeRow(t.participants.at(k));
        player.rating = player.bye ? 0 : ratingValue(t.participants.at(k).rating);
        player.rounds.resize(std::size_t(rounds));
    }
    std::vector<char> filled(std::size_t(n) * std::size_t(rounds), 0);
    const auto assign = [&](int first, int round, const TieBreakRound& side) {
        for (int k = first; k >= 0; k = links.nextSameName.at(k)) {
            if (field.players[std::size_t(k)].bye)
                continue;
            bool f = filled[std::size_t(k) * std::size_t(rounds) + std::size_t(round)];
            place(field.players[std::size_t(k)].rounds[std::size_t(round)], side, f);
            filled[std::size_t(k) * std::size_t(rounds) + std::size_t(round)] = f;
        }
    };
    qsizetype index = 0;
    for (int r = 0; r < rounds; ++r) {
        const qsizetype boards = t.games.at(r).size();
        for (qsizetype b = 0; b < boards; ++b, ++index) {
            const GameLinks::Game& g = links.games.at(index);
            if (g.white >= 0)
                assign(g.white, r, sideOf(g.whiteCode, g.black, g.againstBye, 'w'));
            if (g.black >= 0)
                assign(g.black, r, sideOf(g.blackCode, g.white, g.againstBye, 'b'));
        }
    }
    return field;
}

} // namespace ladya
