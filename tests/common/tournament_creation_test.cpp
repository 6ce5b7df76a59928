#include "common/tournament_creation.h"

#include <gtest/gtest.h>

using namespace ladya;

TEST(FileNameRefusal, NamesTheFirstCharacterNoFileNameCanHold) {
    const auto text = [](const QString& name, const QString& character) {
        return QStringLiteral("Название турнира «") + name +
               QStringLiteral("» станет именем файла, а в имени файла не может быть символа ") +
               character + QStringLiteral(".\nИзмените название турнира.");
    };
    EXPECT_EQ(fileNameRefusal(QStringLiteral("Кубок клуба")), std::nullopt);
    for (const auto& [name, character] :
         {std::pair{QStringLiteral("Кубок/клуба"), QStringLiteral("«/»")},
          {QStringLiteral("a:b/c"), QStringLiteral("«:»")},
          // User text is data: "%1" in the name stays as typed.
          {QStringLiteral("%1 %2?"), QStringLiteral("«?»")},
          {QStringLiteral("tab\there"), QStringLiteral("с кодом U+0009")}}) {
        const std::optional<Message> refusal = fileNameRefusal(name);
        ASSERT_TRUE(refusal) << name.toStdString();
        EXPECT_EQ(refusal->title, "Ошибка создания файла");
        EXPECT_EQ(refusal->text, text(name, character)) << name.toStdString();
    }
}
