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

// The fixed texts of the tournament window (client area 1000 × 700).
namespace SwissWindowText {
inline const QString RoundCaption = QStringLiteral("Список партий тура №");
inline const QString ResultCaption = QStringLiteral("Результат белых");
inline const QString WriteButton = QStringLiteral("Записать");
inline const QString PairingButton = QStringLiteral("Жеребьёвка следующего тура");
inline const QString FinishButton = QStringLiteral("Завершить турнир");
inline const QString ReportButton = QStringLiteral("Сохранить таблицу в файл (file.html)");
inline const QString MainMenuButton = QStringLiteral("Главное меню");
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
    int selectedBoard() const { return m_selectedBoard; }
    int unplayedCount() const { return m_unplayedCount; }
    int statsParticipant() const { return m_statsParticipant; }

    // Both lists are made a row at a time as the view asks for them: after every result
    // the standings change throughout, but a screen shows only a page of them.
    int gameRowCount() const { return m_tournament.boardCount(); }
    QStringList gameRow(int row) const; // row counted from 0
    int standingsRowCount() const { return int(m_standings.order.size()); }
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
    // result; nothing when the game has none or keeps it.
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

    SwissTournament m_tournament;
    // The figures of the last recomputation; a pairing does not redo them, and the
    // standings list shows them with the participants' own fields.
    SwissStandings m_standings;
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
    QString m_statsCaption;
};

// Loads the file and opens the window's state on it; an unreadable file is reported.
Result<SwissWindowController> openSwissWindow(const QString& path);

} // namespace ladya
