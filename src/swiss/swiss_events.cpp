#include "swiss/swiss_events.h"

#include "common/text_file.h"
#include "common/tournament_creation.h"
#include "scoring/result_entry.h"
#include "swiss/swiss_controller.h"

#include <QCoreApplication>
#include <algorithm>

namespace ladya {

namespace {

Message refusal(const QString& text) {
    return {QCoreApplication::translate("SwissEvents", "Действие невозможно"), text};
}

// The last round a request may name: the planned rounds when known, else the limit.
int lastRound(const SwissTournament& t) {
    return t.extras.plannedRounds > 0 ? t.extras.plannedRounds : Limits::SwissRounds;
}

Result<> notFinished(const SwissTournament& t) {
    if (t.isFinished())
        return refusal(QCoreApplication::translate("SwissEvents", "Турнир уже завершён"));
    return {};
}

// A real player: not the bye participant, within the table.
Result<> playerCheck(const SwissTournament& t, int p) {
    if (!t.hasParticipant(p) || p == t.byeNumber)
        return refusal(
            QCoreApplication::translate("SwissEvents", "Нет участника с номером %1").arg(p));
    return {};
}

// A round not paired yet and not beyond the tournament's last.
Result<> futureRoundCheck(const SwissTournament& t, int round, const QString& what) {
    const int r = t.roundCount();
    if (round <= r)
        return refusal(
            QCoreApplication::translate(
                "SwissEvents", "%1 на тур %2 невозможен: тур %2 уже разыгран (можно с тура %3)")
                .arg(what, QString::number(round), QString::number(r + 1)));
    if (round > lastRound(t))
        return refusal(QCoreApplication::translate("SwissEvents",
                                                   "%1 на тур %2 невозможен: в турнире %3 туров")
                           .arg(what, QString::number(round), QString::number(lastRound(t))));
    return {};
}

// Resizes every round to N / 2 boards: empty boards are added at the end or the
// trailing empty ones dropped.
void fitBoards(SwissTournament& t) {
    const int boards = t.boardCount();
    for (QVector<SwissGame>& round : t.rounds) {
        while (round.size() > boards && round.back().isEmpty())
            round.removeLast();
        while (round.size() < boards)
            round.append(SwissGame{});
    }
}

bool usedOnBoard(const SwissTournament& t, int p) {
    for (const QVector<SwissGame>& round : t.rounds) {
        for (const SwissGame& g : round) {
            if (g.white == p || g.black == p)
                return true;
        }
    }
    return false;
}

// The bye participant is kept while the field is odd or a game has used it.
void dropUnusedByeRow(SwissTournament& t) {
    const int bye = t.byeNumber;
    if (bye == 0 || bye != t.participantCount() || (t.participantCount() - 1) % 2 == 1 ||
        usedOnBoard(t, bye))
        return;
    t.participants.removeLast();
    t.deriveCounts();
}

void shift(int& number, int from) {
    if (number >= from)
        ++number;
}

QString name(const SwissTournament& t, int p) {
    return t.nameOf(p);
}

} // namespace

Result<> setPlannedRounds(SwissTournament& t, int rounds) {
    if (Result<> open = notFinished(t); !open)
        return open;
    if (rounds < 1 || rounds > Limits::SwissRounds)
        return refusal(
            QCoreApplication::translate("SwissEvents", "Количество туров должно быть от 1 до %1")
                .arg(Limits::SwissRounds));
    if (rounds < t.roundCount())
        return refusal(QCoreApplication::translate(
                           "SwissEvents", "Туров уже разыграно %1: турнир не может быть короче")
                           .arg(t.roundCount()));
    t.extras.plannedRounds = rounds;
    return {};
}

Result<> withdrawParticipant(SwissTournament& t, int p, int fromRound) {
    if (Result<> ok = notFinished(t); !ok)
        return ok;
    if (Result<> ok = playerCheck(t, p); !ok)
        return ok;
    if (Result<> ok =
            futureRoundCheck(t, fromRound, QCoreApplication::translate("SwissEvents", "Выбытие"));
        !ok)
        return ok;
    for (const Withdrawal& w : std::as_const(t.extras.withdrawals)) {
        if (w.participant == p && (w.returnRound == 0 || w.returnRound > fromRound))
            return refusal(QCoreApplication::translate("SwissEvents", "%1 уже выбыл с тура %2")
                               .arg(name(t, p))
                               .arg(w.fromRound));
    }
    if (const LateEntry* late = t.extras.lateEntryOf(p); late && fromRound < late->firstRound)
        return refusal(
            QCoreApplication::translate("SwissEvents", "%1 вступает в турнир только с тура %2")
                .arg(name(t, p))
                .arg(late->firstRound));
    // A requested bye of a round the player no longer plays means nothing any more.
    t.extras.byes.removeIf(
        [&](const RequestedBye& b) { return b.participant == p && b.round >= fromRound; });
    t.extras.withdrawals.append({p, fromRound, 0});
    return {};
}

Result<> returnParticipant(SwissTournament& t, int p, int returnRound) {
    if (Result<> ok = notFinished(t); !ok)
        return ok;
    if (Result<> ok = playerCheck(t, p); !ok)
        return ok;
    const auto open =
        std::find_if(t.extras.withdrawals.begin(), t.extras.withdrawals.end(),
                     [&](const Withdrawal& w) { return w.participant == p && w.returnRound == 0; });
    if (open == t.extras.withdrawals.end())
        return refusal(
            QCoreApplication::translate("SwissEvents", "%1 не выбывал из турнира").arg(name(t, p)));
    if (Result<> ok = futureRoundCheck(t, returnRound,
                                       QCoreApplication::translate("SwissEvents", "Возвращение"));
        !ok)
        return ok;
    if (returnRound < open->fromRound)
        return refusal(QCoreApplication::translate(
                           "SwissEvents", "%1 выбыл только с тура %2: вернуться в тур %3 нельзя")
                           .arg(name(t, p))
                           .arg(open->fromRound)
                           .arg(returnRound));
    if (returnRound == open->fromRound)
        t.extras.withdrawals.erase(open); // withdrawn for no round at all
    else
        open->returnRound = returnRound;
    return {};
}

Result<> requestBye(SwissTournament& t, int p, int round, Absence kind) {
    if (Result<> ok = notFinished(t); !ok)
        return ok;
    if (Result<> ok = playerCheck(t, p); !ok)
        return ok;
    if (kind != Absence::HalfBye && kind != Absence::ZeroBye)
        return refusal(QCoreApplication::translate(
            "SwissEvents", "Бай может быть только в пол-очка или без очков"));
    if (Result<> ok = futureRoundCheck(t, round, QCoreApplication::translate("SwissEvents", "Бай"));
        !ok)
        return ok;
    if (t.extras.isWithdrawn(p, round))
        return refusal(QCoreApplication::translate("SwissEvents", "%1 выбыл и в туре %2 не играет")
                           .arg(name(t, p))
                           .arg(round));
    if (const LateEntry* late = t.extras.lateEntryOf(p); late && round < late->firstRound)
        return refusal(
            QCoreApplication::translate("SwissEvents", "%1 вступает в турнир только с тура %2")
                .arg(name(t, p))
                .arg(late->firstRound));
    for (const RequestedBye& b : std::as_const(t.extras.byes)) {
        if (b.participant == p && b.round == round)
            return refusal(
                QCoreApplication::translate("SwissEvents", "У участника %1 уже есть бай в туре %2")
                    .arg(name(t, p))
                    .arg(round));
    }
    t.extras.byes.append({p, round, kind});
    return {};
}

Result<> cancelBye(SwissTournament& t, int p, int round) {
    if (Result<> ok = notFinished(t); !ok)
        return ok;
    if (Result<> ok = playerCheck(t, p); !ok)
        return ok;
    if (Result<> ok =
            futureRoundCheck(t, round, QCoreApplication::translate("SwissEvents", "Отмена бая"));
        !ok)
        return ok;
    const qsizetype removed = t.extras.byes.removeIf(
        [&](const RequestedBye& b) { return b.participant == p && b.round == round; });
    if (removed == 0)
        return refusal(
            QCoreApplication::translate("SwissEvents", "У участника %1 нет бая в туре %2")
                .arg(name(t, p))
                .arg(round));
    return {};
}

Result<int> addLateEntry(SwissTournament& t, const Participant& player, Absence missed) {
    if (Result<> ok = notFinished(t); !ok)
        return ok.failure();
    if (missed != Absence::HalfBye && missed != Absence::ZeroBye)
        return refusal(QCoreApplication::translate(
            "SwissEvents", "Пропущенные туры засчитываются в пол-очка или без очков"));
    const int r = t.roundCount();
    if (r >= lastRound(t))
        return refusal(
            QCoreApplication::translate("SwissEvents", "Все туры турнира уже разыграны"));
    for (const Participant& p : std::as_const(t.participants)) {
        if (p.name == player.name && p.city == player.city)
            return duplicateParticipantMessage();
    }
    const bool hasBye = t.byeNumber > 0;
    const int players = t.participantCount() - (hasBye ? 1 : 0);
    const bool needsBye = (players + 1) % 2 == 1 && !hasBye;
    if (t.participantCount() + 1 + (needsBye ? 1 : 0) > Limits::SwissParticipants)
        return refusal(QCoreApplication::translate(
                           "SwissEvents",
                           "В турнире по швейцарской системе может быть не более %1 участников.")
                           .arg(Limits::SwissParticipants));

    // After every player of a higher or equal rating: the numbers follow the ranking.
    const int rating = parseLenientInt(player.rating);
    int number = 1;
    while (number <= players && parseLenientInt(t.participant(number).rating) >= rating)
        ++number;

    for (QVector<SwissGame>& round : t.rounds) {
        for (SwissGame& g : round) {
            if (!g.isEmpty()) {
                shift(g.white, number);
                shift(g.black, number);
            }
        }
    }
    SwissExtras& x = t.extras;
    for (RequestedBye& b : x.byes)
        shift(b.participant, number);
    for (Withdrawal& w : x.withdrawals)
        shift(w.participant, number);
    for (LateEntry& e : x.lateEntries)
        shift(e.participant, number);
    for (ForbiddenPair& f : x.forbidden) {
        shift(f.first, number);
        shift(f.second, number);
    }
    // GA's last player stays the same player.
    if (x.acceleration.lastGa > 0)
        shift(x.acceleration.lastGa, number);

    Participant entered = player;
    t.participants.insert(number - 1, entered);
    if (needsBye)
        t.participants.append(makeByeRow(t.participantCount() + 1));
    for (int n = 1; n <= t.participantCount(); ++n)
        t.participant(n).number = QString::number(n);
    t.deriveCounts();
    dropUnusedByeRow(t);
    fitBoards(t);
    if (r > 0)
        x.lateEntries.append({number, r + 1, missed});
    t.deriveCounts();
    return number;
}

Result<> forbidPair(SwissTournament& t, int a, int b, int fromRound, int toRound) {
    if (Result<> ok = notFinished(t); !ok)
        return ok;
    for (int p : {a, b}) {
        if (Result<> ok = playerCheck(t, p); !ok)
            return ok;
    }
    if (a == b)
        return refusal(
            QCoreApplication::translate("SwissEvents", "Участник не может играть сам с собой"));
    if (fromRound < 1 || fromRound > Limits::SwissRounds || toRound < 0 ||
        toRound > Limits::SwissRounds || (toRound != 0 && toRound < fromRound))
        return refusal(
            QCoreApplication::translate("SwissEvents", "Неверные туры запрета: с %1 по %2")
                .arg(fromRound)
                .arg(toRound));
    const ForbiddenPair pair{std::min(a, b), std::max(a, b), fromRound, toRound};
    if (t.extras.forbidden.contains(pair))
        return refusal(QCoreApplication::translate("SwissEvents", "Пара %1 - %2 уже запрещена")
                           .arg(name(t, a), name(t, b)));
    t.extras.forbidden.append(pair);
    return {};
}

Result<> allowPair(SwissTournament& t, int a, int b) {
    if (Result<> ok = notFinished(t); !ok)
        return ok;
    const qsizetype removed = t.extras.forbidden.removeIf([&](const ForbiddenPair& f) {
        return (f.first == a && f.second == b) || (f.first == b && f.second == a);
    });
    if (removed == 0)
        return refusal(QCoreApplication::translate("SwissEvents", "Пара %1 - %2 не запрещена")
                           .arg(name(t, a), name(t, b)));
    return {};
}

Result<> undoPairingCheck(const SwissTournament& t) {
    if (Result<> ok = notFinished(t); !ok)
        return ok;
    const int r = t.roundCount();
    if (r == 0)
        return refusal(QCoreApplication::translate("SwissEvents", "Ни один тур ещё не разыгран"));
    for (int b = 1; b <= t.rounds[r - 1].size(); ++b) {
        const SwissGame& g = t.game(r, b);
        if (!g.isEmpty() && (!g.whiteResult.isEmpty() || !g.blackResult.isEmpty()))
            return refusal(
                QCoreApplication::translate(
                    "SwissEvents",
                    "Жеребьёвку тура %1 нельзя отменить: на доске %2 уже есть результат (%3 - %4)")
                    .arg(QString::number(r), QString::number(b), name(t, g.white),
                         name(t, g.black)));
    }
    return {};
}

Result<> undoLastPairing(SwissTournament& t) {
    if (Result<> ok = undoPairingCheck(t); !ok)
        return ok;
    t.rounds.removeLast();
    // Without round 1 GA is not fixed: the next pairing of round 1 fixes it again.
    if (t.rounds.isEmpty())
        t.extras.acceleration.lastGa = 0;
    t.deriveCounts();
    dropUnusedByeRow(t);
    fitBoards(t);
    t.deriveCounts();
    return {};
}

Result<> correctResult(SwissTournament& t, int round, int board, const QString& entry) {
    if (Result<> ok = notFinished(t); !ok)
        return ok;
    if (round < 1 || round > t.roundCount())
        return refusal(QCoreApplication::translate("SwissEvents", "Нет тура %1").arg(round));
    if (board < 1 || board > t.rounds[round - 1].size() || t.game(round, board).isEmpty())
        return refusal(QCoreApplication::translate("SwissEvents", "В туре %1 нет доски %2")
                           .arg(round)
                           .arg(board));
    if (entry.isEmpty() && round < t.roundCount())
        return refusal(QCoreApplication::translate(
                           "SwissEvents",
                           "Результат партии тура %1 нельзя стереть: следующие туры уже "
                           "разыграны с его учётом")
                           .arg(round));
    if (!storeResultIn(t, round, board, entry))
        return refusal(
            QCoreApplication::translate("SwissEvents", "Неизвестный результат «%1»").arg(entry));
    return {};
}

Message correctionQuestion(const SwissTournament& t, int round, int board, const QString& entry) {
    const SwissGame& g = t.game(round, board);
    const QString stored = storedResultEntry(g.whiteResult, g.blackResult);
    return {QCoreApplication::translate("SwissEvents", "Исправление результата"),
            QCoreApplication::translate(
                "SwissEvents",
                "Партия %1 - %2 тура %3: результат %4 заменить на %5?\nТаблица будет пересчитана, "
                "пары следующих туров останутся прежними.")
                .arg(name(t, g.white), name(t, g.black), QString::number(round),
                     stored.isEmpty() ? QCoreApplication::translate("SwissEvents", "(нет)")
                                      : resultEntryLabel(stored),
                     resultEntryLabel(entry))};
}

} // namespace ladya
