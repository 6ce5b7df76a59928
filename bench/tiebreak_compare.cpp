// The comparison of the tie-breaks with an independent calculator: a tool run by hand
// (scripts/tiebreak-proof.sh runs it seed by seed), never by the tests.
//
//   tiebreak_compare swiss FILE.trf LIST...   the TRF imported as a Swiss tournament,
//                                             ranked through swissTieBreakField
//   tiebreak_compare trf FILE.trf LIST...     the TRF read as it stands (unplayed rounds
//                                             by their letters), ranked directly
//   tiebreak_compare trf-rr FILE.trf LIST...  the same with the pairings fixed in
//                                             advance (a round-robin)
//   tiebreak_compare rr SEED OUT.trf LIST...  a round-robin made from the seed (Berger
//                                             tables, random results, forfeits and
//                                             withdrawals), written to OUT.trf for the
//                                             reference and ranked through
//                                             roundRobinTieBreakField; it starts on
//                                             $TIEBREAK_START (dd.MM.yyyy, default
//                                             01.01.2026), which picks C.07's edition
//
// LIST is the tie-breaks as separate words ("BH/C1 SB DE"). The output is one tab
// separated line per player in number order, "StartNo Rank PTS values...", as the
// reference writes it with "-d T", so the two can be compared cell by cell.
#include "exchange/trf.h"
#include "roundrobin/round_robin_file.h"
#include "roundrobin/round_robin_standings.h"
#include "roundrobin/round_robin_tiebreaks.h"
#include "scoring/tiebreaks.h"
#include "swiss/swiss_standings.h"
#include "swiss/swiss_tiebreaks.h"

#include <QDate>
#include <QFile>
#include <QStringList>
#include <cstdio>
#include <random>
#include <string>

using namespace ladya;

namespace {

int fail(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    return 2;
}

void print(const TieBreakField& field, const TieBreakList& list, const QStringList& names) {
    const TieBreakRanking ranking = rankByTieBreaks(field, list);
    std::string out = "StartNo\tRank\tPTS";
    for (const QString& name : names) {
        out += '\t';
        out += name.toStdString();
    }
    out += "\n";
    for (std::size_t p = 0; p < field.players.size(); ++p) {
        if (field.players[p].bye)
            continue;
        out += std::to_string(field.players[p].number);
        out += '\t';
        out += std::to_string(ranking.firstPlace[p]);
        out += '\t';
        out += formatFixed(ranking.points[p], 1).toStdString();
        for (std::size_t e = 0; e < list.size(); ++e) {
            out += '\t';
            out += tieBreakValueText(list[e], ranking.values[p][e]).toStdString();
        }
        out += "\n";
    }
    std::fputs(out.c_str(), stdout);
}

// A TRF as it stands: players by start rank, every round by its letter.
Result<TieBreakField> readTrf(const QByteArray& text) {
    TieBreakField field;
    // Without a start date the reference applies the edition in force today.
    field.rules = TieBreakRules::Fide2026;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
        if (line.startsWith("042 ")) {
            // yyyy/MM/dd as the regulations' edition goes by it
            const QDate date = QDate::fromString(QString::fromLatin1(line.mid(4).trimmed()),
                                                 QStringLiteral("yyyy/MM/dd"));
            field.rules = tieBreakRulesOn(date.toString(QStringLiteral("dd.MM.yyyy")));
        }
        if (line.startsWith("142 ") || line.startsWith("XXR "))
            field.plannedRounds = line.mid(4).trimmed().toInt();
        if (!line.startsWith("001 "))
            continue;
        TieBreakPlayer player;
        player.number = line.mid(4, 4).trimmed().toInt();
        player.rating = line.mid(48, 4).trimmed().toInt();
        for (int start = 91; start + 1 < line.size(); start += 10) {
            const int opponent = line.mid(start, 4).trimmed().toInt();
            const char colour = start + 5 < line.size() ? line[start + 5] : ' ';
            const char code = start + 7 < line.size() ? line[start + 7] : ' ';
            TieBreakRound r;
            switch (code) {
            case '1':
            case 'W':
                r.halves = 2;
                break;
            case '=':
            case 'D':
                r.halves = 1;
                break;
            case '+':
            case 'F':
            case 'U':
                r.halves = 2;
                break;
            case 'H':
                r.halves = 1;
                break;
            default:
                r.halves = 0;
            }
            if (opponent > 0 && (code == '+' || code == '-')) {
                r.kind =
                    code == '+' ? TieBreakRoundKind::ForfeitWin : TieBreakRoundKind::ForfeitLoss;
                r.opponent = opponent - 1;
            } else if (opponent > 0) {
                r.kind = TieBreakRoundKind::Played;
                r.opponent = opponent - 1;
                r.colour = colour;
            } else if (code == 'U') {
                r.kind = TieBreakRoundKind::PairingBye;
            } else if (code == 'H') {
                r.kind = TieBreakRoundKind::HalfBye;
            } else if (code == 'F') {
                r.kind = TieBreakRoundKind::FullBye;
            } else {
                r.kind = TieBreakRoundKind::ZeroBye;
            }
            player.rounds.push_back(r);
        }
        field.players.push_back(player);
    }
    std::sort(field.players.begin(), field.players.end(),
              [](const TieBreakPlayer& a, const TieBreakPlayer& b) { return a.number < b.number; });
    for (const TieBreakPlayer& p : field.players)
        field.roundCount = std::max(field.roundCount, int(p.rounds.size()));
    for (TieBreakPlayer& p : field.players)
        p.rounds.resize(std::size_t(field.roundCount));
    return field;
}

