// Files edited by hand or written by another program: every loader takes what the text
// conventions allow (CR, LF or CR LF, a byte-order mark, no end to the last line) as the
// very same content, refuses text in another encoding naming the file and the line, and
// never changes a file by opening it.
#include "club/club_list.h"
#include "players/player_database.h"
#include "roundrobin/round_robin_file.h"
#include "support/test_support.h"
#include "swiss/swiss_file.h"

#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

struct Loaded {
    std::optional<QStringList> content; // what the program holds, line by line
    QString error;                      // the message shown when refused
};

struct Loader {
    const char* file;
    QStringList lines; // a sound file of the kind
    std::function<Loaded(const QString&)> load;
};

const QVector<Loader>& loaders() {
    static const QVector<Loader> all = {
        {"Кубок.kr2",
         {"01.12.2026", "", "2", "1", "1", "1_krug", "1", "АНДРЕЕВ А.А.", "КМС", "2150", "МОСКВА",
          "2", "БОРИСОВ Б.Б.", "1", "1900", "ТВЕРЬ", "АНДРЕЕВ А.А.", "БОРИСОВ Б.Б.", "%"},
         [](const QString& path) {
             const Result<RoundRobinTournament> r = loadRoundRobin(path);
             return r ? Loaded{roundRobinLines(*r), {}} : Loaded{{}, r.failure().text};
         }},
        {"Швейцарка.swz",
         {"05.12.2026", "", "1", "2", "1|АНДРЕЕВ А.А.|КМС|2150|МОСКВА",
          "2|БОРИСОВ Б.Б.|1|1900|ТВЕРЬ", "1 ТУР", "1|2|1|0"},
         [](const QString& path) {
             const Result<SwissTournament> r = loadSwiss(path);
             return r ? Loaded{swissFileLines(*r), {}} : Loaded{{}, r.failure().text};
         }},
        {"players.dat",
         {"АНДРЕЕВ А.А.|МОСКВА|КМС|2150|Кубок|01.11.2026", "БОРИСОВ Б.Б.|ТВЕРЬ|1|1900|Кубок|"},
         [](const QString& path) {
             QString reason;
             const std::optional<PlayerDatabase> db = loadPlayerDatabase(path, &reason);
             return db ? Loaded{db->records(), {}}
                       : Loaded{{}, playersLoadFailedMessage(path, reason).text};
         }},
        {"history_players.dat",
         {"АНДРЕЕВ А.А.|МОСКВА|КМС|2100|Осень|01.10.2026-05.10.2026",
          "БОРИСОВ Б.Б.|ТВЕРЬ|1|1900|Осень|01.10.2026-05.10.2026"},
         [](const QString& path) {
             QString reason;
             const std::optional<QStringList> lines = readTextLines(path, &reason);
             return lines ? Loaded{*lines, {}} : Loaded{{}, fileFailureDetail(path, reason)};
         }},
        {"players_club.dat",
         {"АНДРЕЕВ А.А.|МОСКВА", "БОРИСОВ Б.Б.|ТВЕРЬ"},
         [](const QString& path) {
             static const PlayerDatabase noPlayers;
             ClubListController c(noPlayers, path);
             if (const Result<> loaded = c.reload(); !loaded)
                 return Loaded{{}, loaded.failure().text};
             return Loaded{c.members(), {}};
         }},
    };
    return all;
}

} // namespace

TEST(ForeignFiles, EveryLoaderTakesTheAllowedFormsAndRefusesOtherEncodings) {
    QTemporaryDir dir;
    for (const Loader& loader : loaders()) {
        SCOPED_TRACE(loader.file);
        const QString path = QDir(dir.path()).filePath(QString::fromUtf8(loader.file));
        const auto load = [&](const QByteArray& bytes) {
            test::writeBytes(path, bytes);
            const Loaded loaded = loader.load(path);
            EXPECT_EQ(test::readBytes(path), bytes) << "opening changed the file";
            return loaded;
        };
        const QString text = loader.lines.join(u'\n');
        const QByteArray forms[] = {
            text.toUtf8() + "\n",
            QString(text).replace(u'\n', u'\r').toUtf8() + "\r",
            QString(text).replace(u'\n', QStringLiteral("\r\n")).toUtf8() + "\r\n",
            "\xEF\xBB\xBF" + QString(text).replace(u'\n', QStringLiteral("\r\n")).toUtf8(),
            text.toUtf8(),
        };
        for (const QByteArray& bytes : forms) {
            const Loaded loaded = load(bytes);
            ASSERT_TRUE(loaded.content) << loaded.error.toStdString();
            EXPECT_EQ(*loaded.content, loader.lines);
        }
        // The second line in Windows-1251, a NUL byte, a UTF-16 file.
        QByteArray legacy = joinLinesCrLf(loader.lines);
        const qsizetype second = legacy.indexOf('\n') + 1;
        QByteArray withNul = legacy;
        withNul.insert(second, '\0');
        legacy.insert(second, "\xC8\xC2\xC0\xCD\xCE\xC2|");
        const struct {
            const char* what;
            QByteArray bytes;
            const char* line;
        } refused[] = {
            {"Windows-1251", legacy, "строка 2"},
            {"NUL byte", withNul, "строка 2"},
            {"UTF-16", QByteArray("\xFF\xFE", 2) + QByteArray(16, '\0'), "строка 1"},
        };
        for (const auto& r : refused) {
            const Loaded loaded = load(r.bytes);
            EXPECT_FALSE(loaded.content) << r.what;
            EXPECT_TRUE(loaded.error.contains(QString::fromUtf8(r.line)))
                << r.what << ": " << loaded.error.toStdString();
            EXPECT_TRUE(loaded.error.contains(QString::fromUtf8(loader.file)))
                << r.what << ": " << loaded.error.toStdString();
        }
    }
}
