#include "exchange/trf.h"

#include "common/text_file.h"
#include "common/tournament_creation.h"
#include "roundrobin/round_robin_standings.h"
#include "roundrobin/round_robin_tiebreaks.h"
#include "scoring/tiebreaks.h"
#include "swiss/swiss_acceleration.h"
#include "swiss/swiss_tiebreaks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <algorithm>

namespace ladya {

namespace {

// 192: the Dutch system with Baku acceleration.
const QByteArray BakuType = QByteArrayLiteral("FIDE_DUTCH_2025_BAKU");

// One round of a player line. A blank block (no game, or a game without a result) has
// opponent 0 and blanks for colour and result.
struct Block {
    int opponent = 0;
    char colour = ' ';
    char result = ' ';
};

struct Player {
    const Participant* participant = nullptr;
    int rating = 0;
    int rank = 0;
    QVector<Block> blocks;
};

struct Header {
    QString name;
    QString city;
    QString startDate;
    QString endDate;
    QString type;
    int rounds = 0;              // XXR; 0: nothing to announce, no record
    QVector<QByteArray> records; // the records after XXR (192, 250, 240, 260, 202, 212)
};

// Points in halves, so that the sum is exact.
int halvesOf(char result) {
    switch (result) {
    case '1':
    case '+':
    case 'U':
    case 'F':
        return 2;
    case '=':
    case 'H':
        return 1;
    default:
        return 0;
    }
}

// A game's code from the player's side; blank for an unplayed game.
char gameResult(const QString& code) {
    switch (codeByte(code)) {
    case '1':
        return '1';
    case '0':
        return '0';
    case '%':
        return '=';
    case '+':
        return '+';
    case '-':
        return '-';
    default:
        return ' ';
    }
}

// A game against the bye participant, by what it brought the player.
Block byeBlock(const QString& code) {
    switch (codeByte(code)) {
    case '1':
    case '+':
        return {0, '-', 'U'};
    case '%':
        return {0, '-', 'H'};
    case '0':
    case '-':
        return {0, '-', 'Z'};
    default:
        return {};
    }
}

// A round sat out: no opponent, the absence's letter.
Block absenceBlock(Absence kind) {
    return {0, '-', char(kind)};
}

Block gameBlock(int opponent, bool white, const QString& code) {
    const char result = gameResult(code);
    if (result == ' ')
        return {};
    return {opponent, white ? 'w' : 'b', result};
}

// "dd.MM.yyyy" as TRF writes dates; any other text as it stands.
QString trfDate(const QString& date) {
    const QDate d = parseDate(date);
    return d.isValid() ? d.toString(QStringLiteral("yyyy/MM/dd")) : date;
}

QByteArray rightAligned(const QByteArray& text, int width) {
    return text.rightJustified(width, ' ', true);
}

QByteArray number(int value, int width) {
    return rightAligned(value > 0 ? QByteArray::number(value) : QByteArray(), width);
}

// The name in Latin letters: pairing programs refuse a player line with any other
// byte, and the rating officers' lists spell names so. Russian letters as passports
// spell them; accents dropped; any other character "?".
QByteArray latinName(const QString& name) {
    static const char* const russian[] = {
        "A", "B", "V", "G", "D", "E",  "ZH", "Z",  "I",  "Y",    "K",  "L", "M", "N", "O",  "P",
        "R", "S", "T", "U", "F", "KH", "TS", "CH", "SH", "SHCH", "IE", "Y", "",  "E", "YU", "YA"};
    QByteArray out;
    for (const QChar c : name.normalized(QString::NormalizationForm_D)) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out += char(u);
        } else if (u >= 0x410 && u <= 0x44F) {
            out += russian[(u - 0x410) % 32];
        } else if (u == 0x401 || u == 0x451) {
            out += 'E';
        } else if (c.category() != QChar::Mark_NonSpacing) {
            out += '?';
        }
    }
    return out;
}

// The name in its 33 columns.
QByteArray nameField(const QString& name) {
    return latinName(name).leftJustified(33, ' ', true);
}

// What the player line cannot carry, for the program's own import: the name as
// written, the category and the city, in a comment line every reader skips.
const QByteArray OwnRecord = "### Ladya ";

int halvesOf(const Player& p) {
    int halves = 0;
    for (const Block& b : p.blocks)
        halves += halvesOf(b.result);
    return halves;
}

// The Swiss standings order points first and Buchholz second, as the file can show
// them: Buchholz over the games it holds, so that the ranks read back the same from
// the file, whose blanks have lost the pairing of a game not yet played. Players equal
// in both share a rank, as the format allows, rather than take the order of the
// window's exchanges.
void rankByPointsAndBuchholz(QVector<Player>& players) {
    QVector<int> halves(players.size());
    for (int k = 0; k < players.size(); ++k)
        halves[k] = halvesOf(players[k]);
    QVector<int> buchholz(players.size(), 0);
    for (int k = 0; k < players.size(); ++k) {
        for (const Block& b : players[k].blocks) {
            if (b.opponent > 0)
                buchholz[k] += halves[b.opponent - 1];
        }
    }
    for (int k = 0; k < players.size(); ++k) {
        int better = 0;
        for (int j = 0; j < players.size(); ++j) {
            if (halves[j] > halves[k] || (halves[j] == halves[k] && buchholz[j] > buchholz[k]))
                ++better;
        }
        players[k].rank = better + 1;
    }
}

QByteArray playerLine(int startRank, const Player& p) {
    const int halves = halvesOf(p);
    QByteArray line = "001 " + number(startRank, 4) + "      " + nameField(p.participant->name) +
                      ' ' + number(p.rating, 4) + ' ' + QByteArray(3 + 1 + 11 + 1 + 10, ' ') + ' ' +
                      rightAligned(formatFixed(halves / 2.0, 1).toLatin1(), 4) + ' ' +
                      number(p.rank, 4);
    for (const Block& b : p.blocks) {
        line += "  ";
        if (b.result == ' ') {
            line += QByteArray(8, ' ');
            continue;
        }
        line += b.opponent > 0 ? number(b.opponent, 4).replace(' ', '0') : QByteArray("0000");
        line += ' ';
        line += b.colour;
        line += ' ';
        line += b.result;
    }
    while (line.endsWith(' '))
        line.chop(1);
    return line;
}

