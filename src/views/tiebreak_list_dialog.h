// The tie-break list editor: the list with its legends, the edits of it (add, remove,
// move, a recommended list, the list typed as text) and "Сохранить" or "Отмена". Opened
// from the creation windows and the tournament windows of both kinds.
#pragma once

#include "scoring/tiebreak_list_controller.h"
#include "ui/widgets.h"

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ladya {

class TieBreakListDialog : public ui::Window {
    Q_OBJECT
public:
    explicit TieBreakListDialog(TieBreakListController controller, QWidget* parent = nullptr);

    // Runs the editor modal over `caller`: the list's text to store after "Сохранить",
    // nothing when it was left otherwise.
    static std::optional<QString> run(TieBreakListController controller, QWidget* caller);

    const TieBreakListController& controller() const { return m_controller; }
    bool saved() const { return m_saved; }

signals:
    void finished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Paints the controller: the list, its selection, the choices and what is enabled.
    void showState();
    void showModifiers();
    void edited(const Result<>& outcome = {});
    void leave(bool save);

    TieBreakListController m_controller;
    bool m_saved = false;
    QLabel* m_order = nullptr;
    ui::MultiColumnList* m_entries = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_clear = nullptr;
    ui::DropDown* m_known = nullptr;
    ui::DropDown* m_modifier = nullptr;
    QPushButton* m_add = nullptr;
    ui::DropDown* m_recommended = nullptr;
    QPushButton* m_take = nullptr;
    QLineEdit* m_text = nullptr;
    QPushButton* m_apply = nullptr;
    QLabel* m_notice = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace ladya
