// One club member's rating over the finished tournaments, and its report.
#pragma once

#include "ui/widgets.h"

#include <QStringList>
#include <QVector>

class QPushButton;

namespace ladya {
namespace ui {
class Platform;
}

// Shows the rows as read when opened. Closes on the close box and emits finished().
class RatingChangeWindow : public ui::Window {
    Q_OBJECT
public:
    RatingChangeWindow(ui::Platform& platform, QString workingDir, const QString& name,
                       const QString& city, QWidget* parent = nullptr);

    const QVector<QStringList>& rows() const;

signals:
    void finished();

private:
    void writeReport();

    ui::Platform& m_platform;
    QString m_workingDir;
    QString m_header; // heads the printed sheets: the page itself does not name the member
    ui::MultiColumnList* m_list = nullptr;
    QPushButton* m_report = nullptr;
};

} // namespace ladya
