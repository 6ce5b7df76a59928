// The pairing dialog and the pair creation and editing dialogs without their widgets:
// the workbench driven by the director's clicks, the lists, captions and enabling rules.
#pragma once

#include "common/message.h"
#include "common/result.h"
#include "pairing/pairing_workbench.h"
#include "swiss/swiss_controller.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace ladya {

// The creation dialog (for the two selections) or the editing dialog (for a row of the
// pair list): both players' statistics, the colours, swap, confirm, delete. The
// creation dialog proposes the colours the Dutch colour rules give (`initial` is the
// top player's colour in round 1); the editing dialog starts from the pair's colours.
// Both say what the rules give and why.
class PairDialogController {
    Q_DECLARE_TR_FUNCTIONS(PairDialogController)

public:
    static PairDialogController forCreation(const PairingWorkbench& workbench, int first,
                                            int second, InitialColour initial);
    static PairDialogController forEditing(const PairingWorkbench& workbench, int pairRow,
                                           InitialColour initial);

    bool isEditing() const { return m_editedRow >= 0; }
    QString title() const;
    QString confirmText() const; // "Создать пару" or "Записать пару"
    static QString swapText() { return QStringLiteral("Поменять игроков местами "); }
    static QString cancelText() { return QStringLiteral("Отменить"); }
    static QString deleteText() { return QStringLiteral("Удалить пару"); }

    int first() const { return m_first; }
    int second() const { return m_second; }
    int white() const { return m_toggle == 1 ? m_first : m_second; }
    int black() const { return m_toggle == 1 ? m_second : m_first; }

    // "Статистика / ФИО", the first player's name, the second's; each 130 wide.
    QVector<ListColumn> statisticsColumns() const;
    // Nine rows of figures, then each player's colours by round ("Б Ч –") and colour
    // preference.
    QVector<QStringList> statisticsRows() const;
    static QVector<ListColumn> colourColumns(); // "Белые", "Чёрные"
    QStringList colourRow() const;              // White's name, Black's name
    // Who the Dutch colour rules give White and Black, and by which rule; a line more
    // when the colours shown are the other way round.
    QString colourAdvice() const;

    void swap() { m_toggle = -m_toggle; }
    // Writes the pair at the end of the pair list (the edited row moves there).
    void confirm(PairingWorkbench& workbench);
    // Editing only: removes the edited row.
    void remove(PairingWorkbench& workbench);
    bool pairMade() const { return m_pairMade; }

private:
    PairDialogController(const PairingWorkbench& workbench, int first, int second, int editedRow,
                         InitialColour initial);

    DutchColourHistory historyOf(int number) const;

    const PairingWorkbench* m_workbench;
    DutchColours m_rules;
    int m_first;
    int m_second;
    int m_editedRow; // −1 in the creation dialog
    int m_toggle = 1;
    bool m_pairMade = false;
};

// The fixed button texts of the pairing dialog (1000 × 700).
namespace PairingDialogTexts {
inline const QString CreateButton = QStringLiteral("Создать пару");
inline const QString EditButton = QStringLiteral("Изменить / Удалить");
inline const QString FinishButton = QStringLiteral("Завершить жеребьёвку");
inline const QString ForceButton = QStringLiteral("Принудить");
inline const QString AutoPairButton = QStringLiteral("Автоматическая жеребьёвка");
inline const QString InitialColourLabel = QStringLiteral("Цвет первого номера в 1 туре:");
inline const QStringList InitialColourChoices = {QStringLiteral("белые"), QStringLiteral("чёрные")};
inline const QString LastRoundCheck = QStringLiteral("Последний тур турнира");
} // namespace PairingDialogTexts

class PairingController {
    Q_DECLARE_TR_FUNCTIONS(PairingController)

public:
    // The open tournament and the standings as they stand (the results of every round
    // are in when pairing is allowed).
    PairingController(const SwissTournament& tournament, const SwissStandings& standings);

    PairingWorkbench& workbench() { return m_workbench; }
    const PairingWorkbench& workbench() const { return m_workbench; }

