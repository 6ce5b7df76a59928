// Driving windows offscreen: the player selection dialog, list clicks, modal child
// windows, and the listings ladya-cli prints for comparison.
#pragma once

#include "app/application.h"
#include "app/cli.h"
#include "players/select_player_dialog.h"
#include "support/test_support.h"
#include "ui/fake_platform.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
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

inline QLineEdit* edit(QWidget* w, const char* name) {
    return child<QLineEdit>(w, name);
}

// The program started in a fresh folder on the player database `players`; windows
// closed by a test are deleted before the next.
class AppTest : public ::testing::Test {
protected:
    void startWith(const QByteArray& players) {
        QDir(start.path()).mkdir("TOURNAMENT");
        writeBytes(app.playersPath(), players);
        ASSERT_TRUE(app.startUp().isEmpty());
    }
    void TearDown() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    template <typename W> static std::unique_ptr<W> shown(std::unique_ptr<W> w) {
        w->show();
        return w;
    }

    QTemporaryDir start;
    Application app{start.path()};
    FakePlatform platform;
};

// The visible top-level window of that class and name (any name when none is given),
// nullptr when none.
template <typename T> T* openWindow(const char* name = nullptr) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w);
            t && t->isVisible() && (!name || t->objectName() == name))
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

// The next modal tie-break editor takes `listText` typed into its text field (Enter takes
// it) and is saved by the keyboard: Tab past "Применить" to "Сохранить", then Space.
// With `listText` null it is left by Escape.
inline void typeTieBreaksInEditor(const QString& listText) {
    whenModalOpens([listText] {
        QWidget* dialog = openWindow<ui::Window>("tieBreakListDialog");
        ASSERT_NE(dialog, nullptr);
        if (listText.isNull()) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        }
        QLineEdit* field = edit(dialog, "listEdit");
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, listText);
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(dialog->focusWidget(), button(dialog, "saveButton"));
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Space);
        EXPECT_FALSE(dialog->isVisible());
    });
}

} // namespace ladya::test
