#include "players/completion_dialog.h"
#include "ui/fake_platform.h"

#include <QDateEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace ladya;

// Escape leaves either dialog as its back button does; Enter in the date completes.
TEST(CompletionDialogTest, EscapeLeavesAndEnterCompletes) {
    for (const auto kind : {CompletionDialog::Kind::RoundRobin, CompletionDialog::Kind::Swiss}) {
        for (const auto key : {Qt::Key_Escape, Qt::Key_Return}) {
            test::FakePlatform platform;
            QStringList completedWith;
            CompletionDialog dialog(kind, platform, false, [&](const QString& endDate) {
                completedWith << endDate;
                return CompletionResult{true, {}};
            });
            dialog.show();
            QSignalSpy finished(&dialog, &CompletionDialog::finished);
            auto* date = dialog.findChild<QDateEdit*>(QStringLiteral("endDatePicker"));
            ASSERT_NE(date, nullptr);
            QTest::keyClick(date, key);
            const bool enter = key == Qt::Key_Return;
            EXPECT_EQ(finished.count(), 1);
            EXPECT_EQ(dialog.completed(), enter);
            EXPECT_EQ(completedWith.size(), enter ? 1 : 0);
            EXPECT_FALSE(dialog.isVisible());
        }
    }
}
