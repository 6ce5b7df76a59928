#include "roundrobin/round_robin_controller.h"

#include "scoring/result_entry.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

namespace ladya {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("RoundRobinWithdrawal", text);
}

const QString ByeRow = QStringLiteral("**");

} // namespace

QString RoundRobinWindowText::withdrawButton() {
    return tr("Выбытие участника");
}

int remainingGames(const RoundRobinTournament& t, int number) {
    if (number < 1 || number > t.participantCount())
        return 0;
    const QString& name = t.participant(number).name;
    int count = 0;
    for (const QVector<RoundRobinGame>& round : t.games) {
        for (const RoundRobinGame& g : round)
            count += !g.isPlayed() && (g.white == name || g.black == name);
    }
    return count;
}

int recordWithdrawal(RoundRobinTournament& t, int number) {
    if (number < 1 || number > t.participantCount())
        return 0;
    const QString name = t.participant(number).name;
    int count = 0;
    for (QVector<RoundRobinGame>& round : t.games) {
        for (RoundRobinGame& g : round) {
            if (g.isPlayed() || (g.white != name && g.black != name))
                continue;
            g.applyEntry(g.white == name ? GameResult::ForfeitLoss : GameResult::ForfeitWin);
            ++count;
        }
    }
    t.state.unplayedCount = t.countUnplayed();
    return count;
}

std::optional<QString> withdrawalRefusal(const RoundRobinTournament& t, int number) {
    if (number < 1 || number > t.participantCount())
        return tr("Участник не выбран");
    if (t.state.isFinished())
        return QStringLiteral("Турнир уже завершён");
    if (t.participant(number).name == ByeRow || remainingGames(t, number) == 0)
        return tr("У участника %1 не осталось несыгранных партий").arg(t.participant(number).name);
    return std::nullopt;
}

Message withdrawalQuestion(const RoundRobinTournament& t, int number) {
    return {RoundRobinWindowText::withdrawButton(),
            tr("Участник %1 выбывает из турнира.\nЕго несыгранные партии (%2) будут записаны "
               "как неявки: «-» ему, «+» сопернику.\nЗаписать?")
                .arg(t.participant(number).name, QString::number(remainingGames(t, number)))};
}

RoundRobinController::RoundRobinController(RoundRobinTournament tournament, SaveFunction save)
    : m_tournament(std::move(tournament)), m_save(std::move(save)) {
    if (!m_save)
        m_save = [](const RoundRobinTournament& t) { return saveRoundRobin(t); };
    m_tournament.state.unplayedCount = m_tournament.countUnplayed();
    m_round = roundInPlay();
    m_board = firstUnplayedBoard();
    m_entry = entryOfSelected();
    recompute();
}

int RoundRobinController::roundInPlay() const {
    for (int r = 1; r <= m_tournament.roundCount(); ++r) {
        for (int b = 1; b <= m_tournament.boardCount(); ++b) {
            if (!m_tournament.game(r, b).isPlayed())
                return r;
        }
    }
    return std::max(1, m_tournament.roundCount());
}

void RoundRobinController::recompute() {
    m_results = computeRoundRobin(m_tournament);
    m_tieBreakList = roundRobinTieBreakList(m_tournament);
    m_ranking = roundRobinTieBreakRanking(m_tournament, m_tieBreakList);
}

Result<> RoundRobinController::setTieBreaks(const QString& listText) {
    if (!tieBreaksEnabled() || listText == m_tournament.tieBreaks)
        return {};
    if (Result<> saved = saveRoundRobinTieBreaks(m_tournament.state.path, listText); !saved)
        return saved;
    m_tournament.tieBreaks = listText;
    m_participant = 0; // the places have moved
    recompute();
    return {};
}

QString RoundRobinController::windowTitle() const {
    const QString prefix = m_tournament.state.kind == TournamentKind::OneCycle
                               ? QStringLiteral("Турнир в 1 круг - ")
                               : QStringLiteral("Турнир в 2 круга - ");
    return prefix + m_tournament.displayName();
}

QStringList RoundRobinController::roundItems() const {
    QStringList items;
    for (int r = 1; r <= m_tournament.roundCount(); ++r)
        items << QString::number(r);
    return items;
}

void RoundRobinController::selectRound(int round) {
    if (round < 1 || round > m_tournament.roundCount())
        return;
    m_round = round;
    m_board = 0;
    m_entry.clear();
}

QVector<QStringList> RoundRobinController::gameRows() const {
    return ladya::gameRows(m_tournament, m_round);
}

void RoundRobinController::selectGame(int board) {
    const bool valid = m_round >= 1 && m_round <= m_tournament.roundCount() && board >= 1 &&
                       board <= m_tournament.boardCount();
    m_board = valid ? board : 0;
    m_entry = entryOfSelected();
}