    QString title() const;        // "Жеребьёвка " R + 1 " тура"
    QString pairsCaption() const; // "Готовые пары " R + 1 " тура"
    static QString step1Caption() {
        return QStringLiteral("1. Выберите первого игрока для создания пары");
    }
    QString step2Caption() const { return m_step2Caption; }
    // "Спуск = 0.5 очк.": the allowance of the chosen player's last search, which found
    // the candidates listed (0.0 before a search).
    QString allowanceText() const;
    static QVector<ListColumn> pairColumns();
    static QVector<ListColumn> playerColumns();

    QVector<QStringList> pairRows() const;
    QVector<QStringList> playerRows() const { return m_workbench.unpairedRows(); }
    QVector<QStringList> candidateRows() const { return m_workbench.candidateRows(); }

    std::optional<int> firstSelection() const { return m_first; }
    std::optional<int> secondSelection() const { return m_second; }

    bool allowanceEnabled() const { return m_allowanceEnabled; }
    bool createEnabled() const { return m_createEnabled; }
    bool editEnabled() const { return m_editEnabled; }
    bool finishEnabled() const { return m_finishEnabled; }
    bool forceEnabled() const { return m_forceEnabled; }
    // The players still unpaired by the Dutch system, the pairs made staying as they are.
    bool autoPairEnabled() const { return !m_workbench.unpairedList().isEmpty(); }
    // The initial colour is the director's choice before round 1; later rounds read it
    // back from round 1.
    bool initialColourEnabled() const { return m_workbench.pairedRound() == 1; }
    InitialColour initialColour() const { return m_initialColour; }
    void setInitialColour(InitialColour colour) { m_initialColour = colour; }
    // What the Dutch rules pair and colour this round with.
    DutchOptions dutchOptions() const;
    // The last round has rules of its own. The tournament's planned rounds say which
    // round is the last: the box only shows it then (lastRoundFixed). A tournament that
    // does not know its planned rounds (a file from before they were kept) still takes
    // the director's word.
    bool lastRound() const;
    bool lastRoundFixed() const { return m_workbench.tournament().extras.plannedRounds > 0; }
    void setLastRound(bool last) { m_lastRound = last; }
    QString autoPairToolTip() const;

    // Clicks; rows counted from 0, −1 when the click selects none. Each applies the
    // rules afterwards.
    void clickPlayerList(int row);
    void clickCandidateList(int row);
    void raiseAllowance();
    void force();
    void clickPairList(int row);
    // "Создать пару" opens creationDialog() (for both selections); once it has closed:
    PairDialogController creationDialog() const;
    void creationDialogClosed(const PairDialogController& dialog);
    // "Изменить / Удалить" opens editingDialog() (for selectedPairRow()); once closed:
    int selectedPairRow() const { return m_selectedPair; }
    PairDialogController editingDialog() const;
    void editingDialogClosed();
    // "Автоматическая жеребьёвка": pairs the players still unpaired after the pairs made;
    // fails with the message when it cannot (nothing then changes).
    Result<> autoPair();
    // "Завершить жеребьёвку": commits the round, saves and loads the file. On success
    // the dialog closes and the tournament window takes the returned tournament.
    Result<CommittedRound> finish();

    // What to ask before the close box drops the pairs made; nothing to ask when none.
    std::optional<Message> closeQuestion() const;

    void applyRules();

private:
    void pairsChanged();

    PairingWorkbench m_workbench;
    std::optional<int> m_first;
    std::optional<int> m_second;
    // Whose candidates are listed: the search stays until he is paired or another
    // player is chosen.
    std::optional<int> m_searched;
    int m_selectedPair = -1;
    float m_allowance = 0.0f;
    QString m_step2Caption;
    bool m_allowanceEnabled = false;
    bool m_createEnabled = false;
    bool m_editEnabled = false;
    bool m_finishEnabled = false;
    bool m_forceEnabled = false;
    InitialColour m_initialColour = InitialColour::White;
    bool m_lastRound = false;
};

} // namespace ladya
