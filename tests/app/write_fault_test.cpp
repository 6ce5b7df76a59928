// Every write path under a failing disk: a full disk (a file-size limit), a folder that
// cannot be written, and a folder standing where the file should be. Each must say what
// failed, to which file and why, and leave every file byte for byte as it was. The
// writes run in a child process, where the limit and a lesser user (when the tests run
// as root, whom permissions do not stop) cannot leak into the other tests.
#include "app/cli.h"
#include "club/club_list.h"
#include "common/text_file.h"
#include "players/completion.h"
#include "players/player_database.h"
#include "players/player_edit.h"
#include "reports/round_robin_reports.h"
#include "roundrobin/round_robin_controller.h"
#include "roundrobin/round_robin_file.h"
#include "support/test_support.h"
#include "swiss/swiss_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ladya;

namespace {

enum class Fault { FullDisk, ReadOnlyFolder, FolderInPlace };

const char* faultName(Fault f) {
    switch (f) {
    case Fault::FullDisk:
        return "full disk";
    case Fault::ReadOnlyFolder:
        return "read-only folder";
    case Fault::FolderInPlace:
        return "folder in the file's place";
    }
    return "";
}

const QByteArray Players = "АНДРЕЕВ А.А.|МОСКВА|КМС|2150|Кубок|01.11.2026\r\n"
                           "БОРИСОВ Б.Б.|ТВЕРЬ|1|1900|Кубок|01.11.2026\r\n";
const QByteArray History = "АНДРЕЕВ А.А.|МОСКВА|КМС|2100|Осень|01.10.2026-05.10.2026\r\n";
const QByteArray Club = "АНДРЕЕВ А.А.|МОСКВА\nГРИГОРЬЕВ Г.Г.|КЛИН\n";

// What one write path does in a working folder: the message it shows, "" for none.
struct WritePath {
    const char* name;
    QString target; // the file it writes, relative to the folder
    std::function<QString(const QDir&)> run;
};

QString textOf(const Result<>& r) {
    return r ? QString() : r.failure().text;
}

QString textOf(const QVector<Message>& messages) {
    QStringList texts;
    for (const Message& m : messages)
        texts << m.text;
    return texts.join(u'\n');
}

const QStringList RoundRobinLines =
    QStringLiteral("01.12.2026||2|1|1|1_krug|1|АНДРЕЕВ А.А.|КМС|2150|МОСКВА|"
                   "2|БОРИСОВ Б.Б.|1|1900|ТВЕРЬ|АНДРЕЕВ А.А.|БОРИСОВ Б.Б.|")
        .split(u'|');
const QStringList SwissLines = {"05.12.2026",
                                "",
                                "1",
                                "2",
                                "1|АНДРЕЕВ А.А.|КМС|2150|МОСКВА",
                                "2|БОРИСОВ Б.Б.|1|1900|ТВЕРЬ",
                                "1 ТУР",
                                "1|2|1|0"};

// The files as the program holds them in memory, whatever stands on the disk now.
RoundRobinTournament roundRobinIn(const QDir& dir) {
    return *parseRoundRobin(RoundRobinLines, dir.filePath("Кубок.kr2"));
}
PlayerDatabase playersInMemory() {
    return PlayerDatabase(splitLines(Players));
}

const QVector<WritePath>& writePaths() {
    static const QVector<WritePath> paths = {
        {"round-robin result", "Кубок.kr2",
         [](const QDir& dir) {
             RoundRobinController c(roundRobinIn(dir));
             c.selectGame(1);
             return textOf(c.writeResult("1"));
         }},
        {"Swiss save", "Швейцарка.swz",
         [](const QDir& dir) {
             SwissTournament t = *parseSwissLines(SwissLines);
             t.state.path = dir.filePath("Швейцарка.swz");
             t.game(1, 1).whiteResult = "%";
             t.game(1, 1).blackResult = "%";
             return textOf(saveSwiss(t));
         }},
        {"Swiss save with a first companion", "Швейцарка.swx",
         [](const QDir& dir) {
             SwissTournament t = *parseSwissLines(SwissLines);
             t.state.path = dir.filePath("Швейцарка.swz");
             t.game(1, 1).whiteResult = "%";
             t.game(1, 1).blackResult = "%";
             t.extras.plannedRounds = 5;
             return textOf(saveSwiss(t));
         }},
        {"round-robin tie-break list", "Кубок.krx",
         [](const QDir& dir) {
             return textOf(saveRoundRobinTieBreaks(dir.filePath("Кубок.kr2"), "BH/C1,SB"));
         }},
        {"player added", FileNames::Players,
         [](const QDir& dir) {
             PlayerDatabase db = playersInMemory();
             return addPlayerRecord(db, dir.filePath(FileNames::Players),
                                    {"ВАСИЛЬЕВ В.В.", "КЛИН", "2", "1700"}, QDate(2026, 12, 6))
                 .message.text;
         }},
        {"player edited", FileNames::Players,
         [](const QDir& dir) {
             PlayerDatabase db = playersInMemory();
             PlayerEditController c(db, dir.filePath(FileNames::Players), 2);
             return textOf(c.save({"БОРИСОВ Б.Б.", "ТВЕРЬ", "КМС", "1900"}));
         }},
        {"completion history", FileNames::History,
         [](const QDir& dir) {
             const RoundRobinTournament t = roundRobinIn(dir);
             PlayerDatabase db = playersInMemory();
             const CompletionInput input{
                 t.state.path, t.state.startDate, "06.12.2026", t.participants, {2160, 1890}};
             return textOf(completeTournament(input, db, dir.filePath(FileNames::Players),
                                              dir.filePath(FileNames::History),
                                              [](const QString&) { return Result<>(); }));
         }},
        {"club member added", FileNames::Club,
         [](const QDir& dir) {
             const PlayerDatabase db = playersInMemory();
             ClubListController c(db, dir.filePath(FileNames::Club));
             c.reload();
             return textOf(c.addMember("2\nБОРИСОВ Б.Б.\nТВЕРЬ\n1\n1900"));
         }},
        {"club member removed", FileNames::Club,
         [](const QDir& dir) {
             const PlayerDatabase db = playersInMemory();
             ClubListController c(db, dir.filePath(FileNames::Club));
             const QString unread = textOf(c.reload());
             c.clickRow(0);
             return unread + textOf(c.removeSelected());
         }},
        {"report", FileNames::Report,
         [](const QDir& dir) {
             return textOf(writeReportFile(dir.path(), scheduleReport(roundRobinIn(dir))));
         }},
        {"ladya-cli report -o", "out.html",
         [](const QDir& dir) {
             const CliOutput out = runCli({"report", "crosstable", dir.filePath("Кубок.kr2"), "-o",
                                           dir.filePath("out.html")});
             return out.status == 2 ? QString::fromUtf8(out.err) : QString();
         }},
        {"ladya-cli commit -o", "next.swz",
         [](const QDir& dir) {
             const CliOutput out = runCli({"commit", dir.filePath("Швейцарка.swz"), "--pairs",
                                           "2-1", "-o", dir.filePath("next.swz")});
             return out.status == 2 ? QString::fromUtf8(out.err) : QString();
         }},
    };
    return paths;
}

// The working folder every case starts from: each file a path writes already exists.
void fillFolder(const QDir& dir) {
    test::writeBytes(dir.filePath(FileNames::Players), Players);
    test::writeBytes(dir.filePath(FileNames::History), History);
    test::writeBytes(dir.filePath(FileNames::Club), Club);
    test::writeBytes(dir.filePath(FileNames::Report), "<html>earlier report</html>\r\n");
    test::writeBytes(dir.filePath("out.html"), "<html>earlier output</html>\r\n");
    test::writeBytes(dir.filePath("next.swz"), "earlier commit\r\n");
    test::writeBytes(dir.filePath("Кубок.kr2"), joinLinesCrLf(RoundRobinLines));
    test::writeBytes(dir.filePath("Кубок.krx"), "Ladya-KRX|1\r\ntiebreaks|SB\r\n");
    test::writeBytes(dir.filePath("Швейцарка.swz"), joinLinesCrLf(SwissLines));
}

QMap<QString, QByteArray> snapshot(const QDir& dir) {
    QMap<QString, QByteArray> files;
    QDirIterator it(dir.path(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(dir.relativeFilePath(path),
                     QFileInfo(path).isDir() ? QByteArray("<folder>") : test::readBytes(path));
    }
    return files;
}

// Runs `write` in a child process under the fault; its message comes back through a
// pipe. nullopt when the child did not finish normally.
std::optional<QString> runInChild(Fault fault, const std::function<QString()>& write) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return std::nullopt;
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeEnds[0]);
        if (fault == Fault::FullDisk) {
            // A write beyond the limit fails with EFBIG, as on a full disk, instead of
            // ending the process.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{8, 8};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (fault == Fault::ReadOnlyFolder && geteuid() == 0 && setuid(65534) != 0)
            _exit(3);
        const QByteArray message = write().toUtf8();
        const bool sent =
            ::write(pipeEnds[1], message.constData(), size_t(message.size())) == message.size();
        _exit(sent ? 0 : 4);
    }
    close(pipeEnds[1]);
    QByteArray received;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        received.append(buffer, n);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return QString::fromUtf8(received);
}

} // namespace