std::optional<QString> RoundRobinController::clickGameRow(int position) {
    if (position < 0 || position >= m_tournament.boardCount() || m_round < 1 ||
        m_round > m_tournament.roundCount())
        return std::nullopt;
    selectGame(position + 1);
    return shownEntry();
}

QString RoundRobinController::entryOfSelected() const {
    if (m_board == 0)
        return QString();
    const RoundRobinGame& g = m_tournament.game(m_round, m_board);
    if (g.isPlayed())
        return storedResultEntry(g.result, g.mirrorResult);
    return byeProposal(g.white == ByeText, g.black == ByeText);
}

void RoundRobinController::chooseEntry(const QString& entry) {
    // An entry kept without a game would be written on whichever game comes next.
    m_entry = m_board > 0 && resultEntries().contains(entry) ? entry : QString();
}

QString RoundRobinController::entryHint() const {
    if (m_board == 0 || m_tournament.game(m_round, m_board).isPlayed())
        return QString();
    const RoundRobinGame& g = m_tournament.game(m_round, m_board);
    return byeProposalHint(byeProposal(g.white == ByeText, g.black == ByeText));
}

int RoundRobinController::firstUnplayedBoard() const {
    if (m_round < 1 || m_round > m_tournament.roundCount())
        return 0;
    for (int b = 1; b <= m_tournament.boardCount(); ++b) {
        if (!m_tournament.game(m_round, b).isPlayed())
            return b;
    }
    return 0;
}

QVector<QStringList> RoundRobinController::standingsRows() const {
    return ladya::standingsRows(m_tournament, m_results.standings, m_tieBreakList, m_ranking);
}

QStringList RoundRobinController::resultEntries() {
    return {QString(),           QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("%"),
            QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("00")};
}

Result<> RoundRobinController::writeResult(const QString& entry) {
    if (m_board == 0 || m_tournament.state.isFinished() || !resultEntries().contains(entry))
        return {};
    RoundRobinGame& g = m_tournament.game(m_round, m_board);
    const bool wasPlayed = g.isPlayed();
    g.applyEntry(entry);
    m_tournament.state.unplayedCount += (wasPlayed ? 1 : 0) - (g.isPlayed() ? 1 : 0);
    m_board = 0;
    m_entry.clear();
    recompute();
    return save();
}

std::optional<Message> RoundRobinController::replaceQuestion(const QString& entry) const {
    if (!writeEnabled())
        return std::nullopt;
    const RoundRobinGame& g = m_tournament.game(m_round, m_board);
    return replaceResultQuestion(g.white, g.black, storedResultEntry(g.result, g.mirrorResult),
                                 entry);
}

Result<> RoundRobinController::writeResultByKey(const QString& entry) {
    if (!writeEnabled() || m_board == 0)
        return {};
    // A stray key must not overwrite a result: changing one takes Delete first.
    if (!entry.isEmpty() && m_tournament.game(m_round, m_board).isPlayed())
        return {};
    const int board = m_board;
    if (Result<> written = writeResult(entry); !written)
        return written;
    m_board = board;
    if (!entry.isEmpty())
        m_board = nextUnplayedBoard();
    m_entry = entryOfSelected();
    return {};
}

int RoundRobinController::nextUnplayedBoard() const {
    const int boards = m_tournament.boardCount();
    for (int step = 1; step < boards; ++step) {
        const int board = (m_board - 1 + step) % boards + 1;
        if (!m_tournament.game(m_round, board).isPlayed())
            return board;
    }
    return m_board;
}

void RoundRobinController::clickStandingsRow(int position) {
    if (!m_tieBreakList.empty()) {
        const std::vector<int>& ranked = m_ranking.order;
        m_participant =
            position >= 0 && position < int(ranked.size()) ? ranked[size_t(position)] + 1 : 0;
        return;
    }
    const QVector<int>& order = m_results.standings.placeOrder;
    m_participant = position >= 0 && position < order.size() ? order.at(position) : 0;
}

bool RoundRobinController::withdrawEnabled() const {
    return !withdrawalRefusal(m_tournament, m_participant);
}

std::optional<Message> RoundRobinController::withdrawQuestion() const {
    if (!withdrawEnabled())
        return std::nullopt;
    return withdrawalQuestion(m_tournament, m_participant);
}

Result<> RoundRobinController::withdrawSelected() {
    if (!withdrawEnabled())
        return {};
    recordWithdrawal(m_tournament, m_participant);
    m_board = 0;
    m_entry.clear();
    recompute();
    return save();
}

Result<> RoundRobinController::save() {
    Result<> saved = m_save(m_tournament);
    m_unsaved = !saved;
    return saved;
}

Result<> RoundRobinController::leaveForMainMenu() {
    return m_unsaved ? save() : Result<>();
}

