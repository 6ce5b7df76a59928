#include "club/club_list.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

QStringList names(const QVector<QStringList>& rows, int column = 1) {
    QStringList out;
    for (const QStringList& row : rows)
        out << row.value(column);
    return out;
}

QVector<QStringList> ratingRows(const QStringList& ratings) {
    QVector<QStringList> rows;
    for (qsizetype i = 0; i < ratings.size(); ++i)
        rows.append({QString(), QString(QChar(char16_t(u'A' + i))), ratings.at(i)});
    return rows;
}

} // namespace

// Ratings are texts compared as integers; equal ratings end where the exchanges
// leave them (worked through by hand), which is not the file order.
TEST(ClubListOrder, ExchangeProcedure) {
    const struct {
        QStringList ratings;
        QString order;
    } cases[] = {
        {{"999", "1000", "2100"}, "CBA"},
        {{"999", "2100", "1000", "1000"}, "BCDA"},
        {{"1500", "1500", "1500"}, "ABC"},
        {{"1000", "1000", "2100"}, "CBA"},
        {{"", " 1200", "x", "-5", "1200abc"}, "BEACD"},
        {{}, ""},
    };
    for (const auto& c : cases) {
        QVector<QStringList> rows = ratingRows(c.ratings);
        orderByRating(rows, 2);
        EXPECT_EQ(names(rows).join(QString()), c.order) << c.ratings.join(',').toStdString();
    }
}

TEST(ClubListRows, OneRowPerMemberWithARecordOfEqualNameAndCity) {
    const PlayerDatabase db({"ИВАНОВ И.И.|МОСКВА|КМС|2163|Кубок_(01.12.2026)|01.12.2026-05.12.2026",
                             "ПЕТРОВ П.П.|ТУЛА|1|2100|Новый участник|28.11.2026",
                             "ПЕТРОВ П.П.|ОРЁЛ|1|1000|Новый участник|29.11.2026",
                             "КОРОТКИЙ|ТВЕРЬ|2|999|x|1.1.26"});
    const QStringList members = {"ИВАНОВ И.И.|МОСКВА", "ПЕТРОВ П.П.|ОРЁЛ", "ПЕРЕИМЕНОВАН|МОСКВА",
                                 "КОРОТКИЙ|ТВЕРЬ|лишнее"};
    const QVector<QStringList> expected = {
        {"1", "ИВАНОВ И.И.", "2163", "05.12.2026", "МОСКВА"},
        {"2", "ПЕТРОВ П.П.", "1000", "29.11.2026", "ОРЁЛ"},
        {"3", "КОРОТКИЙ", "999", "1.1.26", "ТВЕРЬ"},
    };
    EXPECT_EQ(clubListRows(members, db), expected);
}

TEST(ClubListRows, RatingChangesOfAMemberWithThreeFinishedTournaments) {
    const QStringList history = {"ИВАНОВ|МОСКВА|1|2000|A_(01.01.2026)|01.01.2026-03.01.2026",
                                 "ИВАНОВ|ТУЛА|1|1500|A_(01.01.2026)|01.01.2026-03.01.2026",
                                 "ИВАНОВ|МОСКВА|КМС|2020|B_(01.02.2026)|01.02.2026-04.02.2026",
                                 "ИВАНОВ|МОСКВА|КМС|2035|C_(01.03.2026)|01.03.2026-05.03.2026"};
    const QStringList players = {"ИВАНОВ|ТУЛА|1|1510|A|01.01.2026-03.01.2026",
                                 "ИВАНОВ|МОСКВА|КМС|2050|C_(01.03.2026)|01.03.2026-05.03.2026"};
    const QVector<QStringList> expected = {{"ИВАНОВ", "1", "2000", "01.01.2026"},
                                           {"ИВАНОВ", "КМС", "2020", "01.02.2026"},
                                           {"ИВАНОВ", "КМС", "2035", "01.03.2026"},
                                           {"ИВАНОВ", "КМС", "2050", "05.03.2026"}};
    EXPECT_EQ(ratingChangeRows(history, players, "ИВАНОВ", "МОСКВА"), expected);
}

TEST(ClubListRows, CharactersAreCountedWholeOutsideTheBasicPlane) {
    const QString text = QStringLiteral("a😀bcdefghij😀k");
    EXPECT_EQ(firstCharacters(text, 2), QStringLiteral("a😀"));
    EXPECT_EQ(lastCharacters(text, 2), QStringLiteral("😀k"));
    EXPECT_EQ(lastCharacters(QStringLiteral("abc"), 10), "abc");
}

class ClubListFile : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(FileNames::Club); }
    QByteArray file() const { return test::readBytes(path()); }
    int rowOf(const QString& name) const {
        for (qsizetype r = 0; r < club.rows().size(); ++r)
            if (club.rows().at(r).at(1) == name)
                return static_cast<int>(r);
        return -1;
    }
    static QString chosen(const QString& name, const QString& city) {
        return QStringList{"1", name, city, "1", "1500"}.join('\n');
    }

    QTemporaryDir tmp;
    QDir dir{tmp.path()};
    PlayerDatabase db{QStringList{"А|М|1|1500|Новый участник|01.01.2026",
                                  "Б|М|1|1600|Новый участник|01.01.2026",
                                  "В|М|1|1700|Новый участник|01.01.2026"}};
    ClubListController club{db, dir.filePath(FileNames::Club)};
};