QByteArray trfText(const Header& h, const QVector<Player>& players) {
    QByteArray out;
    const auto record = [&out](const char* tag, const QString& value) {
        out += tag;
        out += ' ';
        out += value.toUtf8();
        out += "\r\n";
    };
    record("012", h.name);
    if (!h.city.isEmpty())
        record("022", h.city);
    record("042", trfDate(h.startDate));
    if (!h.endDate.isEmpty())
        record("052", trfDate(h.endDate));
    record("062", QString::number(players.size()));
    record("092", h.type);
    // The reference engine refuses "XXR 0": with nothing to announce there is no record.
    if (h.rounds > 0)
        record("XXR", QString::number(h.rounds));
    for (const QByteArray& line : h.records)
        out += line + "\r\n";
    for (int i = 0; i < players.size(); ++i) {
        const Participant& p = *players[i].participant;
        out += playerLine(i + 1, players[i]) + "\r\n" + OwnRecord + number(i + 1, 4) + '|' +
               QStringList{p.name, p.category, p.city}.join(u'|').toUtf8() + "\r\n";
    }
    return out;
}

// The chosen tie-break list as 202 and 212 write it: the codes comma-separated, a
// modifier after "/" ("BH/C1,BH,SB,DE"), 212 the same after "PTS"; nothing without a
// list, so that such a tournament's file stays as it always was.
QVector<QByteArray> tieBreakRecords(const TieBreakList& list) {
    if (list.empty())
        return {};
    const QByteArray text = tieBreakListText(list).toUtf8();
    return {"202 " + text, "212 PTS," + text};
}

// The list a tournament keeps, as loading has checked it.
TieBreakList storedTieBreaks(const QString& text) {
    const Result<TieBreakList> list = parseTieBreakList(text);
    return list ? *list : TieBreakList();
}

// With a list the rank is the place the list gives, players equal on points and every
// tie-break sharing one: `startRank` maps each participant (by number, from 1) to its
// player line (0 for the bye).
void rankByList(QVector<Player>& players, const QVector<int>& startRank, const TieBreakField& field,
                const TieBreakList& list) {
    const TieBreakRanking ranking = rankByTieBreaks(field, list);
    for (const int index : ranking.order) {
        if (index + 1 < startRank.size() && startRank[index + 1] > 0)
            players[startRank[index + 1] - 1].rank = ranking.firstPlace[std::size_t(index)];
    }
}

// The players' one city, when they all have the same.
QString commonCity(const QVector<const Participant*>& players) {
    QString city;
    for (const Participant* p : players) {
        if (p->city.isEmpty() || (!city.isEmpty() && p->city != city))
            return QString();
        city = p->city;
    }
    return city;
}

} // namespace

QString trfTournamentName(const QString& tournamentPath) {
    return tournamentNameOfFile(tournamentPath);
}

QString trfPathBeside(const QString& tournamentPath, const QString& workingDir) {
    const QFileInfo file(QDir(workingDir).filePath(tournamentPath));
    return file.dir().filePath(file.completeBaseName() + QStringLiteral(".trf"));
}

TrfWritten writeTrfFile(const QString& path, const QByteArray& bytes) {
    const Result<> written = writeFileAtomic(path, bytes);
    if (!written)
        return {false,
                {QStringLiteral("Ошибка создания файла"),
                 QStringLiteral("Не удалось записать файл %1\n%2")
                     .arg(QDir::toNativeSeparators(path), written.failure().text)}};
    return {true,
            {TrfTexts::ExportButton, QStringLiteral("Турнир записан в формате TRF в файл\n%1")
                                         .arg(QDir::toNativeSeparators(path))}};
}

Message exportTrfBeside(const RoundRobinTournament& tournament, const QString& workingDir) {
    return writeTrfFile(trfPathBeside(tournament.state.path, workingDir), trfExport(tournament))
        .message;
}

Message exportTrfBeside(const SwissTournament& tournament, const QString& workingDir) {
    return writeTrfFile(trfPathBeside(tournament.state.path, workingDir), trfExport(tournament))
        .message;
}

QByteArray trfExport(const RoundRobinTournament& t) {
    const int n = t.participantCount();
    // Start ranks count the players only.
    QVector<int> startRank(n, 0);
    QVector<const Participant*> real;
    for (int k = 0; k < n; ++k) {
        if (!isByeRow(t.participants[k])) {
            real.append(&t.participants[k]);
            startRank[k] = int(real.size());
        }
    }
    QVector<Player> players(real.size());
    for (int k = 0; k < n; ++k) {
        if (startRank[k] > 0) {
            Player& p = players[startRank[k] - 1];
            p.participant = &t.participants[k];
            p.rating = parseLenientInt(t.participants[k].rating);
            p.blocks.resize(t.roundCount());
        }
    }
    const GameLinks links = linkGames(t);
    const int boards = t.boardCount();
    for (int r = 0; r < t.roundCount(); ++r) {
        for (int b = 0; b < boards && r * boards + b < links.games.size(); ++b) {
            const GameLinks::Game& g = links.games[r * boards + b];
            const RoundRobinGame& game = t.games[r][b];
            const int white = g.white >= 0 ? startRank[g.white] : -1;
            const int black = g.black >= 0 ? startRank[g.black] : -1;
            // A name no row bears (a hand-edited file) leaves its games out.
            if (white > 0 && black == 0)
                players[white - 1].blocks[r] = byeBlock(game.result);
            else if (white > 0 && black > 0)
                players[white - 1].blocks[r] = gameBlock(black, true, game.result);
            if (black > 0 && white == 0)
                players[black - 1].blocks[r] = byeBlock(game.mirrorResult);
            else if (black > 0 && white > 0)
                players[black - 1].blocks[r] = gameBlock(white, false, game.mirrorResult);
        }
    }
    const TieBreakList list = storedTieBreaks(t.tieBreaks);
    if (list.empty()) {
        RoundRobinStandings standings = computeStandings(t, links);
        orderPlaces(standings);
        int rank = 0;
        for (int number : standings.placeOrder) {
            if (startRank[number - 1] > 0)
                players[startRank[number - 1] - 1].rank = ++rank;
        }
    } else {
        // Numbered from 1 like a Swiss's participants.
        QVector<int> byNumber(n + 1, 0);
        for (int k = 0; k < n; ++k)
            byNumber[k + 1] = startRank[k];
        rankByList(players, byNumber, roundRobinTieBreakField(t), list);
    }
    Header h;
    h.name = trfTournamentName(t.state.path);
    h.city = commonCity(real);
    h.startDate = t.state.startDate;
    h.endDate = t.state.endDate;
    h.type = t.state.kind == TournamentKind::TwoCycles ? QStringLiteral("Double Round Robin")
                                                       : QStringLiteral("Round Robin");
    h.rounds = t.roundCount();
    h.records = tieBreakRecords(list);
    return trfText(h, players);
}