QString RoundRobinController::statusLine() const {
    return QStringLiteral("Турнир начат - ") + m_tournament.state.startDate +
           QStringLiteral("  окончен - ") + m_tournament.state.endDate +
           QStringLiteral("    осталось несыгранных партий - ") +
           QString::number(m_tournament.state.unplayedCount);
}

QString RoundRobinController::selectedPlayersText() const {
    QString text = QStringLiteral("Выбраны игроки:  ");
    if (m_board > 0) {
        const RoundRobinGame& g = m_tournament.game(m_round, m_board);
        text += g.white + u'-' + g.black;
    }
    return text;
}

bool RoundRobinController::writeEnabled() const {
    // A completed tournament takes no result: the button must not look as if it did.
    return m_board > 0 && !m_tournament.state.isFinished();
}

bool RoundRobinController::finishEnabled() const {
    return m_tournament.state.unplayedCount == 0 && !m_tournament.state.isFinished();
}

QString RoundRobinController::finishToolTip() const {
    if (finishEnabled())
        return QString();
    if (m_tournament.state.isFinished())
        return QStringLiteral("Турнир уже завершён");
    int againstBye = 0;
    for (const QVector<RoundRobinGame>& round : m_tournament.games) {
        for (const RoundRobinGame& g : round) {
            if (!g.isPlayed() && (g.white == ByeText || g.black == ByeText))
                ++againstBye;
        }
    }
    QString text = QStringLiteral("Не сыграно партий: %1").arg(m_tournament.state.unplayedCount);
    if (againstBye > 0)
        text +=
            QStringLiteral(", из них против «%1»: %2").arg(ByeText, QString::number(againstBye));
    return text;
}

QString RoundRobinController::resultToolTip() const {
    const bool odd =
        std::any_of(m_tournament.participants.cbegin(), m_tournament.participants.cend(), isByeRow);
    if (!odd)
        return QString();
    return QStringLiteral("Партия против «%1»: «+» или «-» даёт очко за свободный тур, "
                          "«00» оставляет обоих без очка и вне расчёта рейтинга")
        .arg(ByeText);
}

Result<RoundRobinController::CloseAction> RoundRobinController::closeRequested() {
    if (m_tournament.state.unplayedCount == 0)
        return m_tournament.state.isFinished() ? CloseAction::ExitProgram
                                               : CloseAction::OpenCompletion;
    // Every result was saved when written; saving again catches a save that failed then,
    // and leaving after a failed save would lose those results.
    if (Result<> saved = save(); !saved)
        return saved.failure();
    return CloseAction::ExitProgram;
}

std::optional<CompletionInput> RoundRobinController::completionInput(const QString& endDate) const {
    if (!finishEnabled())
        return std::nullopt;
    CompletionInput input;
    input.tournamentPath = m_tournament.state.path;
    input.startDate = m_tournament.state.startDate;
    input.endDate = endDate;
    input.participants = m_tournament.participants;
    for (const RatingEntry& rating : m_results.ratings)
        input.newRatings.append(rating.newRating);
    input.historyForByeRow = true; // the bye row of a round-robin is a row of the table
    return input;
}

Result<> RoundRobinController::complete(const QString& endDate) {
    const QString before = m_tournament.state.endDate;
    m_tournament.state.endDate = endDate;
    Result<> saved = save();
    // The file is still unfinished: so is the window, or the director could neither
    // complete it again nor enter another result.
    if (!saved)
        m_tournament.state.endDate = before;
    return saved;
}

ParticipantStatistics::ParticipantStatistics(const RoundRobinTournament& tournament,
                                             const RoundRobinResults& results)
    : m_tournament(tournament), m_results(results),
      m_participantRows(statisticsParticipantRows(tournament, results.standings)) {}

QString ParticipantStatistics::windowTitle() {
    return QStringLiteral("Статистика результатов участников");
}

void ParticipantStatistics::clickParticipantRow(int position) {
    if (position < 0 || position >= m_tournament.participantCount())
        return;
    m_selected = position + 1;
}

QVector<QStringList> ParticipantStatistics::gameRows() const {
    if (m_selected < 1)
        return {};
    return participantGames(m_tournament, m_selected);
}

QVector<ListColumn> ResultsTable::columns(const RoundRobinTournament& tournament) {
    return resultsTableColumns(tournament.participantCount(), roundRobinTieBreakList(tournament));
}

QVector<QStringList> ResultsTable::rows(const RoundRobinTournament& tournament) {
    const TieBreakList list = roundRobinTieBreakList(tournament);
    return resultsTableRows(tournament, computeRoundRobin(tournament), list,
                            roundRobinTieBreakRanking(tournament, list));
}

QString ResultsTable::windowTitle() {
    return QStringLiteral("Таблица результатов участников");
}

} // namespace ladya
