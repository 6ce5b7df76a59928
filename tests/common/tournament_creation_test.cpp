#include "common/tournament_creation.h"

#include <gtest/gtest.h>

using namespace ladya;

TEST(FileNameCheck, NamesEveryCharacterNoFileNameCanHoldAtOnce) {
    const auto one = [](const QString& name, const QString& character) {
        return QStringLiteral("Название турнира «") + name +
               QStringLiteral("» станет именем файла, а в имени файла не может быть символа ") +
               character + QStringLiteral(".\nИзмените название турнира.");
    };
    const auto several = [](const QString& name, const QString& characters) {
        return QStringLiteral("Название турнира «") + name +
               QStringLiteral("» станет именем файла, а в имени файла не может быть символов ") +
               characters + QStringLiteral(".\nИзмените название турнира.");
    };
    const QString blanks =
        QStringLiteral("Название турнира не может состоять из одних пробелов.\nИзмените название "
                       "турнира.");
    EXPECT_TRUE(fileNameCheck(QStringLiteral("Кубок клуба")));
    EXPECT_TRUE(fileNameCheck(QStringLiteral(" Кубок ")));
    for (const auto& [name, text] :
         {std::pair{QStringLiteral("Кубок/клуба"), one(QStringLiteral("Кубок/клуба"), "«/»")},
          // User text is data: "%1" in the name stays as typed.
          {QStringLiteral("%1 %2?"), one(QStringLiteral("%1 %2?"), "«?»")},
          {QStringLiteral("tab\there"), one(QStringLiteral("tab\there"), "с кодом U+0009")},
          // Each character once, in the order they stand.
          {QStringLiteral("a:b/c:d\t"),
           several(QStringLiteral("a:b/c:d\t"), "«:», «/», с кодом U+0009")},
          {QStringLiteral("    "), blanks},
          {QStringLiteral(" \u00a0 "), blanks},
          {QString(), blanks}}) {
        const Result<> named = fileNameCheck(name);
        ASSERT_FALSE(named) << name.toStdString();
        EXPECT_EQ(named.failure().title, "Ошибка создания файла");
        EXPECT_EQ(named.failure().text, text) << name.toStdString();
    }
}
