#pragma once

#include "players/edit_player_dialog.h"
#include "players/player_selection.h"
#include "ui/widgets.h"

#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ladya {
class Workspace;
namespace ui {
class Platform;
}

// Lists the player database, filters it by a part of the name, adds new players,
// opens the edit dialog for the selected one, and returns the chosen player as a
// participant row. Closes itself once a player is chosen or on the close box, and
// then emits finished(); result() is "" unless a player was chosen.
class SelectPlayerDialog : public ui::Window {
    Q_OBJECT
public:
    SelectPlayerDialog(Workspace& workspace, ui::Platform& platform, QWidget* parent = nullptr);
    ~SelectPlayerDialog() override;

    // Shows the dialog modal to `caller` (disabled meanwhile) and returns the chosen
    // participant row, "" when the dialog was closed without a choice. A chosen row
    // has already been counted in the tournament's participantCount.
    static SelectedRowText run(Workspace& workspace, ui::Platform& platform, QWidget* caller);

    const SelectedRowText& result() const { return m_controller.result(); }
    const PlayerSelectionController& controller() const { return m_controller; }
    // The edit dialog while it is open (this dialog is hidden meanwhile).
    EditPlayerDialog* editDialog() const { return m_editDialog; }

signals:
    void finished();

private:
    NewPlayerInput addInput() const;
    void applyRules();
    void showRows();
    void fitColumns();
    void fitNumberColumn();
    void fitListWidth();
    void search();
    void rowClicked();
    void addPlayer();
    void choosePlayer();
    void editPlayer();
    void editFinished();
    void finish();

    Workspace& m_workspace;
    ui::Platform& m_platform;
    PlayerSelectionController m_controller;
    QLineEdit* m_search = nullptr;
    ui::MultiColumnList* m_list = nullptr;
    QPushButton* m_choose = nullptr;
    QPushButton* m_edit = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_city = nullptr;
    ui::DropDown* m_category = nullptr;
    QLineEdit* m_rating = nullptr;
    QPushButton* m_add = nullptr;
    QLabel* m_addProblem = nullptr;
    QPointer<EditPlayerDialog> m_editDialog;
};

} // namespace ladya
