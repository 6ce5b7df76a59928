// The Swiss tournament window without its widgets: result entry, the game and
// standings lists, the information line and the enabling rules of its buttons.
#pragma once

#include "common/message.h"
#include "common/result.h"
#include "players/completion.h"
#include "swiss/swiss_file.h"
#include "swiss/swiss_rows.h"
#include "swiss/swiss_standings.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ladya {

// The entries of the result selector, "00" standing for a double forfeit.
QStringList swissResultEntries();

// Writes the two codes of board `board` of the last round from a result-selector entry.
// False (and nothing changed) for an entry or board that does not exist.
bool storeResult(SwissTournament& tournament, int board, const QString& entry);
// The same for board `board` of any paired round `round`.
bool storeResultIn(SwissTournament& tournament, int round, int board, const QString& entry);

// The director's actions on a participant chosen in the standings.
enum class ParticipantAction { Withdraw, Return, HalfBye, Absence, CancelBye, Forbid, Allow };
struct ParticipantChoice {
    ParticipantAction action = ParticipantAction::Withdraw;
    QString label;
    int round = 0; // a CancelBye's round; the others ask for theirs
    int other = 0; // an Allow's other participant
};

// The fixed texts of the tournament window (client area 1000 × 700).
namespace SwissWindowText {
inline const QString RoundCaption = QStringLiteral("Список партий тура №");
inline const QString ResultCaption = QStringLiteral("Результат белых");
inline const QString WriteButton = QStringLiteral("Записать");
inline const QString PairingButton = QStringLiteral("Жеребьёвка следующего тура");
inline const QString FinishButton = QStringLiteral("Завершить турнир");
inline const QString ReportButton = QStringLiteral("Сохранить таблицу в файл (file.html)");
inline const QString MainMenuButton = QStringLiteral("Главное меню");
// The director's actions (translatable).
QString participantButton();
QString lateEntryButton();
QString undoPairingButton();
QString plannedRoundsButton();
QString accelerationButton();
} // namespace SwissWindowText

class SwissWindowController {
public:
    // Opens the window's state on a loaded tournament: computes the standings, shows the
    // last round with its first unplayed game selected (none when all are played) and
    // applies the rules, so that the keys and the buttons work before any click.
    explicit SwissWindowController(SwissTournament tournament);

    const SwissTournament& tournament() const { return m_tournament; }
    const SwissStandings& standings() const { return m_standings; }

    QString windowTitle() const; // "Турнир - " and the file name without ".swz"
    QStringList roundItems() const;
    QString roundText() const { return QString::number(m_displayedRound); }
    int displayedRound() const { return m_displayedRound; }
    // "Пары тура" prints the round shown: there is none before round 1 is paired.
    bool pairingSheetEnabled() const { return m_displayedRound > 0; }
    // "Тур 3 из 9" while the planned rounds are known, else ""; an accelerated tournament
    // says so after it.
    QString roundProgress() const;
    int selectedBoard() const { return m_selectedBoard; }
    // The game list's row of the selected board, −1 for none.
    int selectedRow() const;
    int unplayedCount() const { return m_unplayedCount; }
    int statsParticipant() const { return m_statsParticipant; }

    // Both lists are made a row at a time as the view asks for them: after every result
    // the standings change throughout, but a screen shows only a page of them.
    // The round's boards (an empty spare board is not shown), then one row for each
    // participant who sits out the round; those rows are not selected for results.
    int gameRowCount() const { return int(m_rowBoards.size() + m_absences.size()); }
    QStringList gameRow(int row) const; // row counted from 0
    // With a tie-break list the list ranks the rows and has its columns after "Очки".
    QVector<ListColumn> standingsColumns() const { return swissStandingsColumns(m_ranked.list); }
    int standingsRowCount() const { return int(m_ranked.standings.order.size()); }
    QStringList standingsRow(int row) const; // row counted from 0
    // The whole lists, as the command-line listings print them.
    QVector<QStringList> gameRows() const { return swissGameRows(m_tournament, m_displayedRound); }
    QVector<QStringList> standingsRows() const;
    QString statusLine() const { return m_statusLine; }
    QString selectedPairLabel() const { return m_selectedPairLabel; }
    // What the result selector shows: the selected game's stored result ("00" for a
    // double forfeit), for an unplayed game against the bye participant the bye's point
    // proposed, else "" (and "" with no game selected), until the user chooses another
    // entry for the selected game.
    QString shownEntry() const { return m_resultEntry; }
    // Why the selector proposes what it shows; "" when it proposes nothing.
    QString entryHint() const;

    bool writeEnabled() const { return m_writeEnabled; }
    bool pairingEnabled() const { return m_pairingEnabled; }
    bool finishEnabled() const { return m_finishEnabled; }
    // Why "Завершить турнир" is disabled; "" while it is enabled.
    QString finishToolTip() const;
    bool statsEnabled() const { return m_statsEnabled; }
    QString statsCaption() const { return m_statsCaption; }

