#include "club/club_list_window.h"

#include "club/rating_change_window.h"
#include "players/select_player_dialog.h"
#include "players/workspace.h"
#include "reports/club_reports.h"
#include "reports/report_dialog.h"
#include "ui/modal.h"
#include "ui/platform.h"

#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace ladya {

ClubListWindow::ClubListWindow(Workspace& workspace, ui::Platform& platform, QWidget* parent)
    : ui::Window(ClubListTexts::Title, ClubListTexts::Width, ClubListTexts::Height, parent),
      m_workspace(workspace), m_platform(platform),
      m_controller(workspace.players(), workspace.filePath(FileNames::Club)) {
    setObjectName(QStringLiteral("clubListWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    m_list = ui::makeList(QStringLiteral("clubList"), clubListColumns(), {1, 4},
                          workspace.players().fieldOfEach(1), 260);
    m_list->widenColumnFor(4, workspace.players().fieldOfEach(2), 160);
    m_list->widenColumnFor(2, {QStringLiteral("Рейтинг")}, 80);
    m_list->widenColumnFor(3, {QStringLiteral("00.00.0000")}, 130);
    m_list->setMinimumWidth(m_list->widthForAllColumns());
    layout->addWidget(m_list, 1);

    auto* buttons = new QGridLayout;
    buttons->setHorizontalSpacing(10);
    buttons->setVerticalSpacing(10);
    m_add = ui::makeButton(ClubListTexts::AddButton, QStringLiteral("addMemberButton"), 220);
    m_remove =
        ui::makeButton(ClubListTexts::RemoveButton, QStringLiteral("removeMemberButton"), 220);
    m_report = ui::makeButton(ClubListTexts::ReportButton, QStringLiteral("clubReportButton"), 220);
    m_ratingChangeButton = ui::makeButton(ClubListTexts::RatingChangeButton,
                                          QStringLiteral("ratingChangeButton"), 220);
    buttons->addWidget(m_add, 0, 0);
    buttons->addWidget(m_remove, 0, 1);
    buttons->addWidget(m_report, 1, 0);
    buttons->addWidget(m_ratingChangeButton, 1, 1);
    layout->addLayout(buttons);
    fixSize();
    applyRules();

    connect(m_list, &ui::MultiColumnList::rowClicked, this, &ClubListWindow::rowClicked);
    connect(m_add, &QPushButton::clicked, this, &ClubListWindow::addMember);
    connect(m_remove, &QPushButton::clicked, this, &ClubListWindow::removeMember);
    connect(m_report, &QPushButton::clicked, this, &ClubListWindow::writeReport);
    connect(m_ratingChangeButton, &QPushButton::clicked, this, &ClubListWindow::openRatingChange);
    // Enter on a member shows the member's rating changes.
    connect(m_list, &ui::MultiColumnList::rowActivated, this, &ClubListWindow::openRatingChange);
    setCancelOnEscape();
    connect(this, &ui::Window::closeRequested, this, [this] {
        // A child window is running: this window takes no input meanwhile.
        if (!isEnabled())
            return;
        closeWindow();
        emit finished();
    });
}

ClubListWindow::~ClubListWindow() = default;

void ClubListWindow::loadList() {
    const Result<> loaded = m_controller.reload();
    showRows();
    if (!loaded)
        m_platform.showMessage(this, loaded.failure());
}

void ClubListWindow::applyRules() {
    m_remove->setEnabled(m_controller.removeEnabled());
    m_ratingChangeButton->setEnabled(m_controller.ratingChangeEnabled());
}

void ClubListWindow::showRows() {
    m_list->setRows(m_controller.rows());
    applyRules();
}

void ClubListWindow::showMessages(const QVector<Message>& messages) {
    for (const Message& message : messages)
        m_platform.showMessage(this, message);
}

void ClubListWindow::rowClicked() {
    m_controller.clickRow(m_list->selectedRow());
    applyRules();
}

void ClubListWindow::addMember() {
    const SelectedRowText row = SelectPlayerDialog::run(m_workspace, m_platform, this);
    // No tournament is open: the dialog's count of chosen participants means nothing here.
    m_workspace.state().participantCount = 0;
    if (row.isEmpty()) {
        // A player may have been edited or added in the dialog: the rows follow the
        // database as the printed list will.
        loadList();
        return;
    }
    const QVector<Message> messages = m_controller.addMember(row);
    showRows();
    showMessages(messages);
}

void ClubListWindow::removeMember() {
    const std::optional<Message> question = m_controller.removeQuestion();
    if (!question || !m_platform.confirm(this, *question))
        return;
    const QVector<Message> messages = m_controller.removeSelected();
    showRows();
    showMessages(messages);
}

void ClubListWindow::writeReport() {
    const QDate today = m_platform.today();
    writeAndOfferReport(m_platform, this, m_workspace.workingDir(),
                        clubListReport(m_list->rowsModel()->rows(), today),
                        clubListPageHeader(today));
}

void ClubListWindow::openRatingChange() {
    if (!m_controller.ratingChangeEnabled())
        return;
    RatingChangeWindow window(m_platform, m_workspace.workingDir(), m_controller.selectedName(),
                              m_controller.selectedCity());
    m_ratingChange = &window;
    ui::runModal(window, this, &RatingChangeWindow::finished);
    applyRules();
}

} // namespace ladya