namespace {

// "240 T RRR PPPP PPPP ...": who sits out a round not yet paired, by kind and round. The
// next round's field is announced whole (requested byes, withdrawals, late entries); the
// rounds after it by their requested byes.
// "260 RR1 RRL PPPP PPPP": a forbidden pair, one record each, a pair for the whole
// tournament written for rounds 1 to the planned rounds (999 when not known).
QVector<QByteArray> swissRecords(const SwissTournament& t, const QVector<int>& startRank,
                                 int plannedRounds) {
    QVector<QByteArray> out;
    const int next = t.roundCount() + 1;
    const auto ranked = [&](int participant) {
        return t.hasParticipant(participant) ? startRank[participant] : 0;
    };
    const auto byeRecord = [&](Absence kind, int round, const QVector<int>& ranks) {
        QByteArray line = "240 " + QByteArray(1, char(kind)) + ' ' + number(round, 3);
        for (int rank : ranks)
            line += ' ' + number(rank, 4);
        out.append(line);
    };
    int lastRound = next;
    for (const RequestedBye& b : t.extras.byes)
        lastRound = std::max(lastRound, b.round);
    // Nothing is announced for a round the tournament will not have: after the last
    // planned round, or once it is finished.
    if (plannedRounds > 0)
        lastRound = std::min(lastRound, plannedRounds);
    if (t.isFinished())
        lastRound = 0;
    for (int round = next; round <= lastRound; ++round) {
        for (Absence kind : {Absence::HalfBye, Absence::FullBye, Absence::ZeroBye}) {
            QVector<int> ranks;
            for (int k = 1; k <= t.participantCount(); ++k) {
                const bool requested = std::any_of(
                    t.extras.byes.begin(), t.extras.byes.end(),
                    [&](const RequestedBye& b) { return b.participant == k && b.round == round; });
                if (ranked(k) > 0 && (round == next || requested) &&
                    t.extras.absence(k, round) == kind)
                    ranks.append(ranked(k));
            }
            if (!ranks.isEmpty())
                byeRecord(kind, round, ranks);
        }
    }
    for (const ForbiddenPair& f : t.extras.forbidden) {
        if (ranked(f.first) == 0 || ranked(f.second) == 0)
            continue;
        const int last = f.toRound > 0 ? f.toRound : plannedRounds > 0 ? plannedRounds : 999;
        out.append("260 " + number(f.fromRound, 3) + ' ' + number(last, 3) + ' ' +
                   number(ranked(f.first), 4) + ' ' + number(ranked(f.second), 4));
    }
    return out;
}

// An accelerated tournament names its method in 192 and its virtual points in 250
// records: "250 MMMM GGGG RRF RRL PPPF PPPL", match points blank in an individual
// tournament, one record for the rounds of a whole point, one for those of a half.
QVector<QByteArray> accelerationRecords(const SwissTournament& t, const QVector<int>& startRank) {
    if (!t.extras.acceleration.baku)
        return {};
    QVector<QByteArray> out{QByteArrayLiteral("192 ") + BakuType};
    int lastRank = 0;
    for (int k = 1; k <= std::min(bakuLastGa(t), t.participantCount()); ++k)
        lastRank = std::max(lastRank, startRank[k]);
    const int planned = t.extras.plannedRounds;
    const int full = bakuFullPointRounds(planned);
    const int accelerated = bakuAcceleratedRounds(planned);
    const auto record = [&](const char* points, int first, int last) {
        if (lastRank > 0 && first <= last)
            out.append(QByteArray("250      ") + points + ' ' + number(first, 3).replace(' ', '0') +
                       ' ' + number(last, 3).replace(' ', '0') + " 0001 " +
                       number(lastRank, 4).replace(' ', '0'));
    };
    record(" 1.0", 1, full);
    record(" 0.5", full + 1, accelerated);
    return out;
}

} // namespace