    // Events. Each applies the enabling rules afterwards; a returned message is shown.
    // Shows another round; the game selection is cleared.
    void selectRound(const QString& text);
    void clickGameRow(int row); // row of the game list counted from 0, −1 for none
    // A choice in the result selector; without a selected game the selector stays empty.
    void chooseEntry(const QString& entry);
    // "Записать": stores the entry for the selected board, saves, reads the file back
    // and recomputes. A failed save keeps the result in the window, selection and all,
    // so that "Записать" can save it again once the cause is fixed.
    Result<> writeResult();
    // What "Записать" asks before the chosen entry replaces the selected game's stored
    // result; nothing when the game has none or keeps it. A game of an earlier round is
    // a correction: any change of it asks, naming the round.
    std::optional<Message> replaceQuestion() const;
    // The question was answered no: the selector shows the stored result again.
    void keepStoredResult();
    // A result key in the game list: the same write, only while "Записать" is enabled,
    // and a result only into a game without one (Delete clears one). After a save the
    // selection moves to the round's next unplayed game (wrapping to the first, staying
    // when none is left; a cleared game stays selected); a failed save keeps it where it
    // is, as "Записать" does.
    Result<> writeResultByKey(const QString& entry);
    // A result is held that the file does not have yet (its save failed).
    bool unsaved() const { return m_unsaved; }
    void clickStandings(int row); // row of the standings list counted from 0, −1 for none
    // Before the pairing dialog opens.
    void startPairing();
    // After it closed: `committed` is the tournament the commit loaded back, or nothing
    // when the dialog was closed without commit. A committed round is shown with its
    // first game selected. The standings keep their figures until the next result.
    void finishPairing(const std::optional<SwissTournament>& committed);

    // The close box ends the program and "Главное меню" leaves for the menu; a result
    // whose save failed is saved first, and while that fails the window stays with the
    // message.
    Result<> closeRequested();

    // Completion: what the player files receive with this end date; nothing while the
    // completion button is disabled.
    std::optional<CompletionInput> completionInput(const QString& endDate) const;
    // Sets the end date and saves; on failure the tournament stays unfinished.
    Result<> complete(const QString& endDate);

    // The director's actions. Each is saved at once; a refusal or a failed save leaves
    // the tournament as it was and returns the message to show.
    bool participantEnabled() const { return m_participantEnabled; }
    // The participant chosen in the standings and what can be done to him.
    Message participantQuestion() const;
    QVector<ParticipantChoice> participantChoices() const;
    // Their labels and, last, the cancel.
    QStringList participantChoiceLabels() const;
    // The line a choice asks for (a round, or the place of the other player of a
    // forbidden pair) with its proposed text; nothing when it asks for none.
    std::optional<Message> choiceQuestion(const ParticipantChoice& choice) const;
    QString choiceProposal(const ParticipantChoice& choice) const;
    Result<> applyChoice(const ParticipantChoice& choice, const QString& answer = QString());

    bool lateEntryEnabled() const { return m_lateEntryEnabled; }
    // How the missed rounds count, asked after the player is chosen; nothing before
    // round 1, when no round is missed. The choices end with the cancel.
    std::optional<Message> missedRoundsQuestion() const;
    static QStringList missedRoundsChoices();
    // The player chosen from the database as the selection dialog returns him, and
    // the answer to the question above (0: no points, 1: half a point).
    Result<> addLateEntry(const QString& selectedRowText, int missedChoice = 0);

    bool undoPairingEnabled() const { return m_undoPairingEnabled; }
    Message undoPairingQuestion() const;
    Result<> undoPairing();

    bool plannedRoundsEnabled() const { return m_plannedRoundsEnabled; }
    Message plannedRoundsQuestion() const;
    QString plannedRoundsText() const;
    Result<> setPlannedRounds(const QString& text);

    // Baku acceleration: turned on or off before round 1 only, after a yes-or-no question.
    bool accelerationEnabled() const { return m_accelerationEnabled; }
    Message accelerationQuestion() const;
    Result<> toggleAcceleration();

    // The tie-break list: chosen, or changed, until the tournament is finished; saved
    // with the tournament's other records.
    bool tieBreaksEnabled() const { return !m_tournament.isFinished(); }
    QString tieBreakListText() const { return m_tournament.extras.tieBreaks; }
    Result<> setTieBreaks(const QString& listText);

    // Why "Жеребьёвка следующего тура" is disabled when the tournament's rounds are
    // all played; "" otherwise.
    QString pairingToolTip() const;

    // The rules re-applied after every event (the events above call it themselves).
    void applyRules();

private:
    void recompute();
    void refreshGameList();
    int nextUnplayedBoard() const;
    int firstUnplayedBoard() const;
    // The selected game of the last round while it is shown; nullptr otherwise.
    const SwissGame* selectedGameOfLastRound() const;
    // Selects a board of the shown round (0: none) with the entry it shows.
    void selectBoard(int board);
    // Saves a tournament an action changed and shows it; nothing changes on failure.
    Result<> saveAction(SwissTournament changed);

    SwissTournament m_tournament;
    // The figures of the last recomputation; a pairing does not redo them, and the
    // standings list shows them with the participants' own fields.
    SwissStandings m_standings;
    // The same as the tournament's tie-break list ranks them: what the standings list shows.
    SwissRankedStandings m_ranked;
    int m_displayedRound = 0;
    int m_selectedBoard = -1;
    int m_statsParticipant = 0;
    int m_unplayedCount = 0;
    QString m_statusLine;
    QString m_selectedPairLabel;
    QString m_resultEntry;
    bool m_writeEnabled = false;
    bool m_pairingEnabled = false;
    bool m_finishEnabled = false;
    bool m_statsEnabled = false;
    bool m_unsaved = false;
    bool m_participantEnabled = false;
    bool m_lateEntryEnabled = false;
    bool m_undoPairingEnabled = false;
    bool m_plannedRoundsEnabled = false;
    bool m_accelerationEnabled = false;
    QString m_statsCaption;
    // The displayed round's rows: the board of each game row, then who sits out.
    QVector<int> m_rowBoards;
    QVector<RoundAbsence> m_absences;
};

// Loads the file and opens the window's state on it; an unreadable file is reported.
Result<SwissWindowController> openSwissWindow(const QString& path);

} // namespace ladya