// A round-robin from the seed: 3 to 16 players (an odd count gets the bye row), one or
// two cycles of Berger tables, results drawn at random, a forfeit now and then, and
// sometimes a player who withdraws (loses every later game by forfeit).
RoundRobinTournament makeRoundRobin(unsigned seed) {
    std::mt19937 rng(seed);
    const auto uniform = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(rng);
    };
    const int players = uniform(3, 16);
    const int n = players + players % 2;
    const int cycles = uniform(1, 5) == 1 ? 2 : 1;
    RoundRobinTournament t;
    const QString start = qEnvironmentVariable("TIEBREAK_START", QStringLiteral("01.01.2026"));
    t.state.startDate = start;
    for (int k = 1; k <= players; ++k) {
        Participant p;
        p.number = QString::number(k);
        p.name = QStringLiteral("PLAYER %1").arg(k);
        p.category = QStringLiteral("1");
        p.rating = QString::number(uniform(0, 9) == 0 ? 0 : uniform(1400, 2500));
        p.city = QStringLiteral("CITY");
        t.participants.append(p);
    }
    if (n > players)
        t.participants.append(makeByeRow(n));
    const int withdrawer = uniform(0, 3) == 0 ? uniform(1, players) : 0;
    const int roundsPerCycle = n - 1;
    const int withdrawFrom = withdrawer ? uniform(2, roundsPerCycle * cycles) : 0;
    const int forfeitRate = uniform(0, 2) * 4; // per cent
    const int drawRate = uniform(15, 45);
    t.state.roundCount = roundsPerCycle * cycles;
    t.state.boardCount = n / 2;
    t.games.resize(t.state.roundCount);
    const auto nameOf = [&](int k) { return t.participants.at(k - 1).name; };
    for (int c = 0; c < cycles; ++c) {
        for (int r = 0; r < roundsPerCycle; ++r) {
            // Berger: player n fixed, the others rotate.
            QVector<RoundRobinGame>& round = t.games[c * roundsPerCycle + r];
            for (int b = 0; b < n / 2; ++b) {
                // The circle method: player n fixed, the others turned one place a round.
                const auto seat = [&](int k) { return (r + k) % (n - 1) + 1; };
                int a = b == 0 ? n : seat(b);
                int d = b == 0 ? seat(0) : seat(n - 1 - b);
                if ((b == 0 && r % 2 == 1) || (b > 0 && b % 2 == 1))
                    std::swap(a, d);
                if (c == 1)
                    std::swap(a, d);
                RoundRobinGame g;
                g.white = nameOf(a);
                g.black = nameOf(d);
                const int roundNumber = c * roundsPerCycle + r + 1;
                const bool byeGame = a > players || d > players;
                QString code;
                if (byeGame) {
                    // The bye brings its point, a withdrawn player's too: TRF has no
                    // code for a pairing bye without it.
                    g.applyEntry(a > players ? GameResult::ForfeitLoss : GameResult::ForfeitWin);
                } else if ((a == withdrawer || d == withdrawer) && roundNumber >= withdrawFrom) {
                    g.applyEntry(a == withdrawer ? GameResult::ForfeitLoss
                                                 : GameResult::ForfeitWin);
                } else if (uniform(0, 99) < forfeitRate) {
                    const int which = uniform(0, 2);
                    g.applyEntry(which == 0   ? GameResult::ForfeitWin
                                 : which == 1 ? GameResult::ForfeitLoss
                                              : GameResult::DoubleForfeitInFile);
                } else {
                    const int x = uniform(0, 99);
                    g.applyEntry(x < drawRate                          ? GameResult::Draw
                                 : x < drawRate + (100 - drawRate) / 2 ? GameResult::Win
                                                                       : GameResult::Loss);
                }
                round.append(g);
            }
        }
    }
    return t;
}