QByteArray trfExport(const SwissTournament& t, int plannedRounds) {
    const int n = t.participantCount();
    const int bye = t.byeNumber;
    QVector<int> startRank(n + 1, 0);
    QVector<const Participant*> real;
    for (int k = 1; k <= n; ++k) {
        if (k != bye) {
            real.append(&t.participant(k));
            startRank[k] = int(real.size());
        }
    }
    QVector<Player> players(real.size());
    for (int k = 1; k <= n; ++k) {
        if (startRank[k] > 0) {
            Player& p = players[startRank[k] - 1];
            p.participant = &t.participant(k);
            p.rating = parseLenientInt(t.participant(k).rating);
            p.blocks.resize(t.roundCount());
        }
    }
    for (int r = 0; r < t.roundCount(); ++r) {
        QVector<bool> seen(n + 1, false);
        for (const SwissGame& g : t.rounds[r]) {
            const bool whiteIn = t.hasParticipant(g.white) && !seen[g.white];
            const bool blackIn = t.hasParticipant(g.black) && !seen[g.black] && g.black != g.white;
            if (whiteIn && startRank[g.white] > 0) {
                players[startRank[g.white] - 1].blocks[r] =
                    bye > 0 && g.black == bye ? byeBlock(g.whiteResult)
                    : blackIn                 ? gameBlock(startRank[g.black], true, g.whiteResult)
                                              : Block{};
            }
            if (blackIn && startRank[g.black] > 0) {
                players[startRank[g.black] - 1].blocks[r] =
                    bye > 0 && g.white == bye ? byeBlock(g.blackResult)
                    : whiteIn                 ? gameBlock(startRank[g.white], false, g.blackResult)
                                              : Block{};
            }
            if (whiteIn)
                seen[g.white] = true;
            if (blackIn)
                seen[g.black] = true;
        }
        for (int k = 1; k <= n; ++k) {
            if (startRank[k] == 0 || seen[k])
                continue;
            if (const std::optional<Absence> kind = t.extras.absence(k, r + 1))
                players[startRank[k] - 1].blocks[r] = absenceBlock(*kind);
        }
    }
    const TieBreakList list = storedTieBreaks(t.extras.tieBreaks);
    if (list.empty())
        rankByPointsAndBuchholz(players);
    else
        rankByList(players, startRank, swissTieBreakField(t), list);
    Header h;
    h.name = trfTournamentName(t.state.path);
    h.city = commonCity(real);
    h.startDate = t.state.startDate;
    h.endDate = t.state.endDate;
    h.type = QStringLiteral("Swiss System");
    h.rounds = std::max({plannedRounds, t.extras.plannedRounds, t.roundCount()});
    h.records = accelerationRecords(t, startRank) +
                swissRecords(t, startRank, std::max(plannedRounds, t.extras.plannedRounds)) +
                tieBreakRecords(list);
    return trfText(h, players);
}

// ---- import ----

namespace {

Message refusal(const QString& text) {
    return {QStringLiteral("Ошибка импорта TRF"), text};
}

Message lineRefusal(int line, const QString& text) {
    return refusal(QStringLiteral("Строка %1: %2").arg(QString::number(line), text));
}

// Bytes [from, from + size) of the line, blanks trimmed; "" past its end.
QByteArray field(QByteArrayView line, qsizetype from, qsizetype size) {
    if (from >= line.size())
        return QByteArray();
    return line.sliced(from, qMin(size, line.size() - from)).trimmed().toByteArray();
}

std::optional<int> plainNumber(const QByteArray& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0 || text.startsWith('+') || text.startsWith('-'))
        return std::nullopt;
    return value;
}

// Points as "11.5": a whole number of halves.
std::optional<int> pointsInHalves(const QByteArray& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,3})(?:\\.([05]))?$"));
    const QRegularExpressionMatch m = pattern.match(QString::fromLatin1(text));
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toInt() * 2 + (m.captured(2) == QStringLiteral("5") ? 1 : 0);
}

// A date of 042/052 as the tournament file keeps it: TRF's yyyy/MM/dd, and the forms
// other programs write.
std::optional<QString> fileDate(const QString& text) {
    for (const QString& format : {QStringLiteral("yyyy/MM/dd"), QStringLiteral("yyyy-MM-dd"),
                                  QStringLiteral("yyyy.MM.dd"), QStringLiteral("dd.MM.yyyy")}) {
        const QDate d = QDate::fromString(text, format);
        if (d.isValid())
            return formatDate(d);
    }
    return std::nullopt;
}

bool beyondBasicPlane(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); });
}

struct ReadPlayer {
    int line = 0;
    QString name;
    QString category;
    QString city;
    int rating = 0;
    int halves = 0;
    QVector<Block> blocks;
};

// The game codes of a pair of TRF results, White's side first; nothing when the two
// results do not make one game.
std::optional<std::pair<QString, QString>> gameCodes(char mine, char theirs) {
    const auto code = [](char c) {
        switch (c) {
        case '=':
            return QStringLiteral("%");
        case ' ':
            return QString();
        default:
            return QString(QLatin1Char(c));
        }
    };
    static const char* const games[] = {"10", "01", "==", "+-", "-+", "--", "  "};
    for (const char* g : games) {
        if (g[0] == mine && g[1] == theirs)
            return std::pair{code(mine), code(theirs)};
    }
    return std::nullopt;
}

// A player's virtual points in one round, as a 250 or XXA record gives them.
struct VirtualPoints {
    int line = 0;
    int player = 0;
    int round = 0;
    int halves = 0;
};

