// The pair creation and editing dialogs: both players' statistics and colours by round
// side by side, the colours with a swap and what the colour rules give, and the pair
// written into (or, editing, removed from) the pair list of the round being paired.
// Modal to the pairing dialog.
#pragma once

#include "pairing/pairing_controller.h"
#include "ui/widgets.h"

class QLabel;
class QPushButton;

namespace ladya {

// Enter confirms, Escape cancels and, when editing, Delete removes the pair. Closes
// itself on confirm, delete, cancel or the close box and then emits finished().
class PairDialog : public ui::Window {
    Q_OBJECT
public:
    // `workbench` holds the pair list the dialog writes into; it must outlive the dialog.
    PairDialog(PairingWorkbench& workbench, PairDialogController controller,
               QWidget* parent = nullptr);

    // Shows the dialog modal to `caller` (disabled meanwhile) and returns its controller
    // once it has closed; pairMade() says whether a pair was written.
    static PairDialogController run(PairingWorkbench& workbench, PairDialogController controller,
                                    QWidget* caller);

    const PairDialogController& controller() const { return m_controller; }

signals:
    void finished();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void swap();
    void confirm();
    void remove();
    void finish();

    PairingWorkbench& m_workbench;
    PairDialogController m_controller;
    ui::MultiColumnList* m_statistics = nullptr;
    ui::MultiColumnList* m_colours = nullptr;
    QLabel* m_advice = nullptr;
    QPushButton* m_swap = nullptr;
    QPushButton* m_confirm = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_delete = nullptr;
};

} // namespace ladya
