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
            CompletionDialog dialog(kind, platform, false,
                                    [&](const QString& endDate) -> std::optional<Result<>> {
                                        completedWith << endDate;
                                        return Result<>();
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

// A date after today is asked about first: "No" completes nothing and keeps the dialog
// open; "Yes" completes with that date.
TEST(CompletionDialogTest, FutureEndDateIsAskedFirst) {
    for (const bool yes : {false, true}) {
        test::FakePlatform platform;
        platform.confirmAnswers = {yes};
        QStringList completedWith;
        CompletionDialog dialog(CompletionDialog::Kind::RoundRobin, platform, false,
                                [&](const QString& endDate) -> std::optional<Result<>> {
                                    completedWith << endDate;
                                    return Result<>();
                                });
        dialog.show();
        auto* date = dialog.findChild<QDateEdit*>(QStringLiteral("endDatePicker"));
        ASSERT_NE(date, nullptr);
        date->setDate(platform.date.addDays(1));
        QTest::keyClick(date, Qt::Key_Return);
        ASSERT_EQ(platform.confirmations.size(), 1);
        EXPECT_EQ(platform.confirmations.first(),
                  futureEndDateQuestion("07.12.2026", platform.date));
        EXPECT_EQ(completedWith, yes ? QStringList{"07.12.2026"} : QStringList{});
        EXPECT_EQ(dialog.isVisible(), !yes);
    }
}
