// The round-robin tournament window's state, rules and texts, without widgets: the
// window shows what this says and forwards its events here.
#pragma once

#include "common/message.h"
#include "common/result.h"
#include "players/completion.h"
#include "roundrobin/round_robin_file.h"
#include "roundrobin/round_robin_rows.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

namespace ladya {

// The fixed texts and sizes of the round-robin windows.
namespace RoundRobinWindowText {
inline constexpr int Width = 1010;
inline constexpr int Height = 730;
inline const QString RoundCaption = QStringLiteral("Список партий тура №");
inline const QString SelectedPlayersCaption = QStringLiteral("Выбраны игроки:");
inline const QString ResultCaption = QStringLiteral("Результат белых -");
inline const QString WriteButton = QStringLiteral("Записать");
inline const QString ScheduleReportButton = QStringLiteral("Сохранить расписание в файл file.html");
inline const QString FinishButton = QStringLiteral("Завершить турнир");
inline const QString TableButton = QStringLiteral("Таблица");
inline const QString StatisticsButton = QStringLiteral("Статистика");
inline const QString MainMenuButton = QStringLiteral("Главное меню");
QString withdrawButton(); // "Выбытие участника"
} // namespace RoundRobinWindowText

namespace ParticipantStatisticsText {
inline constexpr int Width = 1000;
inline constexpr int Height = 700;
inline const QString ReportButton = QStringLiteral("Сохранить статистику в файл file.html");
} // namespace ParticipantStatisticsText

namespace ResultsTableText {
inline constexpr int Width = 1020;
inline constexpr int Height = 700;
inline const QString ReportButton = QStringLiteral("Сохранить в файл (file.html)");
} // namespace ResultsTableText

// A withdrawal: the player's games still without a result become forfeits, "-" for
// the player and "+" for the opponent, so that the table stays complete.
int remainingGames(const RoundRobinTournament& tournament, int number);
// Records them and returns how many; the unplayed count follows.
int recordWithdrawal(RoundRobinTournament& tournament, int number);
// Why participant `number` cannot withdraw: a finished tournament, no game left (the
// bye row has none to give up); nothing when the withdrawal may be recorded.
std::optional<QString> withdrawalRefusal(const RoundRobinTournament& tournament, int number);
// What the director confirms first: the player and how many games become forfeits.
Message withdrawalQuestion(const RoundRobinTournament& tournament, int number);

class RoundRobinController {
public:
    // Saves the tournament; fails with the message to show.
    using SaveFunction = std::function<Result<>(const RoundRobinTournament&)>;

    // Opens on a loaded tournament: everything is computed, the round in play is shown
    // (the first with an unplayed game, else the last) with its first unplayed game
    // selected, so that the result keys work at once (none when every game is played).
    // `save` defaults to saveRoundRobin at the tournament's path.
    explicit RoundRobinController(RoundRobinTournament tournament, SaveFunction save = {});

    const RoundRobinTournament& tournament() const { return m_tournament; }
    const RoundRobinResults& results() const { return m_results; }

    // "Турнир в 1 круг - " or "Турнир в 2 круга - " + the file name without extension.
    QString windowTitle() const;

    // Round selector.
    QStringList roundItems() const; // "1" … roundCount
    int displayedRound() const { return m_round; }
    // Selects round r (ignored outside 1..roundCount); clears the game selection.
    void selectRound(int round);

    // Game list.
    static QVector<ListColumn> gameColumns() { return gameListColumns(); }
    QVector<QStringList> gameRows() const;       // the current round's boards
    int selectedGame() const { return m_board; } // board number, 0 when none
    // Selects a board of the current round (0 or out of range: none).
    void selectGame(int board);
    // A click in the game list at row `position` (0-based, −1 when none): selects that
    // board and returns what the result selector shows then; nullopt when no row was
    // selected.
    std::optional<QString> clickGameRow(int position);
    // What the result selector shows: the selected game's stored result ("00" for a
    // double forfeit), for an unplayed game against the bye participant the bye's point
    // proposed, else "" (and "" with no game selected), until the user chooses another
    // entry for the selected game.
    QString shownEntry() const { return m_entry; }
    // A choice in the result selector; without a selected game the selector stays empty.
    void chooseEntry(const QString& entry);
    // Why the selector proposes what it shows; "" when it proposes nothing.
    QString entryHint() const;

    // Standings list, in the order of places; with a tie-break list, in the list's order
    // with its columns after "Очки".
    QVector<ListColumn> standingColumns() const { return standingsColumns(m_tieBreakList); }
    QVector<QStringList> standingsRows() const;
    const TieBreakList& tieBreakList() const { return m_tieBreakList; }
    const TieBreakRanking& tieBreakRanking() const { return m_ranking; }

    // The tie-break list: chosen, or changed, until the tournament is finished; kept
    // beside the tournament file.
    bool tieBreaksEnabled() const { return !m_tournament.state.isFinished(); }
    QString tieBreakListText() const { return m_tournament.tieBreaks; }
    Result<> setTieBreaks(const QString& listText);