// The acceleration the records describe, into the tournament's extras. Only Baku
// acceleration is held: virtual points are taken for it when GA's players (1 to the
// last with points in round 1) have exactly its points in every round and nobody else
// has any; anything else is refused naming the line. A 192 naming it without virtual
// points leaves GA to the players of round 1.
std::optional<Message> readAcceleration(SwissTournament& t, const QVector<VirtualPoints>& given,
                                        int bakuLine) {
    const auto fault = [](int line, const QString& text) { return lineRefusal(line, text); };
    const auto tr = [](const char* text) { return QCoreApplication::translate("TrfImport", text); };
    const int planned = t.extras.plannedRounds;
    const auto firstNonZero = std::find_if(given.begin(), given.end(),
                                           [](const VirtualPoints& v) { return v.halves > 0; });
    if (firstNonZero == given.end()) {
        if (bakuLine == 0)
            return std::nullopt;
        if (planned == 0)
            return fault(bakuLine, tr("для ускорения по Баку нужно число туров (XXR или 142)"));
        t.extras.acceleration = {true, 0};
        fixBakuGroups(t);
        return std::nullopt;
    }
    if (planned == 0)
        return fault(firstNonZero->line,
                     tr("для ускорения по Баку нужно число туров (XXR или 142)"));
    const int players = t.participantCount() - (t.byeNumber > 0 ? 1 : 0);
    int lastGa = 0;
    for (const VirtualPoints& v : given)
        if (v.round == 1 && v.halves > 0)
            lastGa = std::max(lastGa, v.player);
    QHash<std::pair<int, int>, int> seen; // (player, round) -> halves
    for (const VirtualPoints& v : given) {
        if (v.player > players)
            return fault(v.line, tr("нет участника с номером %1").arg(v.player));
        const auto before = seen.constFind({v.player, v.round});
        if (before != seen.constEnd() && *before != v.halves)
            return fault(v.line, tr("участнику %1 в туре %2 виртуальные очки даны дважды")
                                     .arg(QString::number(v.player), QString::number(v.round)));
        seen.insert({v.player, v.round}, v.halves);
        const int expected = v.player <= lastGa ? bakuGaHalves(planned, v.round) : 0;
        if (v.halves != expected)
            return fault(v.line,
                         tr("виртуальные очки участника %1 в туре %2 (%3) не те, что даёт "
                            "ускорение по Баку (%4)")
                             .arg(QString::number(v.player), QString::number(v.round),
                                  formatFixed(v.halves / 2.0, 1), formatFixed(expected / 2.0, 1)));
    }
    for (int p = 1; p <= lastGa; ++p)
        for (int r = 1; r <= bakuAcceleratedRounds(planned); ++r)
            if (!seen.contains({p, r}))
                return fault(firstNonZero->line,
                             tr("участнику %1 в туре %2 не даны виртуальные очки ускорения по Баку")
                                 .arg(QString::number(p), QString::number(r)));
    t.extras.acceleration = {true, lastGa};
    return std::nullopt;
}

} // namespace

