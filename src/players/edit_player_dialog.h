#pragma once

#include "players/player_edit.h"
#include "ui/widgets.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace ladya {
class Workspace;
namespace ui {
class Platform;
}

// Edits one record of the player database. Closes itself after a successful save or
// on the close box, and then emits finished().
class EditPlayerDialog : public ui::Window {
    Q_OBJECT
public:
    // `index` is the 1-based database index of an existing record.
    EditPlayerDialog(Workspace& workspace, ui::Platform& platform, int index,
                     QWidget* parent = nullptr);

    // Shows the dialog modal to `caller` and returns when it closes; true when saved.
    static bool run(Workspace& workspace, ui::Platform& platform, int index, QWidget* caller);

    const PlayerEditController& controller() const { return m_controller; }
    bool saved() const { return m_saved; }

signals:
    void finished();

private:
    PlayerEditInput input() const;
    void applyRules();
    void save();
    void finish();

    ui::Platform& m_platform;
    PlayerEditController m_controller;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_city = nullptr;
    ui::DropDown* m_category = nullptr;
    QLineEdit* m_rating = nullptr;
    QPushButton* m_save = nullptr;
    QLabel* m_problem = nullptr;
    bool m_saved = false;
};

} // namespace ladya