// The message of a list that cannot be read, naming the file and the reason.
bool isLoadFailure(const Result<>& r) {
    return !r && r.failure().title == clubLoadFailedMessage().title &&
           r.failure().text.startsWith(clubLoadFailedMessage().text + "\nФайл: ") &&
           r.failure().text.contains(FileNames::Club + "\nПричина: ");
}

TEST_F(ClubListFile, MissingFileIsReportedAndTheFirstAdditionCreatesIt) {
    EXPECT_EQ(club.reload(), clubLoadFailedMessage());
    EXPECT_EQ(clubLoadFailedMessage().text, "Не удалось открыть файл данных - players_club.dat");
    EXPECT_TRUE(club.addMember(chosen("Б", "М")).isEmpty());
    EXPECT_EQ(file(), "Б|М\r\n");
    EXPECT_EQ(names(club.rows()), QStringList{"Б"});
}

TEST_F(ClubListFile, DuplicateIsRefusedAlsoForAMemberWithoutARecord) {
    test::writeBytes(path(), "А|М\nУШЁЛ|М\n");
    ASSERT_TRUE(club.reload());
    for (const QString name : {"А", "УШЁЛ"}) {
        EXPECT_EQ(club.addMember(chosen(name, "М")), QVector<Message>{duplicateMemberMessage()});
        EXPECT_EQ(file(), "А|М\nУШЁЛ|М\n");
    }
    EXPECT_EQ(duplicateMemberMessage(),
              (Message{"Повторение", "Этот участник уже занесен в список"}));
}

TEST_F(ClubListFile, RemovalKeepsTheLinesOfMembersNotShown) {
    test::writeBytes(path(), "УШЁЛ|М\r\nА|М\r\nБ|М\r\nА|М\r\n");
    ASSERT_TRUE(club.reload());
    EXPECT_EQ(club.removeQuestion(), std::nullopt);
    club.clickRow(rowOf("А"));
    ASSERT_TRUE(club.removeEnabled());
    EXPECT_EQ(club.removeQuestion(),
              (Message{"Удаление из списка", "Удалить из клубного списка: А, М?"}));
    EXPECT_TRUE(club.removeSelected().isEmpty());
    EXPECT_EQ(file(), "УШЁЛ|М\nБ|М\n");
    EXPECT_EQ(names(club.rows()), QStringList{"Б"});
    EXPECT_FALSE(club.removeEnabled());
    // A member added after a removal starts a line of its own.
    EXPECT_TRUE(club.addMember(chosen("В", "М")).isEmpty());
    EXPECT_EQ(file(), "УШЁЛ|М\nБ|М\nВ|М\r\n");
}

TEST_F(ClubListFile, UnreadableFileIsNeverRewrittenFromTheListInMemory) {
    test::writeBytes(path(), "А|М\nБ|М\n");
    ASSERT_TRUE(club.reload());
    QFile::remove(path());
    ASSERT_TRUE(QDir().mkpath(path() + "/x")); // a folder cannot be read as the list
    EXPECT_TRUE(isLoadFailure(club.reload()));
    EXPECT_EQ(names(club.rows()), (QStringList{"Б", "А"})) << "the members last read stay";
    club.clickRow(0);
    const QVector<Message> removed = club.removeSelected();
    ASSERT_EQ(removed.size(), 1);
    EXPECT_TRUE(isLoadFailure(removed.first()));
    const QVector<Message> added = club.addMember(chosen("В", "М"));
    ASSERT_EQ(added.size(), 1);
    EXPECT_TRUE(isLoadFailure(added.first()));
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

TEST_F(ClubListFile, FailedWritesAreReportedAndLeaveTheFileAsItWas) {
    QByteArray many;
    for (int i = 0; i < 30; ++i)
        many += QStringLiteral("ЧЛЕН %1|ГОРОД\n").arg(i).toUtf8();
    test::writeBytes(path(), "А|М\n" + many);
    ASSERT_TRUE(club.reload());
    club.clickRow(rowOf("А"));
    // A size limit below the file's size fails the write as a full disk would.
    QVector<Message> removed, added;
    test::withFileSizeLimit(100, [&] {
        removed = club.removeSelected();
        added = club.addMember(chosen("Б", "М"));
    });
    const Message tooBig = clubWriteFailedMessage(path(), "файл больше, чем разрешено записывать");
    EXPECT_EQ(removed, QVector<Message>{tooBig});
    EXPECT_EQ(added, QVector<Message>{tooBig});
    EXPECT_EQ(file(), "А|М\n" + many);
    EXPECT_EQ(names(club.rows()), QStringList{"А"});
}

TEST_F(ClubListFile, ListsBeyondFiveHundredMembers) {
    QStringList records;
    QByteArray members;
    for (int i = 0; i < 1200; ++i) {
        records << QStringLiteral("И%1|Г|1|%2|x|01.01.2026").arg(i).arg(1000 + i % 700);
        members += QStringLiteral("И%1|Г\n").arg(i).toUtf8();
    }
    db = PlayerDatabase(records);
    test::writeBytes(path(), members);
    ASSERT_TRUE(club.reload());
    ASSERT_EQ(club.rows().size(), 1200);
    EXPECT_EQ(club.rows().first().at(2), "1699");
    EXPECT_EQ(club.rows().last().at(0), "1200");
    EXPECT_EQ(club.rows().last().at(2), "1000");
}