Result<TrfImported> trfImportSwiss(QByteArrayView text, TrfLimits limits) {
    TrfImported result;
    const bool fileLimits = limits == TrfLimits::TournamentFile;
    // The start rank has four digits; a round number of 240 has three.
    const int maxPlayers = fileLimits ? Limits::SwissParticipants : 9999;
    const int maxRounds = fileLimits ? Limits::SwissRounds : 999;
    const auto refuse = [](const Message& m) { return Result<TrfImported>(m); };
    // What the program keeps must load again: a .swz is UTF-8 text, and a name of
    // another encoding's bytes (or with a NUL) would make the new file unreadable.
    if (const qsizetype bad = firstUndecodableLine(text))
        return refuse(lineRefusal(int(bad), QStringLiteral("текст не в кодировке UTF-8 (файл "
                                                           "другой программы или повреждён)")));
    LineReader reader(text);
    QString startDate;
    QString endDate;
    int endDateLine = 0;
    QString city;
    QVector<ReadPlayer> read;
    struct Own {
        int line = 0;
        QStringList fields; // name, category, city
    };
    QHash<int, Own> own; // by start rank
    // 240 records, kept until the rounds are known: only those for rounds not yet
    // paired are requested byes (a paired round's player line says it all).
    struct Announced {
        int line = 0;
        RequestedBye bye;
    };
    QVector<Announced> announced;
    QVector<std::pair<int, ForbiddenPair>> forbidden; // with the record's line
    int announcedRounds = 0;                          // 142, when there is no XXR
    // Virtual points of 250 and XXA records, and the 192 line that names Baku
    // acceleration.
    QVector<VirtualPoints> virtualPoints;
    int bakuLine = 0;
    // The tie-break lists of 202 and 212 (202 counts when both are there).
    QString tieBreaks202;
    QString tieBreaks212;
    int lineNumber = 0;
    int playerLines = 0;
    while (!reader.atEnd()) {
        const QByteArrayView line = reader.next();
        ++lineNumber;
        if (line.startsWith(OwnRecord)) {
            const QStringList f = QString::fromUtf8(line.sliced(OwnRecord.size())).split(u'|');
            const int rank = plainNumber(f.value(0).trimmed().toLatin1()).value_or(0);
            const bool fits = std::none_of(f.begin(), f.end(), [](const QString& value) {
                return hasFieldBreakingCharacter(value) || beyondBasicPlane(value);
            });
            if (f.size() != 4 || rank == 0 || !fits || f[1] == ByeText ||
                !(f[2].isEmpty() || Categories.contains(f[2])))
                return refuse(
                    lineRefusal(lineNumber, QStringLiteral("запись участника не читается")));
            own.insert(rank, {lineNumber, f.mid(1)});
            continue;
        }
        const QByteArrayView tag = line.first(qMin<qsizetype>(3, line.size()));
        const QString value =
            QString::fromUtf8(line.size() > 4 ? line.sliced(4) : QByteArrayView()).trimmed();
        if (tag == "012") {
            result.name = value;
        } else if (tag == "022") {
            // Every player's city in the tournament file, and in its own record on export.
            if (hasFieldBreakingCharacter(value) || beyondBasicPlane(value))
                return refuse(lineRefusal(
                    lineNumber,
                    QStringLiteral("город «%1» не может быть записан в файл турнира").arg(value)));
            city = value;
        } else if (tag == "XXR") {
            result.plannedRounds = plainNumber(value.toLatin1()).value_or(0);
        } else if (tag == "042" || tag == "052") {
            const std::optional<QString> date = fileDate(value);
            if (!date && !(tag == "052" && value.isEmpty()))
                return refuse(lineRefusal(lineNumber, QStringLiteral("дата «%1» не читается "
                                                                     "(ожидается ГГГГ/ММ/ДД)")
                                                          .arg(value)));
            (tag == "042" ? startDate : endDate) = date.value_or(QString());
            if (tag == "052")
                endDateLine = lineNumber;
        } else if (tag == "142") {
            announcedRounds = plainNumber(value.toLatin1()).value_or(0);
        } else if (tag == "240") {
            const QByteArray kind = field(line, 4, 1).toUpper();
            const std::optional<int> round = plainNumber(field(line, 6, 3));
            if (kind.size() != 1 || !QByteArray("HZF").contains(kind) || !round || *round < 1 ||
                *round > maxRounds)
                return refuse(lineRefusal(lineNumber, QCoreApplication::translate(
                                                          "TrfImport", "запись 240 не читается")));
            for (qsizetype at = 10; at < line.size(); at += 5) {
                const std::optional<int> rank = plainNumber(field(line, at, 4));
                if (!rank || *rank == 0)
                    return refuse(lineRefusal(
                        lineNumber,
                        QCoreApplication::translate("TrfImport", "запись 240: номер участника "
                                                                 "не читается")));
                announced.append({lineNumber, {*rank, *round, Absence(kind.front())}});
            }
        } else if (tag == "260") {
            const std::optional<int> from = plainNumber(field(line, 4, 3));
            const std::optional<int> to = plainNumber(field(line, 8, 3));
            QVector<int> ranks;
            for (qsizetype at = 12; at < line.size(); at += 5) {
                const std::optional<int> rank = plainNumber(field(line, at, 4));
                if (!rank || *rank == 0) {
                    ranks.clear();
                    break;
                }
                ranks.append(*rank);
            }
            if (!from || !to || *from < 1 || *to < *from || ranks.size() < 2)
                return refuse(lineRefusal(lineNumber, QCoreApplication::translate(
                                                          "TrfImport", "запись 260 не читается")));
            // Every two players the record names must not meet.
            for (qsizetype i = 0; i < ranks.size(); ++i)
                for (qsizetype j = i + 1; j < ranks.size(); ++j)
                    forbidden.append({lineNumber, {ranks[i], ranks[j], *from, *to}});
        } else if (tag == "192") {
            if (value.toLatin1() == BakuType)
                bakuLine = lineNumber;
        } else if (tag == "250") {
            // "250 MMMM GGGG RRF RRL PPPF PPPL"
            const QByteArray match = field(line, 4, 4);
            const std::optional<int> halves = pointsInHalves(field(line, 9, 4));
            const std::optional<int> first = plainNumber(field(line, 14, 3));
            const std::optional<int> last = plainNumber(field(line, 18, 3));
            const std::optional<int> from = plainNumber(field(line, 22, 4));
            const std::optional<int> to = plainNumber(field(line, 27, 4));
            if (!(match.isEmpty() || pointsInHalves(match) == 0) || !halves || !first || !last ||
                !from || !to || *first < 1 || *last < *first || *last > maxRounds || *from < 1 ||
                *to < *from || *to > maxPlayers)
                return refuse(lineRefusal(lineNumber, QCoreApplication::translate(
                                                          "TrfImport", "запись 250 не читается")));
            for (int r = *first; r <= *last; ++r)
                for (int p = *from; p <= *to; ++p)
                    virtualPoints.append({lineNumber, p, r, *halves});
        } else if (tag == "XXA") {
            // "XXA NNNN pp.p pp.p ...": a player's virtual points, round by round.
            const QList<QByteArray> parts = line.sliced(3).toByteArray().simplified().split(' ');
            const std::optional<int> player = plainNumber(parts.value(0));
            if (!player || *player < 1 || *player > maxPlayers || parts.size() - 1 > maxRounds)
                return refuse(lineRefusal(lineNumber, QCoreApplication::translate(
                                                          "TrfImport", "запись XXA не читается")));
            for (qsizetype k = 1; k < parts.size(); ++k) {
                const std::optional<int> halves = pointsInHalves(parts[k]);
                if (!halves)
                    return refuse(lineRefusal(
                        lineNumber,
                        QCoreApplication::translate("TrfImport", "запись XXA не читается")));
                virtualPoints.append({lineNumber, *player, int(k), *halves});
            }
        } else if ((tag == "202" || tag == "212") && fileLimits) {
            // The tie-breaks the regulations announce; 212 is the same list after PTS.
            // A list the program cannot compute is refused like any other record it
            // cannot hold: imported without it, the standings would rank by another
            // order than the one announced, and nobody would notice.
            QStringList entries = value.split(u',');
            if (tag == "212" &&
                entries.first().trimmed().compare(QStringLiteral("PTS"), Qt::CaseInsensitive) == 0)
                entries.removeFirst();
            const Result<TieBreakList> list = parseTieBreakList(entries.join(u','));
            if (!list)
                return refuse(lineRefusal(
                    lineNumber,
                    QCoreApplication::translate("TrfImport", "список тай-брейков не читается: %1")
                        .arg(QString(list.failure().text).replace(u'\n', u' '))));
            (tag == "202" ? tieBreaks202 : tieBreaks212) = tieBreakListText(*list);
        } else if (tag == "299") {
            return refuse(lineRefusal(lineNumber, QStringLiteral("особое начисление очков в "
                                                                 "программе не предусмотрено")));
        } else if (tag == "001") {
            if (++playerLines > maxPlayers)
                return refuse(lineRefusal(lineNumber,
                                          QStringLiteral("участников больше %1").arg(maxPlayers)));
            ReadPlayer p;
            p.line = lineNumber;
            const std::optional<int> rank = plainNumber(field(line, 4, 4));
            if (!rank || *rank == 0)
                return refuse(lineRefusal(lineNumber, QStringLiteral("нет стартового номера")));
            p.name = QString::fromUtf8(field(line, 14, 33)).toUpper();
            if (fileLimits && (p.name == ByeText || hasFieldBreakingCharacter(p.name) ||
                               beyondBasicPlane(p.name)))
                return refuse(lineRefusal(
                    lineNumber,
                    QStringLiteral("имя «%1» не может быть записано в файл турнира").arg(p.name)));
            const QByteArray rating = field(line, 48, 4);
            const std::optional<int> ratingValue =
                rating.isEmpty() ? std::optional<int>(0) : plainNumber(rating);
            if (!ratingValue)
                return refuse(lineRefusal(
                    lineNumber, QStringLiteral("рейтинг «%1» не число").arg(QString(rating))));
            p.rating = *ratingValue;
            const std::optional<int> halves = pointsInHalves(field(line, 80, 4));
            if (!halves)
                return refuse(lineRefusal(
                    lineNumber,
                    QStringLiteral("очки «%1» не читаются").arg(QString(field(line, 80, 4)))));
            p.halves = *halves;
            for (qsizetype at = 91; at < line.size(); at += 10) {
                Block b;
                const QByteArray opponent = field(line, at, 4);
                const std::optional<int> o =
                    opponent.isEmpty() ? std::optional<int>(0) : plainNumber(opponent);
                if (!o)
                    return refuse(
                        lineRefusal(lineNumber, QStringLiteral("тур %1: соперник «%2» не число")
                                                    .arg(p.blocks.size() + 1)
                                                    .arg(QString(opponent))));
                b.opponent = *o;
                b.colour =
                    at + 5 < line.size() ? char(QChar::toLower(uint(uchar(line[at + 5])))) : ' ';
                b.result =
                    at + 7 < line.size() ? char(QChar::toUpper(uint(uchar(line[at + 7])))) : ' ';
                p.blocks.append(b);
            }
            while (!p.blocks.isEmpty() && p.blocks.last().opponent == 0 &&
                   p.blocks.last().result == ' ')
                p.blocks.removeLast();
            if (p.blocks.size() > maxRounds)
                return refuse(
                    lineRefusal(lineNumber, QStringLiteral("туров больше %1").arg(maxRounds)));
            if (*rank > maxPlayers)
                return refuse(lineRefusal(lineNumber,
                                          QStringLiteral("участников больше %1").arg(maxPlayers)));
            if (read.size() < *rank)
                read.resize(*rank);
            if (read[*rank - 1].line > 0)
                return refuse(lineRefusal(
                    lineNumber,
                    QStringLiteral("стартовый номер %1 уже занят (строка %2)")
                        .arg(QString::number(*rank), QString::number(read[*rank - 1].line))));
            read[*rank - 1] = p;
        }
    }
    if (read.isEmpty())
        return refuse(refusal(QStringLiteral("В файле нет ни одного участника (строк 001).")));
    for (int k = 0; k < read.size(); ++k) {
        if (read[k].line == 0)
            return refuse(refusal(
                QStringLiteral("В файле нет участника со стартовым номером %1.").arg(k + 1)));
    }
    if (startDate.isEmpty())
        return refuse(refusal(QStringLiteral("В файле нет даты начала турнира (строки 042).")));
    SwissTournament t;
    // Completion refuses an end before the start; a file must not bring one in either,
    // or the finished tournament would show a period that never was.
    if (!endDate.isEmpty() && parseDate(endDate) < parseDate(startDate))
        return refuse(lineRefusal(
            endDateLine,
            QCoreApplication::translate("TrfImport", "дата окончания %1 раньше даты начала %2")
                .arg(endDate, startDate)));

    const int players = int(read.size());
    int rounds = 0;
    for (const ReadPlayer& p : read)
        rounds = qMax(rounds, int(p.blocks.size()));
    // The bye participant fills an odd field, and takes a pairing-allocated bye (or the
    // odd one out of the players without a game) in a round whose field is even because
    // someone sat it out.
    bool needsBye = players % 2 == 1;
    for (int r = 0; r < rounds && !needsBye; ++r) {
        int blanks = 0;
        for (const ReadPlayer& p : read) {
            const Block b = r < p.blocks.size() ? p.blocks[r] : Block{};
            if (b.opponent == 0 && b.result == ' ')
                ++blanks;
            else if (b.opponent == 0 && QByteArray("U+-").contains(b.result))
                needsBye = true;
        }
        needsBye = needsBye || blanks % 2 == 1;
    }
    const int bye = needsBye ? players + 1 : 0;
    for (const Announced& a : announced) {
        if (a.bye.participant > players)
            return refuse(lineRefusal(
                a.line, QCoreApplication::translate("TrfImport", "нет участника с номером %1")
                            .arg(a.bye.participant)));
        if (a.bye.round > rounds)
            t.extras.byes.append(a.bye);
    }
    for (const auto& [line, f] : forbidden) {
        if (f.first > players || f.second > players || f.first == f.second)
            return refuse(lineRefusal(
                line, QCoreApplication::translate("TrfImport", "нет участника с номером %1")
                          .arg(std::max(f.first, f.second))));
        t.extras.forbidden.append(f);
    }

    t.state.kind = TournamentKind::Swiss;
    t.state.startDate = startDate;
    t.state.endDate = endDate;
    for (int k = 0; k < players; ++k) {
        ReadPlayer& p = read[k];
        p.city = city;
        // The program's own record of the player, unless the player line was changed since.
        const auto o = own.constFind(k + 1);
        if (o != own.constEnd() &&
            QString::fromLatin1(nameField(o->fields[0])).trimmed().toUpper() == p.name) {
            p.name = o->fields[0];
            p.category = o->fields[1];
            p.city = o->fields[2];
        }
        t.participants.append(
            {QString::number(k + 1), p.name, p.category, QString::number(p.rating), p.city});
    }
    if (bye > 0)
        t.participants.append(makeByeRow(bye));

    for (int r = 0; r < rounds; ++r) {
        QVector<SwissGame> games;
        QVector<SwissGame> byeGames;
        QVector<int> blank;
        int byeLine = 0;
        for (int k = 0; k < players; ++k) {
            const ReadPlayer& p = read[k];
            const Block b = r < p.blocks.size() ? p.blocks[r] : Block{};
            const auto refuseRound = [&](const QString& why) {
                return refuse(lineRefusal(
                    p.line, QStringLiteral("тур %1: %2").arg(QString::number(r + 1), why)));
            };
            if (b.opponent == 0) {
                QString code;
                switch (b.result) {
                case ' ':
                    blank.append(k + 1);
                    continue;
                case 'U':
                case '+':
                    code = GameResult::ForfeitWin;
                    break;
                case '-':
                    code = GameResult::ForfeitLoss;
                    break;
                case 'H':
                case 'Z':
                case 'F':
                    // Sat out: on no board, the absence kept with the tournament.
                    t.extras.byes.append({k + 1, r + 1, Absence(b.result)});
                    continue;
                default:
                    return refuseRound(QStringLiteral("результат «%1» без соперника в программе "
                                                      "не предусмотрен")
                                           .arg(QLatin1Char(b.result)));
                }
                if (byeLine > 0)
                    return refuseRound(
                        QStringLiteral("второй бай в туре (первый в строке %1)").arg(byeLine));
                byeLine = p.line;
                byeGames.append({k + 1, bye, code, GameResult::mirrorOf(code)});
                continue;
            }
            if (b.opponent > players || b.opponent == k + 1)
                return refuseRound(QStringLiteral("нет соперника с номером %1").arg(b.opponent));
            if (b.colour != 'w' && b.colour != 'b')
                return refuseRound(QStringLiteral("не указан цвет фигур"));
            if (!QByteArray("10=+- ").contains(b.result))
                return refuseRound(QStringLiteral("результат «%1» в программе не предусмотрен")
                                       .arg(QLatin1Char(b.result)));
            const ReadPlayer& q = read[b.opponent - 1];
            const Block o = r < q.blocks.size() ? q.blocks[r] : Block{};
            const std::optional<std::pair<QString, QString>> codes = gameCodes(b.result, o.result);
            if (o.opponent != k + 1 || o.colour == b.colour || !codes)
                return refuseRound(QStringLiteral("партия не сходится со строкой %1 (участник %2)")
                                       .arg(QString::number(q.line), QString::number(b.opponent)));
            // Each game is stored once, from the second of its two players.
            if (b.opponent > k + 1)
                continue;
            if (b.colour == 'w')
                games.append({k + 1, b.opponent, codes->first, codes->second});
            else
                games.append({b.opponent, k + 1, codes->second, codes->first});
        }
        // No game in the file: these meet each other in games still without a result, and
        // the bye participant takes one left over (unless the round's bye is given: then
        // that one sits on no board).
        if (blank.size() % 2 == 1) {
            if (byeGames.isEmpty())
                blank.append(bye);
            else
                blank.removeLast();
        }
        for (int i = 0; i + 1 < blank.size(); i += 2)
            (blank[i + 1] == bye ? byeGames : games).append({blank[i], blank[i + 1], {}, {}});
        std::sort(games.begin(), games.end(), [](const SwissGame& a, const SwissGame& b) {
            return qMin(a.white, a.black) < qMin(b.white, b.black);
        });
        // The spare boards of those who sat out stay empty, after the real ones.
        QVector<SwissGame> round = games + byeGames;
        round.resize(std::max<qsizetype>(round.size(), (players + (bye > 0)) / 2));
        t.rounds.append(round);
    }
    for (const ReadPlayer& p : read) {
        int halves = 0;
        for (const Block& b : p.blocks)
            halves += halvesOf(b.result);
        if (halves != p.halves)
            return refuse(lineRefusal(
                p.line, QStringLiteral("очки %1 не равны сумме результатов %2")
                            .arg(formatFixed(p.halves / 2.0, 1), formatFixed(halves / 2.0, 1))));
    }
    const int planned = result.plannedRounds > 0 ? result.plannedRounds : announcedRounds;
    result.plannedRounds = planned;
    t.extras.plannedRounds = planned >= rounds && planned <= maxRounds ? planned : 0;
    // A pair forbidden up to the planned last round (or the "999" of an unknown one)
    // holds for the whole tournament.
    for (ForbiddenPair& f : t.extras.forbidden) {
        if (f.toRound >= 999 || (planned > 0 && f.toRound == planned))
            f.toRound = 0;
    }
    t.extras.tieBreaks = tieBreaks202.isEmpty() ? tieBreaks212 : tieBreaks202;
    t.deriveCounts();
    if (const std::optional<Message> refused = readAcceleration(t, virtualPoints, bakuLine))
        return refuse(*refused);
    if (fileLimits && !swissFileText(t).readsBack)
        return refuse(refusal(QStringLiteral("Турнир не может быть записан в файл программы.")));
    result.tournament = std::move(t);
    return result;
}