// The round-robin as a TRF for the reference: a game against the bye row is the
// pairing-allocated bye "U" (with the points recorded) or a zero "Z".
QByteArray roundRobinTrf(const RoundRobinTournament& t, const TieBreakField& field) {
    const QDate start = QDate::fromString(t.state.startDate, QStringLiteral("dd.MM.yyyy"));
    QByteArray out =
        "012 round-robin\n042 " + start.toString(QStringLiteral("yyyy/MM/dd")).toLatin1() + "\n";
    out += "142 " + QByteArray::number(t.roundCount()) + "\n";
    const RoundRobinStandings standings = computeStandings(t);
    // The scheduled colour of every player and round (names are unique here).
    std::vector<char> scheduled(field.players.size() * std::size_t(t.roundCount()), '-');
    for (int r = 0; r < t.roundCount(); ++r) {
        for (const RoundRobinGame& g : t.games.at(r)) {
            for (std::size_t k = 0; k < field.players.size(); ++k) {
                if (t.participants.at(qsizetype(k)).name == g.white)
                    scheduled[k * std::size_t(t.roundCount()) + std::size_t(r)] = 'w';
                if (t.participants.at(qsizetype(k)).name == g.black)
                    scheduled[k * std::size_t(t.roundCount()) + std::size_t(r)] = 'b';
            }
        }
    }
    for (const TieBreakPlayer& p : field.players) {
        if (p.bye)
            continue;
        char head[128];
        std::snprintf(head, sizeof head, "001 %4d m    %-33s %4d %3s %11s %10s %4.1f %4d", p.number,
                      QStringLiteral("Player %1").arg(p.number).toLatin1().constData(), p.rating,
                      "FID", "", "", double(standings.rows.at(p.number - 1).points), p.number);
        QByteArray line = head;
        int round = 0;
        for (const TieBreakRound& r : p.rounds) {
            const char colourScheduled =
                scheduled[std::size_t(p.number - 1) * std::size_t(t.roundCount()) +
                          std::size_t(round++)];
            char cell[32];
            char code = '?';
            int opponent = r.opponent + 1;
            char colour = r.colour ? r.colour : '-';
            switch (r.kind) {
            case TieBreakRoundKind::Played:
                code = r.halves == 2 ? '1' : r.halves == 1 ? '=' : '0';
                break;
            case TieBreakRoundKind::ForfeitWin:
                code = '+';
                break;
            case TieBreakRoundKind::ForfeitLoss:
                code = '-';
                break;
            case TieBreakRoundKind::PairingBye:
                opponent = 0;
                colour = '-';
                code = r.halves == 2 ? 'U' : r.halves == 1 ? 'H' : 'Z';
                break;
            default:
                opponent = 0;
                colour = '-';
                code = 'Z';
            }
            // A forfeit carries the colour it was scheduled with.
            if (r.kind == TieBreakRoundKind::ForfeitWin || r.kind == TieBreakRoundKind::ForfeitLoss)
                colour = colourScheduled;
            std::snprintf(cell, sizeof cell, "  %4d %c %c", opponent, colour, code);
            if (opponent == 0)
                std::snprintf(cell, sizeof cell, "  0000 %c %c", colour, code);
            line += cell;
        }
        out += line + "\n";
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return fail(
            QStringLiteral("usage: tiebreak_compare swiss|trf FILE LIST... | rr SEED OUT LIST..."));
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const int listStart = mode == QStringLiteral("rr") ? 4 : 3;
    QStringList names;
    for (int k = listStart; k < argc; ++k)
        names.append(QString::fromLocal8Bit(argv[k]));
    const Result<TieBreakList> list = parseTieBreakList(names.join(u','));
    if (!list)
        return fail(list.failure().text);
    if (mode == QStringLiteral("rr")) {
        const RoundRobinTournament t = makeRoundRobin(unsigned(std::stoul(argv[2])));
        const TieBreakField field = roundRobinTieBreakField(t);
        QFile out(QString::fromLocal8Bit(argv[3]));
        if (!out.open(QIODevice::WriteOnly))
            return fail(QStringLiteral("cannot write %1").arg(out.fileName()));
        out.write(roundRobinTrf(t, field));
        out.close();
        print(field, *list, names);
        return 0;
    }
    QFile in(QString::fromLocal8Bit(argv[2]));
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(in.fileName()));
    const QByteArray text = in.readAll();
    if (mode == QStringLiteral("swiss")) {
        const Result<TrfImported> imported = trfImportSwiss(text, TrfLimits::Format);
        if (!imported)
            return fail(imported.failure().text);
        print(swissTieBreakField(imported->tournament), *list, names);
        return 0;
    }
    Result<TieBreakField> field = readTrf(text);
    field->roundRobin = mode == QStringLiteral("trf-rr");
    print(*field, *list, names);
    return 0;
}
