#include "club/rating_change_window.h"

#include "club/club_list.h"
#include "reports/club_reports.h"
#include "reports/report_dialog.h"
#include "ui/platform.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace ladya {

RatingChangeWindow::RatingChangeWindow(ui::Platform& platform, QString workingDir,
                                       const QString& name, const QString& city, QWidget* parent)
    : ui::Window(ratingChangeTitle(name, city), ClubListTexts::Width, ClubListTexts::Height,
                 parent),
      m_platform(platform), m_workingDir(std::move(workingDir)),
      m_header(ratingChangePageHeader(name, city)) {
    setObjectName(QStringLiteral("ratingChangeWindow"));
    QVector<QStringList> rows = readRatingChangeRows(m_workingDir, name, city);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    m_list =
        ui::makeList(QStringLiteral("ratingChangeList"), ratingChangeColumns(), {0}, {name}, 260);
    // The date column was drawn for a narrower font: show "dd.MM.yyyy" whole.
    m_list->widenColumnFor(3, {QStringLiteral("00.00.0000")}, 120);
    m_list->widenColumnFor(1, {QStringLiteral("Разряд")}, 80);
    m_list->widenColumnFor(2, {QStringLiteral("Рейтинг")}, 80);
    m_list->setMinimumWidth(m_list->widthForAllColumns());
    layout->addWidget(m_list, 1);
    auto* bottom = new QHBoxLayout;
    m_report = ui::makeButton(ClubListTexts::RatingChangeReportButton,
                              QStringLiteral("ratingChangeReportButton"), 200);
    bottom->addWidget(m_report);
    bottom->addStretch();
    layout->addLayout(bottom);
    fixSize();

    m_list->setRows(std::move(rows));

    connect(m_report, &QPushButton::clicked, this, &RatingChangeWindow::writeReport);
    setCancelOnEscape();
    connect(this, &ui::Window::closeRequested, this, [this] {
        closeWindow();
        emit finished();
    });
}

const QVector<QStringList>& RatingChangeWindow::rows() const {
    return m_list->rowsModel()->rows();
}

void RatingChangeWindow::writeReport() {
    writeAndOfferReport(m_platform, this, m_workingDir, ratingChangeReport(rows()), m_header);
}

} // namespace ladya
