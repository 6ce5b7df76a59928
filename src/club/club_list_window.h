// The club rating list: the members ranked by rating, adding and removing members,
// the list's report and each member's rating changes.
#pragma once

#include "club/club_list.h"
#include "club/rating_change_window.h"
#include "ui/widgets.h"

#include <QPointer>

class QPushButton;

namespace ladya {
class Workspace;
namespace ui {
class Platform;
}

// Closes on the close box and emits finished(); the caller shows the main menu again.
class ClubListWindow : public ui::Window {
    Q_OBJECT
public:
    ClubListWindow(Workspace& workspace, ui::Platform& platform, QWidget* parent = nullptr);
    ~ClubListWindow() override;

    // Reads the list, showing the message when players_club.dat cannot be read. Called
    // once the window shows.
    void loadList();

    const ClubListController& controller() const { return m_controller; }
    // The rating-change window while it is open.
    RatingChangeWindow* ratingChangeWindow() const { return m_ratingChange; }

signals:
    void finished();

private:
    void applyRules();
    void showRows();
    void showMessages(const QVector<Message>& messages);
    void rowClicked();
    void addMember();
    void removeMember();
    void writeReport();
    void openRatingChange();

    Workspace& m_workspace;
    ui::Platform& m_platform;
    ClubListController m_controller;
    ui::MultiColumnList* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_report = nullptr;
    QPushButton* m_ratingChangeButton = nullptr;
    QPointer<RatingChangeWindow> m_ratingChange;
};

} // namespace ladya
