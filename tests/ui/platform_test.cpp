#include "ui/platform.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
