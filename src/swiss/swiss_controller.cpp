#include "swiss/swiss_controller.h"

#include "common/text_file.h"
#include "players/player_selection.h"
#include "scoring/result_entry.h"
#include "swiss/swiss_acceleration.h"
#include "swiss/swiss_events.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

namespace ladya {

namespace {

const QString StatsCaption = QStringLiteral("Статистика");
const QString SelectedPairPrefix = QStringLiteral("Выбраны игроки:  ");

std::optional<int> strictNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

Message badNumber(const QString& what, const QString& answer) {
    return {QCoreApplication::translate("SwissWindow", "Действие невозможно"),
            QCoreApplication::translate("SwissWindow", "%1: «%2» — не число").arg(what, answer)};
}

} // namespace

namespace SwissWindowText {
QString participantButton() {
    return QCoreApplication::translate("SwissWindow", "Участник…");
}
QString lateEntryButton() {
    return QCoreApplication::translate("SwissWindow", "Поздний участник…");
}
QString undoPairingButton() {
    return QCoreApplication::translate("SwissWindow", "Отменить жеребьёвку");
}
QString plannedRoundsButton() {
    return QCoreApplication::translate("SwissWindow", "Туров…");
}
QString accelerationButton() {
    return QCoreApplication::translate("SwissWindow", "Ускорение по Баку");
}
} // namespace SwissWindowText

QStringList swissResultEntries() {
    return {QString(),           QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("%"),
            QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("00")};
}

bool storeResult(SwissTournament& t, int board, const QString& entry) {
    return storeResultIn(t, t.roundCount(), board, entry);
}

bool storeResultIn(SwissTournament& t, int r, int board, const QString& entry) {
    static const QVector<std::pair<QString, QString>> codes = {
        {QString(), QString()},
        {QStringLiteral("1"), QStringLiteral("0")},
        {QStringLiteral("0"), QStringLiteral("1")},
        {QStringLiteral("%"), QStringLiteral("%")},
        {QStringLiteral("+"), QStringLiteral("-")},
        {QStringLiteral("-"), QStringLiteral("+")},
        {QStringLiteral("-"), QStringLiteral("-")}};
    const qsizetype k = swissResultEntries().indexOf(entry);
    if (k < 0 || r < 1 || r > t.roundCount() || board < 1 || board > t.rounds[r - 1].size())
        return false;
    SwissGame& g = t.game(r, board);
    g.whiteResult = codes[k].first;
    g.blackResult = codes[k].second;
    t.deriveCounts();
    return true;
}

SwissWindowController::SwissWindowController(SwissTournament tournament)
    : m_tournament(std::move(tournament)), m_displayedRound(m_tournament.roundCount()),
      m_selectedPairLabel(QStringLiteral("Выбраны игроки:")), m_statsCaption(StatsCaption) {
    recompute();
    refreshGameList();
    if (m_tournament.roundCount() > 0)
        selectBoard(firstUnplayedBoard());
    applyRules();
}

Result<SwissWindowController> openSwissWindow(const QString& path) {
    Result<SwissTournament> loaded = loadSwiss(path);
    if (!loaded)
        return loaded.failure();
    return SwissWindowController(std::move(loaded).value());
}

QString SwissWindowController::windowTitle() const {
    QString name = QFileInfo(m_tournament.state.path).fileName();
    name.chop(4);
    return QStringLiteral("Турнир - ") + name;
}

QStringList SwissWindowController::roundItems() const {
    QStringList items;
    for (int r = 1; r <= m_tournament.roundCount(); ++r)
        items << QString::number(r);
    return items;
}

void SwissWindowController::recompute() {
    m_standings = computeSwissStandings(m_tournament);
    // A list the program cannot read ranks as none; its editor says why.
    const Result<TieBreakList> list = parseTieBreakList(m_tournament.extras.tieBreaks);
    m_ranked = rankSwissStandings(m_tournament, m_standings, list ? *list : TieBreakList());
}

QStringList SwissWindowController::gameRow(int row) const {
    if (row >= 0 && row < m_rowBoards.size())
        return swissGameRow(m_tournament, m_displayedRound, m_rowBoards[row]);
    const qsizetype k = row - m_rowBoards.size();
    if (k >= 0 && k < m_absences.size())
        return swissAbsenceRow(m_tournament, m_absences[k]);
    return {};
}

int SwissWindowController::selectedRow() const {
    return m_selectedBoard > 0 ? int(m_rowBoards.indexOf(m_selectedBoard)) : -1;
}

QString SwissWindowController::roundProgress() const {
    const int planned = m_tournament.extras.plannedRounds;
    if (planned <= 0)
        return QString();
    const QString progress =
        m_tournament.roundCount() == 0
            ? QCoreApplication::translate("SwissWindow", "Туров в турнире: %1").arg(planned)
            : QCoreApplication::translate("SwissWindow", "Тур %1 из %2")
                  .arg(m_tournament.roundCount())
                  .arg(planned);
    if (!m_tournament.extras.acceleration.baku)
        return progress;
    return QCoreApplication::translate("SwissWindow", "%1, ускорение по Баку").arg(progress);
}

QStringList SwissWindowController::standingsRow(int row) const {
    return swissStandingsRow(m_tournament, m_ranked, row + 1);
}

QVector<QStringList> SwissWindowController::standingsRows() const {
    QVector<QStringList> rows;
    rows.reserve(standingsRowCount());
    for (int row = 0; row < standingsRowCount(); ++row)
        rows.append(standingsRow(row));
    return rows;
}

void SwissWindowController::refreshGameList() {
    m_rowBoards = swissShownBoards(m_tournament, m_displayedRound);
    m_absences.clear();
    if (m_displayedRound >= 1 && m_displayedRound <= m_tournament.roundCount())
        m_absences =
            roundAbsences(m_tournament.extras, m_displayedRound, m_tournament.participantCount());
    m_unplayedCount = swissUnplayedCount(m_tournament);
    m_statusLine = QStringLiteral("Турнир начат - ") + m_tournament.state.startDate +
                   QStringLiteral("  окончен - ") + m_tournament.state.endDate +
                   QStringLiteral("    не завершённых партий ") +
                   QString::number(m_tournament.roundCount()) + QStringLiteral(" тура - ") +
                   QString::number(m_unplayedCount);
}

void SwissWindowController::applyRules() {
    const SwissTournament& t = m_tournament;
    const int r = t.roundCount();
    m_pairingEnabled = true;
    if (r > 0) {
        for (const SwissGame& g : t.rounds[r - 1]) {
            if (!g.isEmpty() && (g.whiteResult.isEmpty() || g.blackResult.isEmpty()))
                m_pairingEnabled = false;
        }
    }
    // A game of an earlier round takes a correction.
    if (m_selectedBoard > 0 && m_displayedRound >= 1 && m_displayedRound <= r &&
        m_selectedBoard <= t.rounds[m_displayedRound - 1].size() &&
        !t.game(m_displayedRound, m_selectedBoard).isEmpty()) {
        const SwissGame& g = t.game(m_displayedRound, m_selectedBoard);
        m_writeEnabled = true;
        m_selectedPairLabel =
            SelectedPairPrefix + t.nameOf(g.white) + QStringLiteral(" - ") + t.nameOf(g.black);
    } else {
        m_writeEnabled = false;
        m_selectedPairLabel = SelectedPairPrefix;
    }
    if (r == 0) {
        m_pairingEnabled = true;
        m_writeEnabled = false;
    }
    m_finishEnabled = r > 3 && m_unplayedCount == 0;
    // A 21st round would be refused on commit: do not let the director pair it in vain.
    if (r >= Limits::SwissRounds || (t.extras.plannedRounds > 0 && r >= t.extras.plannedRounds))
        m_pairingEnabled = false;
    const bool open = !t.isFinished();
    m_participantEnabled =
        open && m_statsEnabled && m_statsParticipant > 0 && m_statsParticipant != t.byeNumber;
    m_lateEntryEnabled =
        open && r < (t.extras.plannedRounds > 0 ? t.extras.plannedRounds : Limits::SwissRounds);
    m_undoPairingEnabled = bool(undoPairingCheck(t));
    m_plannedRoundsEnabled = open;
    m_accelerationEnabled = open && r == 0;
    if (t.isFinished()) {
        m_finishEnabled = false;
        m_pairingEnabled = false;
        m_writeEnabled = false;
    }
}

QString SwissWindowController::pairingToolTip() const {
    const int planned = m_tournament.extras.plannedRounds;
    if (m_tournament.isFinished() || planned <= 0 || m_tournament.roundCount() < planned)
        return QString();
    return QCoreApplication::translate(
               "SwissWindow",
               "Все %1 туров турнира разыграны; чтобы сыграть ещё, увеличьте количество туров")
        .arg(planned);
}

void SwissWindowController::selectRound(const QString& text) {
    m_displayedRound = parseLenientInt(text);
    selectBoard(0);
    refreshGameList();
    applyRules();
}

void SwissWindowController::clickGameRow(int row) {
    // The rows of those who sit out the round hold no game.
    selectBoard(row >= 0 && row < m_rowBoards.size() ? m_rowBoards[row] : 0);
    applyRules();
}

void SwissWindowController::selectBoard(int board) {
    m_selectedBoard = board;
    m_resultEntry.clear();
    const int r = m_displayedRound;
    if (board < 1 || r < 1 || r > m_tournament.roundCount() ||
        board > m_tournament.rounds[r - 1].size())
        return;
    if (m_tournament.game(r, board).isEmpty()) {
        m_selectedBoard = 0; // a spare board holds no game
        return;
    }
    const SwissGame& g = m_tournament.game(r, board);
    const int bye = m_tournament.byeNumber;
    m_resultEntry = g.whiteResult.isEmpty()
                        ? byeProposal(bye > 0 && g.white == bye, bye > 0 && g.black == bye)
                        : storedResultEntry(g.whiteResult, g.blackResult);
}

const SwissGame* SwissWindowController::selectedGameOfLastRound() const {
    const int r = m_tournament.roundCount();
    if (r == 0 || m_displayedRound != r || m_selectedBoard < 1 ||
        m_selectedBoard > m_tournament.rounds[r - 1].size())
        return nullptr;
    return &m_tournament.game(r, m_selectedBoard);
}

QString SwissWindowController::entryHint() const {
    const SwissGame* g = selectedGameOfLastRound();
    if (!g || !g->whiteResult.isEmpty())
        return QString();
    const int bye = m_tournament.byeNumber;
    return byeProposalHint(byeProposal(bye > 0 && g->white == bye, bye > 0 && g->black == bye));
}

void SwissWindowController::chooseEntry(const QString& entry) {
    // An entry kept without a game would be stored on whichever game comes next.
    m_resultEntry = m_selectedBoard > 0 && swissResultEntries().contains(entry) ? entry : QString();
    applyRules();
}

std::optional<Message> SwissWindowController::replaceQuestion() const {
    if (m_writeEnabled && m_displayedRound < m_tournament.roundCount()) {
        const SwissGame& earlier = m_tournament.game(m_displayedRound, m_selectedBoard);
        if (storedResultEntry(earlier.whiteResult, earlier.blackResult) == m_resultEntry)
            return std::nullopt;
        return correctionQuestion(m_tournament, m_displayedRound, m_selectedBoard, m_resultEntry);
    }
    const SwissGame* g = m_writeEnabled ? selectedGameOfLastRound() : nullptr;
    if (!g)
        return std::nullopt;
    return replaceResultQuestion(m_tournament.nameOf(g->white), m_tournament.nameOf(g->black),
                                 storedResultEntry(g->whiteResult, g->blackResult), m_resultEntry);
}

void SwissWindowController::keepStoredResult() {
    selectBoard(m_selectedBoard);
    applyRules();
}

Result<> SwissWindowController::writeResult() {
    m_statsCaption = StatsCaption;
    m_statsEnabled = false;
    Result<> written;
    if (m_writeEnabled) {
        SwissTournament changed = m_tournament;
        // A game of an earlier round: a correction, refused for a cleared result.
        const Result<> stored =
            correctResult(changed, m_displayedRound, m_selectedBoard, m_resultEntry);
        if (!stored) {
            written = stored;
            selectBoard(m_selectedBoard);
        } else {
            const SwissFileText text = swissFileText(changed);
            written = writeSwissFile(changed.state.path, text);
            if (!written) {
                // Reading the file back now would throw the result away: it stays in the
                // window and the next save (another "Записать", the pairing, the close
                // box) writes it.
                m_tournament = std::move(changed);
                m_unsaved = true;
            } else {
                // The file is read back so that the window shows what it holds.
                Result<SwissTournament> loaded = reloadSwiss(changed.state.path, changed, text);
                if (loaded) {
                    m_tournament = std::move(loaded).value();
                } else {
                    m_tournament = std::move(changed);
                    written = loaded.failure();
                }
                m_unsaved = false;
            }
            recompute();
            selectBoard(m_selectedBoard); // what the game now holds
        }
    }
    refreshGameList();
    applyRules();
    return written;
}

Result<> SwissWindowController::writeResultByKey(const QString& entry) {
    if (!m_writeEnabled || !swissResultEntries().contains(entry))
        return {};
    // A stray key must not overwrite a result: changing one takes Delete first.
    if (const SwissGame* g = selectedGameOfLastRound();
        !g || (!entry.isEmpty() && !g->whiteResult.isEmpty()))
        return {};
    m_resultEntry = entry;
    Result<> written = writeResult();
    if (!written || entry.isEmpty())
        return written;
    selectBoard(nextUnplayedBoard());
    applyRules();
    return {};
}

int SwissWindowController::firstUnplayedBoard() const {
    const int r = m_tournament.roundCount();
    for (int b = 1; r > 0 && b <= m_tournament.rounds[r - 1].size(); ++b) {
        if (!m_tournament.game(r, b).isEmpty() && m_tournament.game(r, b).whiteResult.isEmpty())
            return b;
    }
    return -1; // none, as before any click
}

int SwissWindowController::nextUnplayedBoard() const {
    const int r = m_displayedRound;
    const int boards = int(m_tournament.rounds[r - 1].size());
    for (int step = 1; step < boards; ++step) {
        const int board = (m_selectedBoard - 1 + step) % boards + 1;
        const SwissGame& g = m_tournament.game(r, board);
        if (!g.isEmpty() && g.whiteResult.isEmpty())
            return board;
    }
    return m_selectedBoard;
}

QString SwissWindowController::finishToolTip() const {
    if (m_finishEnabled)
        return QString();
    if (m_tournament.isFinished())
        return QStringLiteral("Турнир уже завершён");
    const int r = m_tournament.roundCount();
    if (m_unplayedCount > 0) {
        int againstBye = 0;
        for (const SwissGame& g : m_tournament.rounds[r - 1]) {
            const int bye = m_tournament.byeNumber;
            if (!g.isEmpty() && g.whiteResult.isEmpty() && bye > 0 &&
                (g.white == bye || g.black == bye))
                ++againstBye;
        }
        QString text = QStringLiteral("Не сыграно партий: %1").arg(m_unplayedCount);
        if (againstBye > 0)
            text += QStringLiteral(", из них против «%1»: %2")
                        .arg(ByeText, QString::number(againstBye));
        return text;
    }
    if (r <= 3)
        return QStringLiteral("Турнир можно завершить после 4-го тура");
    return QString(); // disabled only until the window's first event
}

void SwissWindowController::clickStandings(int row) {
    if (row >= 0 && row < standingsRowCount()) {
        // Row i shows place i + 1.
        m_statsParticipant = m_ranked.standings.participantAt(row + 1);
        m_statsEnabled = true;
        m_statsCaption = QStringLiteral("Статистика игрока - ") +
                         m_tournament.participant(m_statsParticipant).name;
    }
    applyRules();
}

void SwissWindowController::startPairing() {
    m_statsEnabled = false;
    applyRules();
}

void SwissWindowController::finishPairing(const std::optional<SwissTournament>& committed) {
    const int shown = m_displayedRound;
    if (committed) {
        m_tournament = *committed;
        m_unsaved = false; // the commit saved the round and whatever came before it
    }
    m_displayedRound = m_tournament.roundCount();
    if (committed)
        selectBoard(firstUnplayedBoard()); // the new round's results come next
    else if (shown != m_displayedRound)
        selectBoard(0);
    refreshGameList();
    applyRules();
}

Result<> SwissWindowController::closeRequested() {
    if (m_unsaved) {
        if (Result<> saved = saveSwiss(m_tournament); !saved)
            return saved;
        m_unsaved = false;
    }
    return {};
}

std::optional<CompletionInput>
SwissWindowController::completionInput(const QString& endDate) const {
    if (!m_finishEnabled)
        return std::nullopt;
    CompletionInput input;
    input.tournamentPath = m_tournament.state.path;
    input.startDate = m_tournament.state.startDate;
    input.endDate = endDate;
    input.participants = m_tournament.participants;
    for (int n = 1; n <= m_tournament.participantCount(); ++n)
        input.newRatings.append(m_standings.of(n).newRating);
    input.historyForByeRow = false;
    return input;
}

Result<> SwissWindowController::complete(const QString& endDate) {
    const QString before = m_tournament.state.endDate;
    m_tournament.state.endDate = endDate;
    Result<> saved = saveSwiss(m_tournament);
    // The file is still unfinished, so the window must stay so too: otherwise neither
    // another completion nor another result could be made.
    if (!saved) {
        m_tournament.state.endDate = before;
    } else {
        m_unsaved = false;
        refreshGameList();
    }
    applyRules();
    return saved;
}

Result<> SwissWindowController::saveAction(SwissTournament changed) {
    if (Result<> saved = saveSwiss(changed); !saved)
        return saved;
    m_tournament = std::move(changed);
    m_unsaved = false; // the save wrote whatever result was waiting too
    recompute();
    // Numbers and places may have moved: the choice in the standings is made anew.
    m_statsParticipant = 0;
    m_statsEnabled = false;
    m_statsCaption = StatsCaption;
    const int r = m_tournament.roundCount();
    m_displayedRound = std::min(m_displayedRound, r);
    if (m_displayedRound == 0)
        m_displayedRound = r;
    refreshGameList();
    selectBoard(m_displayedRound == r && r > 0 ? firstUnplayedBoard() : 0);
    applyRules();
    return {};
}

Message SwissWindowController::participantQuestion() const {
    return {QCoreApplication::translate("SwissWindow", "Участник"),
            m_tournament.nameOf(m_statsParticipant)};
}

QVector<ParticipantChoice> SwissWindowController::participantChoices() const {
    QVector<ParticipantChoice> choices;
    if (!m_participantEnabled)
        return choices;
    const int p = m_statsParticipant;
    const SwissExtras& x = m_tournament.extras;
    const int r = m_tournament.roundCount();
    const bool withdrawn =
        std::any_of(x.withdrawals.begin(), x.withdrawals.end(),
                    [&](const Withdrawal& w) { return w.participant == p && w.returnRound == 0; });
    if (withdrawn)
        choices.append({ParticipantAction::Return,
                        QCoreApplication::translate("SwissWindow", "Вернуть в турнир с тура…")});
    else
        choices.append({ParticipantAction::Withdraw,
                        QCoreApplication::translate("SwissWindow", "Выбывает с тура…")});
    choices.append({ParticipantAction::HalfBye,
                    QCoreApplication::translate("SwissWindow", "Бай ½ очка в туре…")});
    choices.append({ParticipantAction::Absence,
                    QCoreApplication::translate("SwissWindow", "Не играет в туре…")});
    for (const RequestedBye& b : x.byes) {
        if (b.participant == p && b.round > r)
            choices.append(
                {ParticipantAction::CancelBye,
                 QCoreApplication::translate("SwissWindow", "Отменить бай в туре %1").arg(b.round),
                 b.round});
    }
    choices.append({ParticipantAction::Forbid,
                    QCoreApplication::translate("SwissWindow", "Запретить пару с…")});
    for (const ForbiddenPair& f : x.forbidden) {
        const int other = f.first == p ? f.second : f.second == p ? f.first : 0;
        if (other > 0)
            choices.append({ParticipantAction::Allow,
                            QCoreApplication::translate("SwissWindow", "Снять запрет пары с %1")
                                .arg(m_tournament.nameOf(other)),
                            0, other});
    }
    return choices;
}

QStringList SwissWindowController::participantChoiceLabels() const {
    QStringList labels;
    for (const ParticipantChoice& c : participantChoices())
        labels << c.label;
    labels << QCoreApplication::translate("SwissWindow", "Отмена");
    return labels;
}

std::optional<Message> SwissWindowController::choiceQuestion(const ParticipantChoice& c) const {
    const QString name = m_tournament.nameOf(m_statsParticipant);
    switch (c.action) {
    case ParticipantAction::Withdraw:
        return Message{
            QCoreApplication::translate("SwissWindow", "Выбытие"),
            QCoreApplication::translate("SwissWindow", "С какого тура %1 не играет?").arg(name)};
    case ParticipantAction::Return:
        return Message{
            QCoreApplication::translate("SwissWindow", "Возвращение"),
            QCoreApplication::translate("SwissWindow", "С какого тура %1 играет снова?").arg(name)};
    case ParticipantAction::HalfBye:
        return Message{
            QCoreApplication::translate("SwissWindow", "Бай ½ очка"),
            QCoreApplication::translate("SwissWindow", "В каком туре %1 берёт бай?").arg(name)};
    case ParticipantAction::Absence:
        return Message{
            QCoreApplication::translate("SwissWindow", "Не играет"),
            QCoreApplication::translate("SwissWindow", "В каком туре %1 не играет?").arg(name)};
    case ParticipantAction::Forbid:
        return Message{QCoreApplication::translate("SwissWindow", "Запрет пары"),
                       QCoreApplication::translate(
                           "SwissWindow",
                           "Место в таблице соперника, с которым %1 не должен встречаться,\n"
                           "и, если запрет не на весь турнир, туры: например «5» или «5 3-4»")
                           .arg(name)};
    case ParticipantAction::CancelBye:
    case ParticipantAction::Allow:
        break;
    }
    return std::nullopt;
}

QString SwissWindowController::choiceProposal(const ParticipantChoice& c) const {
    if (c.action == ParticipantAction::Forbid || !choiceQuestion(c))
        return QString();
    int round = m_tournament.roundCount() + 1;
    // A withdrawal not in force yet: its own first round, which cancels it.
    if (c.action == ParticipantAction::Return) {
        for (const Withdrawal& w : m_tournament.extras.withdrawals) {
            if (w.participant == m_statsParticipant && w.returnRound == 0)
                round = std::max(round, w.fromRound);
        }
    }
    return QString::number(round);
}

Result<> SwissWindowController::applyChoice(const ParticipantChoice& c, const QString& answer) {
    if (!m_participantEnabled)
        return {};
    const int p = m_statsParticipant;
    SwissTournament changed = m_tournament;
    Result<> done;
    if (c.action == ParticipantAction::CancelBye) {
        done = cancelBye(changed, p, c.round);
    } else if (c.action == ParticipantAction::Allow) {
        done = allowPair(changed, p, c.other);
    } else if (c.action == ParticipantAction::Forbid) {
        const QStringList words = answer.simplified().split(u' ', Qt::SkipEmptyParts);
        const std::optional<int> place = strictNumber(words.value(0));
        if (!place || *place < 1 || *place > standingsRowCount())
            return badNumber(QCoreApplication::translate("SwissWindow", "Место в таблице"),
                             words.value(0));
        int from = 1, to = 0;
        if (words.size() > 1) {
            const QStringList range = words[1].split(u'-');
            const std::optional<int> first = strictNumber(range.value(0));
            const std::optional<int> last =
                range.size() > 1 ? strictNumber(range.value(1)) : std::optional<int>(0);
            if (!first || !last || range.size() > 2)
                return badNumber(QCoreApplication::translate("SwissWindow", "Туры"), words[1]);
            from = *first;
            to = *last;
        }
        done = forbidPair(changed, p, m_ranked.standings.participantAt(*place), from, to);
    } else {
        const std::optional<int> round = strictNumber(answer);
        if (!round)
            return badNumber(QCoreApplication::translate("SwissWindow", "Тур"), answer);
        switch (c.action) {
        case ParticipantAction::Withdraw:
            done = withdrawParticipant(changed, p, *round);
            break;
        case ParticipantAction::Return:
            done = returnParticipant(changed, p, *round);
            break;
        case ParticipantAction::HalfBye:
            done = requestBye(changed, p, *round, Absence::HalfBye);
            break;
        default:
            done = requestBye(changed, p, *round, Absence::ZeroBye);
            break;
        }
    }
    if (!done)
        return done;
    return saveAction(std::move(changed));
}

std::optional<Message> SwissWindowController::missedRoundsQuestion() const {
    const int r = m_tournament.roundCount();
    if (r == 0)
        return std::nullopt;
    return Message{
        QCoreApplication::translate("SwissWindow", "Поздний участник"),
        r == 1 ? QCoreApplication::translate("SwissWindow", "Как засчитать пропущенный тур 1?")
               : QCoreApplication::translate("SwissWindow", "Как засчитать пропущенные туры 1–%1?")
                     .arg(r)};
}

QStringList SwissWindowController::missedRoundsChoices() {
    return {QCoreApplication::translate("SwissWindow", "Без очков"),
            QCoreApplication::translate("SwissWindow", "По пол-очка"),
            QCoreApplication::translate("SwissWindow", "Отмена")};
}

Result<> SwissWindowController::addLateEntry(const QString& selectedRowText, int missedChoice) {
    if (!m_lateEntryEnabled || selectedRowText.isEmpty())
        return {};
    const std::optional<Participant> player = participantFromSelectedRow(selectedRowText);
    if (!player)
        return {};
    SwissTournament changed = m_tournament;
    const Result<int> added = ladya::addLateEntry(
        changed, *player, missedChoice == 1 ? Absence::HalfBye : Absence::ZeroBye);
    if (!added)
        return added.failure();
    return saveAction(std::move(changed));
}

Message SwissWindowController::undoPairingQuestion() const {
    return {QCoreApplication::translate("SwissWindow", "Отмена жеребьёвки"),
            QCoreApplication::translate(
                "SwissWindow",
                "Отменить жеребьёвку тура %1? Его пары будут удалены, и тур можно будет "
                "разыграть заново.")
                .arg(m_tournament.roundCount())};
}

Result<> SwissWindowController::undoPairing() {
    SwissTournament changed = m_tournament;
    if (Result<> undone = undoLastPairing(changed); !undone)
        return undone;
    return saveAction(std::move(changed));
}

Message SwissWindowController::plannedRoundsQuestion() const {
    return {QCoreApplication::translate("SwissWindow", "Количество туров"),
            QCoreApplication::translate("SwissWindow", "Сколько туров в турнире (от %1 до %2)?")
                .arg(std::max(1, m_tournament.roundCount()))
                .arg(Limits::SwissRounds)};
}

QString SwissWindowController::plannedRoundsText() const {
    const int planned = m_tournament.extras.plannedRounds;
    return planned > 0 ? QString::number(planned) : QString();
}

Result<> SwissWindowController::setPlannedRounds(const QString& answer) {
    const std::optional<int> rounds = strictNumber(answer);
    if (!rounds)
        return badNumber(QCoreApplication::translate("SwissWindow", "Количество туров"), answer);
    SwissTournament changed = m_tournament;
    if (Result<> set = ladya::setPlannedRounds(changed, *rounds); !set)
        return set;
    return saveAction(std::move(changed));
}

Result<> SwissWindowController::setTieBreaks(const QString& listText) {
    if (!tieBreaksEnabled() || listText == m_tournament.extras.tieBreaks)
        return {};
    SwissTournament changed = m_tournament;
    changed.extras.tieBreaks = listText;
    return saveAction(std::move(changed));
}

Message SwissWindowController::accelerationQuestion() const {
    const bool on = m_tournament.extras.acceleration.baku;
    return {SwissWindowText::accelerationButton(),
            on ? QCoreApplication::translate("SwissWindow", "Выключить ускорение по Баку?")
               : QCoreApplication::translate(
                     "SwissWindow",
                     "Включить ускорение по Баку? В первой половине туров первая половина "
                     "участников первого тура получает при жеребьёвке виртуальные очки; в "
                     "таблице остаются набранные очки.")};
}

Result<> SwissWindowController::toggleAcceleration() {
    SwissTournament changed = m_tournament;
    if (Result<> set = setBakuAcceleration(changed, !changed.extras.acceleration.baku); !set)
        return set;
    return saveAction(std::move(changed));
}

} // namespace ladya
