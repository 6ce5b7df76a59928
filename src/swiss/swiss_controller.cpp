#include "swiss/swiss_controller.h"

#include "common/text_file.h"
#include "scoring/result_entry.h"

#include <QFileInfo>

namespace ladya {

namespace {

const QString StatsCaption = QStringLiteral("Статистика");
const QString SelectedPairPrefix = QStringLiteral("Выбраны игроки:  ");

} // namespace

QStringList swissResultEntries() {
    return {QString(),           QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("%"),
            QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("00")};
}

bool storeResult(SwissTournament& t, int board, const QString& entry) {
    static const QVector<std::pair<QString, QString>> codes = {
        {QString(), QString()},
        {QStringLiteral("1"), QStringLiteral("0")},
        {QStringLiteral("0"), QStringLiteral("1")},
        {QStringLiteral("%"), QStringLiteral("%")},
        {QStringLiteral("+"), QStringLiteral("-")},
        {QStringLiteral("-"), QStringLiteral("+")},
        {QStringLiteral("-"), QStringLiteral("-")}};
    const qsizetype k = swissResultEntries().indexOf(entry);
    const int r = t.roundCount();
    if (k < 0 || r == 0 || board < 1 || board > t.rounds[r - 1].size())
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
}

QStringList SwissWindowController::gameRow(int row) const {
    return swissGameRow(m_tournament, m_displayedRound, row + 1);
}

QStringList SwissWindowController::standingsRow(int row) const {
    return swissStandingsRow(m_tournament, m_standings, row + 1);
}

QVector<QStringList> SwissWindowController::standingsRows() const {
    return swissStandingsRows(m_tournament, m_standings);
}

void SwissWindowController::refreshGameList() {
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
            if (g.whiteResult.isEmpty() || g.blackResult.isEmpty())
                m_pairingEnabled = false;
        }
    }
    if (m_selectedBoard > 0 && m_displayedRound == r && r > 0 &&
        m_selectedBoard <= t.rounds[r - 1].size()) {
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
    if (r >= Limits::SwissRounds)
        m_pairingEnabled = false;
    if (t.isFinished()) {
        m_finishEnabled = false;
        m_pairingEnabled = false;
        m_writeEnabled = false;
    }
}

void SwissWindowController::selectRound(const QString& text) {
    m_displayedRound = parseLenientInt(text);
    selectBoard(0);
    refreshGameList();
    applyRules();
}

void SwissWindowController::clickGameRow(int row) {
    selectBoard(row >= 0 && row < gameRowCount() ? row + 1 : 0);
    applyRules();
}

void SwissWindowController::selectBoard(int board) {
    m_selectedBoard = board;
    m_resultEntry.clear();
    const int r = m_displayedRound;
    if (board < 1 || r < 1 || r > m_tournament.roundCount() ||
        board > m_tournament.rounds[r - 1].size())
        return;
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
        if (storeResult(changed, m_selectedBoard, m_resultEntry)) {
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
        if (m_tournament.game(r, b).whiteResult.isEmpty())
            return b;
    }
    return -1; // none, as before any click
}

int SwissWindowController::nextUnplayedBoard() const {
    const int r = m_displayedRound;
    const int boards = int(m_tournament.rounds[r - 1].size());
    for (int step = 1; step < boards; ++step) {
        const int board = (m_selectedBoard - 1 + step) % boards + 1;
        if (m_tournament.game(r, board).whiteResult.isEmpty())
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
            if (g.whiteResult.isEmpty() && bye > 0 && (g.white == bye || g.black == bye))
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
        m_statsParticipant = m_standings.participantAt(row + 1);
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

} // namespace ladya
