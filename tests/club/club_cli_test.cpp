#include "reports/club_reports.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

QString club(const QString& relative) {
    return test::dataPath("club/" + relative);
}

} // namespace

// The expected pages and listing under tests/data/club were checked by hand: the
// exchange order of equal ratings, the dates cut from field 6, the city left out of
// the page, the member without a record, and a name that needs escaping.
TEST(ClubCli, GoldenListingAndPages) {
    const struct {
        QStringList args;
        QString expected;
    } cases[] = {
        {{"club", club("sample")}, "sample.club.txt"},
        {{"report", "club", club("sample"), "--date", "01.03.2013"}, "sample.club.01.03.2013.html"},
        {{"report", "club", club("empty"), "--date", "06.12.2026"}, "empty.club.06.12.2026.html"},
        {{"report", "rating-change", club("sample"), "ИВАНОВ И.И.", "МОСКВА"},
         "sample.rating-change.html"},
    };
    for (const auto& c : cases) {
        const test::ProgramRun run = test::runProgram(c.args);
        EXPECT_EQ(run.status, 0) << c.expected.toStdString() << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, test::readBytes(club(c.expected))) << c.expected.toStdString();
    }
}

TEST(ClubCli, ErrorsGoToStderrWithStatusTwo) {
    QTemporaryDir dir;
    const QString noClub = dir.filePath("no-club");
    const QString noPlayers = dir.filePath("no-players");
    QDir().mkpath(noClub);
    QDir().mkpath(noPlayers);
    test::writeBytes(noClub + "/players.dat", "А|М|1|1500|x|01.01.2026\r\n");
    test::writeBytes(noPlayers + "/players_club.dat", "А|М\r\n");
    const QStringList cases[] = {
        {"club"},
        {"club", noClub},
        {"club", noPlayers},
        {"club", dir.filePath("missing")},
        {"report", "club", noClub},
        {"report", "club", club("sample"), "--date", "1.3.2013"},
        {"report", "club", club("sample"), "--date", "31.02.2013"},
        {"report", "club", club("sample"), "--date"},
        {"report", "rating-change", dir.filePath("missing"), "А", "М"},
        {"report", "rating-change", club("sample"), "А"},
    };
    for (const QStringList& args : cases) {
        const test::ProgramRun run = test::runProgram(args);
        EXPECT_EQ(run.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << args.join(' ').toStdString();
    }
}

TEST(ClubCli, MissingHistoryGivesNoLinesAndTheReportGoesToTheFileGiven) {
    QTemporaryDir dir;
    test::writeBytes(dir.filePath("players.dat"), "А|М|1|1500|Новый участник|01.01.2026\r\n");
    const QString out = dir.filePath("page.html");
    const test::ProgramRun run =
        test::runProgram({"report", "rating-change", dir.path(), "А", "М", "-o", out});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(test::readBytes(out), ratingChangeReport({{"А", "1", "1500", "01.01.2026"}}).bytes());
}