    // A click in the standings list at `position` (0-based, −1 when none): the
    // participant of that place is the one a withdrawal would name.
    void clickStandingsRow(int position);
    int selectedParticipant() const { return m_participant; } // 0 when none
    // "Выбытие": enabled for a selected participant with games left in a tournament not
    // finished; the question names the player and the number of games.
    bool withdrawEnabled() const;
    std::optional<Message> withdrawQuestion() const;
    // Records the selected participant's remaining games as forfeits and saves; nothing
    // while withdrawEnabled() is false. Fails with the message when the save failed.
    Result<> withdrawSelected();

    // The result selector's entries: "", "1", "0", "%", "+", "-", "00".
    static QStringList resultEntries();
    // Writes `entry` as the selected game's result: both codes, the unplayed count,
    // the full recomputation and the save. Does nothing without a selected game, in a
    // completed tournament or for an unknown entry. Fails with the message when the save
    // failed; the result then stays in memory and the window goes on.
    Result<> writeResult(const QString& entry);
    // What "Записать" asks before `entry` replaces the selected game's stored result;
    // nothing when the game has none or keeps it.
    std::optional<Message> replaceQuestion(const QString& entry) const;
    // The question was answered no: the selector shows the stored result again.
    void keepStoredResult() { selectGame(m_board); }
    // A result key in the game list: the same write, only while "Записать" is enabled,
    // and a result only into a game without one (Delete clears one). After a save the
    // selection moves to the round's next unplayed game (wrapping to the first, staying
    // when none is left; a cleared game stays selected). A failed save leaves no
    // selection, as "Записать" does.
    Result<> writeResultByKey(const QString& entry);

    // Texts and enabling, applied by the window after every event.
    QString statusLine() const;
    QString selectedPlayersText() const;
    bool writeEnabled() const;  // "Записать"
    bool finishEnabled() const; // "Завершить турнир"
    // Why "Завершить турнир" is disabled; "" while it is enabled.
    QString finishToolTip() const;
    // In an odd field, what the results of a game against the bye row do; "" otherwise.
    QString resultToolTip() const;

    // The close box: end the program or open the completion dialog; it fails, and the
    // window stays, when the save of unplayed games failed.
    enum class CloseAction { ExitProgram, OpenCompletion };
    Result<CloseAction> closeRequested();
    // "Главное меню": every result is in the file already unless its save failed; then
    // the tournament is saved again, and when that fails too the message says so and
    // the window stays, for leaving would lose those results.
    Result<> leaveForMainMenu();

    // Completion: the end date is set and the file rewritten. Fails with the message when
    // the save failed; the tournament then stays unfinished. The new ratings to store are
    // results().ratings[row].newRating.
    Result<> complete(const QString& endDate);
    // What the player files receive on completion with this end date; nothing while
    // completion is not open (games unplayed, or already completed).
    std::optional<CompletionInput> completionInput(const QString& endDate) const;
    Result<> save();

private:
    void recompute();
    int roundInPlay() const;
    int nextUnplayedBoard() const;
    int firstUnplayedBoard() const;
    // What the selector shows for the selected game before the user chooses.
    QString entryOfSelected() const;

    RoundRobinTournament m_tournament;
    SaveFunction m_save;
    RoundRobinResults m_results;
    TieBreakList m_tieBreakList;
    TieBreakRanking m_ranking; // computed only with a list
    int m_round = 1;
    int m_board = 0;
    QString m_entry;
    int m_participant = 0;
    bool m_unsaved = false; // the last save failed: the window holds more than the file
};

// The participant statistics window: the participant list and the selected one's games.
class ParticipantStatistics {
public:
    ParticipantStatistics(const RoundRobinTournament& tournament, const RoundRobinResults& results);

    static QString windowTitle(); // "Статистика результатов участников"
    static QVector<ListColumn> participantColumns() { return statisticsParticipantColumns(); }
    static QVector<ListColumn> gameColumns() { return participantGamesColumns(); }
    const QVector<QStringList>& participantRows() const { return m_participantRows; }

    // A click in the participant list at `position` (0-based, −1 when none).
    void clickParticipantRow(int position);
    int selectedParticipant() const { return m_selected; } // row number, −1 when none
    QVector<QStringList> gameRows() const;
    bool reportEnabled() const { return m_selected > 0; }

    // As they stood when the window opened; the statistics report is written from them.
    const RoundRobinTournament& tournament() const { return m_tournament; }
    const RoundRobinResults& results() const { return m_results; }

private:
    RoundRobinTournament m_tournament;
    RoundRobinResults m_results;
    QVector<QStringList> m_participantRows;
    int m_selected = -1;
};

// The results table window's list; with a tie-break list its "Место" shows the list's
// places and the list's columns follow "Очки".
struct ResultsTable {
    static QString windowTitle(); // "Таблица результатов участников"
    static QVector<ListColumn> columns(const RoundRobinTournament& tournament);
    static QVector<QStringList> rows(const RoundRobinTournament& tournament);
};

} // namespace ladya
