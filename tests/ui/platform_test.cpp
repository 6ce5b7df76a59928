#include "ui/platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using namespace ladya;

TEST(QtTranslations, RussianWhereInstalledAndEnglishWithoutTheFile) {
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    {
        QTemporaryDir empty;
        QObject owner;
        EXPECT_FALSE(ui::installQtTranslations(&owner, empty.path()));
        EXPECT_EQ(cancel(), "Cancel");
    }
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm"))
        GTEST_SKIP() << "qt6-translations-l10n is not installed";
    {
        QObject owner;
        EXPECT_TRUE(ui::installQtTranslations(&owner));
        EXPECT_EQ(cancel(), "Отмена");
    }
    EXPECT_EQ(cancel(), "Cancel"); // gone with its owner
}

TEST(QtPlatform, LongMessageLinesAreNotWrapped) {
    const QString longLine = QStringLiteral(
        "Не удалось сохранить данные турнира в файл, потому что у вас нет прав на создание файлов");
    int labelWidth = 0;
    int needed = 0;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        labelWidth = label->width();
        needed = label->fontMetrics().horizontalAdvance(longLine);
        box->accept();
    });
    ui::QtPlatform platform;
    platform.showMessage(nullptr, Message{QStringLiteral("Ошибка"), longLine + "\nИзмените."});
    EXPECT_GT(needed, 500);
    EXPECT_GE(labelWidth, needed);
}

// The question box: Enter takes the first choice, Escape the last, a click its own.
TEST(QtPlatform, AskAnswersWithTheIndexOfTheChoice) {
    const QStringList choices = {"Открыть в браузере", "Печать и PDF…", "Закрыть"};
    const std::vector<std::pair<std::function<void(QMessageBox*)>, int>> cases = {
        {[](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }, 0},
        {[](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }, 2},
        {[](QMessageBox* box) { box->buttons().at(1)->click(); }, 1}};
    for (const auto& [answer, expected] : cases) {
        QStringList shown;
        QTimer::singleShot(50, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* b : box->buttons())
                shown << b->text();
            answer(box);
        });
        ui::QtPlatform platform;
        EXPECT_EQ(platform.ask(nullptr, Message{"Отчёт записан", "Куда?"}, choices), expected);
        EXPECT_EQ(shown.size(), 3);
    }
}