TEST(WriteFaults, EveryWritePathReportsTheFailureAndKeepsEveryFile) {
    for (const WritePath& path : writePaths()) {
        // The path works on a sound disk.
        {
            QTemporaryDir root;
            const QDir dir(root.path());
            fillFolder(dir);
            // A path may create its file: then there is none before.
            const std::optional<QByteArray> before = readFileBytes(dir.filePath(path.target));
            const QString shown = path.run(dir);
            EXPECT_NE(readFileBytes(dir.filePath(path.target)), before)
                << path.name << ": " << shown.toStdString();
        }
        for (Fault fault : {Fault::FullDisk, Fault::ReadOnlyFolder, Fault::FolderInPlace}) {
            SCOPED_TRACE(std::string(path.name) + ", " + faultName(fault));
            QTemporaryDir root;
            const QDir dir(root.path());
            fillFolder(dir);
            const QString target = dir.filePath(path.target);
            if (fault == Fault::FolderInPlace) {
                QFile::remove(target);
                ASSERT_TRUE(dir.mkdir(path.target));
            }
            const QMap<QString, QByteArray> before = snapshot(dir);
            if (fault == Fault::ReadOnlyFolder) {
                // The lesser user of the child must reach the folder and read its files.
                chmod(QFile::encodeName(root.path()).constData(), 0555);
                for (const QString& name : before.keys())
                    chmod(QFile::encodeName(dir.filePath(name)).constData(), 0644);
            }
            const std::optional<QString> shown = runInChild(fault, [&] { return path.run(dir); });
            chmod(QFile::encodeName(root.path()).constData(), 0700);
            ASSERT_TRUE(shown);
            EXPECT_FALSE(shown->isEmpty()) << "no failure reported";
            EXPECT_TRUE(shown->contains(QDir::toNativeSeparators(target)))
                << "the file is not named: " << shown->toStdString();
            EXPECT_FALSE(shown->contains("Unknown error")) << shown->toStdString();
            EXPECT_EQ(snapshot(dir), before);
        }
    }
}

