#include "pairing/pairing_workbench.h"

#include "common/text_file.h"
#include "swiss/swiss_acceleration.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <utility>

namespace ladya {

QStringList PairRow::cells() const {
    return {QString::number(white), whitePoints, whiteName, blackName, blackPoints,
            QString::number(black)};
}

QStringList playerListTitles() {
    return {QStringLiteral("№"),   QStringLiteral("ФИО"),    QStringLiteral("Эло"),
            QStringLiteral("Оч"),  QStringLiteral("Бел"),    QStringLiteral("Чёр"),
            QStringLiteral("К.Б"), QStringLiteral("К.П"),    QStringLiteral("Сп"),
            QStringLiteral("Пд"),  QStringLiteral("Ср.Эло"), QStringLiteral("Соперники")};
}

QVector<int> playerListWidths() {
    return {30, 120, 40, 30, 30, 30, 30, 30, 30, 30, 40, 110};
}

PairingWorkbench::PairingWorkbench(SwissTournament tournament, SwissStandings standings)
    : m_tournament(std::move(tournament)), m_standings(std::move(standings)) {
    const int n = m_tournament.participantCount();
    m_pointsKey.reserve(n);
    m_balancedKey.reserve(n);
    for (int p = 1; p <= n; ++p) {
        const SwissFigures& f = m_standings.of(p);
        m_pointsKey.append(formatFixed(f.points, 1));
        m_balancedKey.append(formatFixed(double(f.points) + f.downFloat - f.upFloat, 1));
    }
}

PairRow PairingWorkbench::makePairRow(int white, int black) const {
    auto points = [&](int number) {
        return m_tournament.hasParticipant(number) ? pointsText(m_standings.of(number).points)
                                                   : QString();
    };
    // The bye row the commit is to add is named as it will be.
    auto name = [&](int number) {
        return !m_tournament.hasParticipant(number) && number == byeOpponent()
                   ? ByeText
                   : m_tournament.nameOf(number);
    };
    return {white, points(white), name(white), name(black), points(black), black};
}

bool PairingWorkbench::sitsOut(int number) const {
    return m_tournament.extras.absence(number, pairedRound()).has_value();
}

int PairingWorkbench::fieldSize() const {
    int size = 0;
    for (int p = 1; p <= m_tournament.participantCount(); ++p)
        size += p != m_tournament.byeNumber && !sitsOut(p);
    return size;
}

int PairingWorkbench::byeOpponent() const {
    if (m_tournament.byeNumber > 0)
        return m_tournament.byeNumber;
    return fieldSize() % 2 == 1 ? m_tournament.participantCount() + 1 : 0;
}

QStringList PairingWorkbench::playerRow(int number) const {
    const Participant& p = m_tournament.participant(number);
    const SwissFigures& f = m_standings.of(number);
    return {p.number,
            p.name,
            p.rating,
            pointsText(f.points),
            QString::number(f.whiteCount),
            QString::number(f.blackCount),
            coefficientText(f.buchholz),
            coefficientText(f.progressive),
            floatText(f.downFloat),
            floatText(f.upFloat),
            QString::number(f.averageOpponentRating),
            opponentNumbersText(m_standings, number)};
}

QVector<QStringList> PairingWorkbench::playerRows(const QVector<int>& numbers) const {
    QVector<QStringList> rows;
    rows.reserve(numbers.size());
    for (int number : numbers)
        rows.append(playerRow(number));
    return rows;
}

QVector<QStringList> PairingWorkbench::unpairedRows() const {
    return playerRows(m_unpaired);
}

QVector<QStringList> PairingWorkbench::candidateRows() const {
    return playerRows(m_candidates);
}

bool PairingWorkbench::isPaired(int number) const {
    return m_pairedNumbers.contains(number);
}

void PairingWorkbench::buildUnpairedList() {
    m_pairedNumbers.clear();
    for (const PairRow& row : m_pairs)
        m_pairedNumbers << row.white << row.black;
    m_unpaired.clear();
    for (int number : m_standings.order) {
        if (isPaired(number) || m_tournament.participant(number).name == ByeText || sitsOut(number))
            continue;
        m_unpaired.append(number);
    }
}

void PairingWorkbench::buildCandidates(int s, float allowance) {
    const int n = m_tournament.participantCount();
    if (s < 1 || s > n)
        return;
    const SwissFigures& fs = m_standings.of(s);
    const QString& pointsS = m_pointsKey[s - 1];
    const QString& balancedS = m_balancedKey[s - 1];
    auto balanced = [&](const SwissFigures& fi) {
        return fi.whiteCount + fs.whiteCount == fi.blackCount + fs.blackCount;
    };
    auto compensates = [&](int i) {
        const SwissFigures& fi = m_standings.of(i);
        return m_balancedKey[i - 1] == pointsS && balancedS == m_pointsKey[i - 1] &&
               fi.downFloat != fi.upFloat;
    };
    // P(i) + a written with one decimal; scores take few distinct values, so each text
    // is formed once per search.
    QHash<float, QString> shifted;
    auto inGroup = [&](int i) {
        const float value = m_standings.of(i).points + allowance;
        auto it = shifted.constFind(value);
        if (it == shifted.constEnd())
            it = shifted.insert(value, formatFixed(value, 1));
        return *it == pointsS;
    };

    for (int pass = 1; pass <= 4; ++pass) {
        const bool wantBalanced = pass == 1 || pass == 3;
        for (int i = 1; i <= n; ++i) {
            if (i == s)
                continue;
            const bool scoreTest = pass <= 2 ? compensates(i) : inGroup(i);
            if (scoreTest && balanced(m_standings.of(i)) == wantBalanced)
                m_candidates.append(i);
        }
    }
    prune(s);
}

void PairingWorkbench::forceCandidates(int s) {
    const int n = m_tournament.participantCount();
    if (s < 1 || s > n)
        return;
    for (int i = 1; i <= n; ++i) {
        if (i != s)
            m_candidates.append(i);
    }
    prune(s);
}

void PairingWorkbench::prune(int s) {
    QSet<int> removed;
    // Every row of a previous opponent goes: with a raised allowance one opponent can
    // be found by two passes, and a surviving row would offer a rematch. Games against
    // the bye participant record no opponent, so the bye can be offered again.
    for (int opponent : m_standings.opponentsOf(s)) {
        if (opponent != m_tournament.byeNumber)
            removed.insert(opponent);
    }
    for (int number : m_pairedNumbers)
        removed.insert(number);
    // Nobody who sits the round out, and no one s must not meet.
    const int round = pairedRound();
    for (int number : std::as_const(m_candidates)) {
        if (sitsOut(number) || m_tournament.extras.isForbidden(s, number, round))
            removed.insert(number);
    }
    QVector<int> kept;
    kept.reserve(m_candidates.size());
    QSet<int> seen;
    for (int number : std::as_const(m_candidates)) {
        if (removed.contains(number) || seen.contains(number))
            continue;
        seen.insert(number);
        kept.append(number);
    }
    m_candidates = std::move(kept);
}

Result<> PairingWorkbench::proposeDutchPairing(const DutchOptions& options) {
    const QString title = QStringLiteral("Автоматическая жеребьёвка");
    if (m_tournament.roundCount() >= Limits::SwissRounds)
        return Message{title, QStringLiteral("В турнире уже %1 туров: больше туров быть не может.")
                                  .arg(m_tournament.roundCount())};
    // The scores decide the pairing: every result of the last round must be in.
    if (const int r = m_tournament.roundCount(); r > 0) {
        for (const SwissGame& g : m_tournament.rounds[r - 1]) {
            // An empty board (those who sat out) has no result to wait for.
            if (!g.isEmpty() && (g.whiteResult.isEmpty() || g.blackResult.isEmpty()))
                return Message{title, QStringLiteral("В %1 туре внесены не все результаты, а "
                                                     "жеребьёвка следующего тура идёт по очкам.")
                                          .arg(r)};
        }
    }
    if (m_unpaired.isEmpty())
        return {};
    // The pairs made by hand stay: the rest are paired as the round's field without them.
    DutchOptions rest = options;
    rest.alreadyPaired = m_pairedNumbers;
    const DutchPairing pairing = pairDutch(m_tournament, rest);
    if (!pairing.found() && !m_pairs.isEmpty())
        return Message{title, QCoreApplication::translate(
                                  "PairingWorkbench",
                                  "Оставшихся игроков (%1) нельзя спарить по голландской системе: "
                                  "при составленных парах никакие пары не выполняют абсолютных "
                                  "условий (без повторных встреч, не больше одного свободного дня "
                                  "у игрока, допустимые цвета). Измените или удалите составленные "
                                  "пары либо составьте остальные пары вручную.")
                                  .arg(m_unpaired.size())};
    if (!pairing.found()) {
        // Forbidden pairs are an absolute criterion the director set: when they are
        // what blocks the round, he is told who and why.
        SwissTournament unbarred = m_tournament;
        unbarred.extras.forbidden.clear();
        if (const QString reasons = forbiddenReasons();
            !reasons.isEmpty() && pairDutch(unbarred, rest).found())
            return Message{title, QCoreApplication::translate(
                                      "PairingWorkbench",
                                      "Жеребьёвку %1 тура по голландской системе составить "
                                      "нельзя: %2. Снимите запрет пары или составьте пары "
                                      "вручную.")
                                      .arg(QString::number(pairedRound()), reasons)};
    }
    if (!pairing.found())
        return Message{title,
                       QStringLiteral("Жеребьёвку %1 тура по голландской системе составить "
                                      "нельзя: никакие пары не выполняют абсолютных условий "
                                      "(без повторных встреч, не больше одного свободного дня "
                                      "у игрока, допустимые цвета). Составьте пары вручную.")
                           .arg(pairedRound())};
    for (const DutchPair& pair : pairing.pairs)
        m_pairs.append(makePairRow(pair.white, pair.black));
    buildUnpairedList();
    return {};
}

QString PairingWorkbench::forbiddenReasons() const {
    const int round = pairedRound();
    const auto label = [&](int number) {
        return QStringLiteral("%1 (№%2)").arg(m_tournament.nameOf(number), QString::number(number));
    };
    // Whom x could still meet: an unpaired player, no earlier opponent, not forbidden.
    const auto otherOpponents = [&](int x) {
        const std::span<const int> met = m_standings.opponentsOf(x);
        return std::any_of(m_unpaired.begin(), m_unpaired.end(), [&](int y) {
            return y != x && std::find(met.begin(), met.end(), y) == met.end() &&
                   !m_tournament.extras.isForbidden(x, y, round);
        });
    };
    QStringList blocking;
    QStringList all;
    for (qsizetype i = 0; i < m_unpaired.size(); ++i) {
        for (qsizetype j = i + 1; j < m_unpaired.size(); ++j) {
            const int x = m_unpaired[i];
            const int y = m_unpaired[j];
            if (!m_tournament.extras.isForbidden(x, y, round))
                continue;
            const QString pair =
                QCoreApplication::translate("PairingWorkbench",
                                            "%1 и %2 не могут играть друг с другом (запрет пары)")
                    .arg(label(x), label(y));
            all.append(pair);
            if (!otherOpponents(x) || !otherOpponents(y))
                blocking.append(pair + QCoreApplication::translate(
                                           "PairingWorkbench", ", и других соперников для %1 нет")
                                           .arg(!otherOpponents(x) ? label(x) : label(y)));
        }
    }
    return (blocking.isEmpty() ? all : blocking).join(QStringLiteral("; "));
}

Result<> PairingWorkbench::canCommit() const {
    const QString title = QStringLiteral("Ошибка");
    if (m_tournament.roundCount() >= Limits::SwissRounds)
        return Message{title, QStringLiteral("В турнире уже %1 туров: больше туров быть не может.")
                                  .arg(m_tournament.roundCount())};
    // The planned rounds are all paired: one more round is the director's decision, made
    // by raising them first, as the window's pairing button asks.
    if (const int planned = m_tournament.extras.plannedRounds;
        planned > 0 && m_tournament.roundCount() >= planned)
        return Message{title,
                       QCoreApplication::translate("PairingWorkbench",
                                                   "Туров в турнире: %1, и все они уже разыграны. "
                                                   "Чтобы сыграть ещё тур, увеличьте число туров.")
                           .arg(planned)};
    const int n = m_tournament.participantCount();
    const int bye = byeOpponent();
    // The bye participant this odd field needs would be a row beyond what the file holds.
    if (bye > n && n + 1 > Limits::SwissParticipants)
        return Message{title, QCoreApplication::translate(
                                  "PairingWorkbench",
                                  "Нечётному числу играющих нужен участник «бай», а в турнире "
                                  "уже %1 участников — больше быть не может. Пусть кто-то ещё "
                                  "пропустит тур или вернётся выбывший.")
                                  .arg(Limits::SwissParticipants)};
    const auto known = [&](int number) {
        return m_tournament.hasParticipant(number) || (number == bye && bye > 0);
    };
    QVector<int> pairsOf(n + 2, 0);
    for (const PairRow& row : m_pairs) {
        if (!known(row.white) || !known(row.black))
            return Message{title, QStringLiteral("Пара %1-%2: нет участника с таким номером.")
                                      .arg(QString::number(row.white), QString::number(row.black))};
        if (row.white == row.black)
            return Message{title,
                           QStringLiteral("Пара %1-%2: участник не может играть сам с собой.")
                               .arg(QString::number(row.white), QString::number(row.black))};
        for (int number : {row.white, row.black}) {
            if (number != bye && sitsOut(number))
                return Message{title, QCoreApplication::translate("PairingWorkbench",
                                                                  "Участник %1 (%2) не играет в %3 "
                                                                  "туре, а стоит в паре.")
                                          .arg(QString::number(number),
                                               m_tournament.participant(number).name,
                                               QString::number(pairedRound()))};
            if (++pairsOf[number] > 1)
                return Message{title,
                               QStringLiteral("Участник %1 стоит в нескольких парах.").arg(number)};
        }
    }
    for (int p = 1; p <= n; ++p) {
        if (pairsOf[p] == 0 && p != m_tournament.byeNumber && !sitsOut(p))
            return Message{title, QStringLiteral("Участник %1 (%2) не включён ни в одну пару.")
                                      .arg(QString::number(p), m_tournament.participant(p).name)};
    }
    const int boards = (n + (bye > n ? 1 : 0)) / 2;
    if (m_pairs.size() > boards)
        return Message{title, QStringLiteral("Пар больше, чем досок в туре.")};
    return {};
}

Result<> PairingWorkbench::storeRoundPairing(SwissTournament& tournament) {
    if (Result<> committable = canCommit(); !committable)
        return committable;
    // An odd field without a bye participant: the bye row is added, last, and every round
    // gets the board the larger field has (an empty one in the rounds already paired).
    const int bye = byeOpponent();
    if (bye > tournament.participantCount()) {
        tournament.participants.append(makeByeRow(bye));
        for (QVector<SwissGame>& past : tournament.rounds)
            past.resize(tournament.boardCount());
    }
    // The real boards first; the spare boards of those who sit out stay empty at the end.
    QVector<SwissGame> round(tournament.boardCount());
    int board = 0;
    for (int number : m_standings.order) {
        for (qsizetype k = 0; k < m_pairs.size(); ++k) {
            if (m_pairs[k].contains(number)) {
                round[board].white = m_pairs[k].white;
                round[board].black = m_pairs[k].black;
                ++board;
                m_pairs.removeAt(k);
                break;
            }
        }
    }
    tournament.rounds.append(std::move(round));
    tournament.deriveCounts();
    fixBakuGroups(tournament);
    return {};
}

Result<CommittedRound> PairingWorkbench::commitRoundPairing(const QString& path) {
    SwissTournament next = m_tournament;
    const PairList pairs = m_pairs;
    if (Result<> stored = storeRoundPairing(next); !stored)
        return stored.failure();
    const QString target = path.isEmpty() ? next.state.path : path;
    if (Result<> saved = saveSwiss(next, target); !saved) {
        // The director keeps the pairs and can try again.
        m_pairs = pairs;
        return saved.failure();
    }
    Result<SwissTournament> loaded = loadSwiss(target);
    if (!loaded) {
        // The file holds the new round: the window must go on with it, or its next
        // save would write the old state over the round just committed.
        next.state.path = target;
        return CommittedRound{std::move(next), loaded.failure()};
    }
    return CommittedRound{std::move(loaded).value(), std::nullopt};
}

} // namespace ladya
