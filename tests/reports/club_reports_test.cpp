#include "reports/club_reports.h"

#include <gtest/gtest.h>

using namespace ladya;

TEST(ClubReports, RatingChangePageStopsAtAThousandRowsOrAnEmptyName) {
    const auto bodyRows = [](const QVector<QStringList>& rows) {
        return ratingChangeReport(rows).text().count(QStringLiteral("<TR>\n")) - 1;
    };
    const QVector<QStringList> many(1200, QStringList{"А", "1", "1500", "01.01.2026"});
    EXPECT_EQ(bodyRows(many), 1000);
    QVector<QStringList> broken = many.mid(0, 5);
    broken[3][0].clear();
    EXPECT_EQ(bodyRows(broken), 3);
}