TEST(WriteFaults, TheReasonSaysWhatHappened) {
    QTemporaryDir root;
    const QDir dir(root.path());
    fillFolder(dir);
    const std::optional<QString> full = runInChild(Fault::FullDisk, [&] {
        return writeFileAtomic(dir.filePath(FileNames::Report), QByteArray(100, 'x'))
            .failure()
            .text;
    });
    ASSERT_TRUE(full);
    EXPECT_EQ(*full, "файл больше, чем разрешено записывать");
    ASSERT_TRUE(dir.mkdir("folder"));
    EXPECT_EQ(writeFileAtomic(dir.filePath("folder"), "x").failure().text,
              "на месте файла находится папка");
    EXPECT_EQ(writeFileAtomic(dir.filePath("none/x"), "x").failure().text, "нет такой папки");
}

// A disk mounted read-only, where the system allows a test to mount one (as root).
TEST(WriteFaults, ReadOnlyDiskIsReportedAndKeepsEveryFile) {
    QTemporaryDir root;
    const QByteArray mountPoint = QFile::encodeName(root.path());
    if (geteuid() != 0 || mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const QDir dir(root.path());
    fillFolder(dir);
    const QMap<QString, QByteArray> before = snapshot(dir);
    ASSERT_EQ(mount("tmpfs", mountPoint.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m"),
              0);
    for (const WritePath& path : writePaths()) {
        const QString shown = path.run(dir);
        EXPECT_TRUE(shown.contains(QDir::toNativeSeparators(dir.filePath(path.target))))
            << path.name << ": " << shown.toStdString();
        EXPECT_TRUE(shown.contains("диск доступен только для чтения"))
            << path.name << ": " << shown.toStdString();
        EXPECT_EQ(snapshot(dir), before) << path.name;
    }
    umount(mountPoint.constData());
}