namespace {

Result<TrfImported> importFile(const QString& trfPath) {
    QString error;
    const std::optional<QByteArray> bytes = readFileBytes(trfPath, &error);
    if (!bytes)
        return refusal(QStringLiteral("Не удалось прочитать файл %1\n%2")
                           .arg(QDir::toNativeSeparators(trfPath), error));
    return trfImportSwiss(*bytes);
}

} // namespace

Result<> importTrfFile(const QString& trfPath, const QString& swzPath) {
    Result<TrfImported> imported = importFile(trfPath);
    if (!imported)
        return imported.failure();
    if (QFileInfo::exists(swzPath))
        return refusal(QStringLiteral("Файл %1 уже существует: импорт не заменяет турнир.")
                           .arg(QDir::toNativeSeparators(swzPath)));
    imported->tournament.state.path = swzPath;
    return saveSwiss(imported->tournament, swzPath);
}

Result<QString> importTrfIntoFolder(const QString& trfPath, const QString& workingDir,
                                    const QDate& today, const TrfNameQuestion& askName) {
    Result<TrfImported> imported = importFile(trfPath);
    if (!imported)
        return imported.failure();
    QString name =
        imported->name.isEmpty() ? QFileInfo(trfPath).completeBaseName() : imported->name;
    for (;;) {
        Result<> named = fileNameCheck(name);
        const QString path =
            QDir(workingDir).filePath(tournamentFileName(name, today, QStringLiteral("swz")));
        if (named && QFileInfo::exists(path))
            named = tournamentExistsMessage(path);
        if (named) {
            imported->tournament.state.path = path;
            if (Result<> saved = saveSwiss(imported->tournament, path); !saved)
                return saved.failure();
            return path;
        }
        // The refusal asks for another name; without a way to give one it is the end.
        if (!askName)
            return named.failure();
        const Message& refused = named.failure();
        const Message question{
            refused.title, refused.text + u'\n' +
                               QCoreApplication::translate("TrfImport", "Новое название турнира:")};
        std::optional<QString> other = askName(question, name);
        if (!other)
            return QString();
        name = *other;
    }
}

} // namespace ladya
