// Driving windows offscreen: the player selection dialog, list clicks, modal child
// windows, and the listings ladya-cli prints for comparison.
#pragma once

#include "app/cli.h"
#include "players/select_player_dialog.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace ladya::test {

template <typename T> T* child(QWidget* w, const char* name) {
    T* found = w ? w->findChild<T*>(QLatin1StringView(name)) : nullptr;
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline QPushButton* button(QWidget* w, const char* name) {
    return child<QPushButton>(w, name);
}

inline ui::MultiColumnList* list(QWidget* w, const char* name) {
    return child<ui::MultiColumnList>(w, name);
}

// The visible top-level window of that class and name, nullptr when none.
template <typename T> T* openWindow(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible() && t->objectName() == name)
            return t;
    }
    return nullptr;
}

// A mouse click on a row, as the user selects it.
inline void clickRow(ui::MultiColumnList* l, int row) {
    const QRect cell = l->visualRect(l->model()->index(row, 1));
    ASSERT_TRUE(cell.isValid()) << row;
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, cell.center());
}

// Runs `inside` once the modal window that the next click opens is running. The
// check that it really opened is left to `inside`.
inline void whenModalOpens(std::function<void()> inside) {
    QTimer::singleShot(0, std::move(inside));
}

// The next "Добавить участника" chooses the database record at list row `row`
// (row −1: the dialog is closed without a choice).
inline void chooseInSelectionDialog(int row) {
    whenModalOpens([row] {
        auto* dialog = openWindow<SelectPlayerDialog>("selectPlayerDialog");
        ASSERT_NE(dialog, nullptr);
        if (row < 0) {
            dialog->close();
            return;
        }
        list(dialog, "playerList")->selectRow(row);
        button(dialog, "chooseButton")->click();
    });
}

// Everything a user (or a script) can reach has a name.
inline void expectEveryControlNamed(QWidget* window) {
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (qobject_cast<QLabel*>(c) || qobject_cast<QAbstractButton*>(c) ||
            qobject_cast<QComboBox*>(c) || qobject_cast<QLineEdit*>(c) ||
            qobject_cast<QDateEdit*>(c) || qobject_cast<ui::MultiColumnList*>(c)) {
            EXPECT_FALSE(c->objectName().isEmpty()) << c->metaObject()->className();
        }
    }
}

// What the list shows, in the exchange format of ladya-cli.
inline QByteArray listing(const ui::MultiColumnList* l) {
    return formatListing(l->rowsModel()->titles(), l->rowsModel()->rows());
}

inline QByteArray cliListing(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(LADYA_CLI_PATH), args);
    EXPECT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

} // namespace ladya::test
