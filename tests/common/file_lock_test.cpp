#include "common/file_lock.h"
#include "common/text_file.h"
#include "support/test_support.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ladya {
namespace {

TEST(FileLock, AnotherHolderOfTheSameFileIsRefusedAndNamed) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Кубок.swz"));
    FileLock first(path);
    ASSERT_TRUE(first.tryLock());

    QLockFile second(path + QStringLiteral(".lock"));
    EXPECT_FALSE(second.tryLock(0));
    EXPECT_EQ(second.error(), QLockFile::LockFailedError);

    const Message message = tournamentLockedMessage(first);
    EXPECT_TRUE(
        message.text.startsWith(QStringLiteral("Турнир уже открыт в другой копии программы")));
    EXPECT_TRUE(message.text.contains(QString::number(QCoreApplication::applicationPid())));

    first.unlock();
    EXPECT_TRUE(second.tryLock(0));
}

TEST(FileLock, LockLeftByAProgramNoLongerRunningIsTakenOver) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("players.dat"));
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    // As a copy killed while it held the file leaves it: its id, name and host.
    test::writeBytes(path + QStringLiteral(".lock"), QByteArray::number(child) + "\nladya\n" +
                                                         QSysInfo::machineHostName().toUtf8() +
                                                         "\n");
    FileLock lock(path);
    EXPECT_TRUE(lock.tryLock());
}

// Found by the crash harness: a copy killed between creating its lock file and writing
// its id left an empty file that held the database for ever.
TEST(FileLock, EmptyLockFileOfAKilledCopyIsTakenOver) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("players.dat"));
    test::writeBytes(path + QStringLiteral(".lock"), QByteArray());
    QFile lockFile(path + QStringLiteral(".lock"));
    ASSERT_TRUE(lockFile.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-10),
                                     QFileDevice::FileModificationTime));
    lockFile.close();
    FileLock lock(path);
    EXPECT_TRUE(lock.tryLock());
    EXPECT_TRUE(lock.isLocked());
}

// Found by fuzzing the CLI: the system cut the lock file's name at the NUL and left
// an empty "t.kr2" behind.
TEST(FileLock, NameNoFileCanHaveLeavesNoFileBehind) {
    QTemporaryDir dir;
    FileLock lock(dir.filePath(QStringLiteral("t.kr2")) + QChar(0) + QStringLiteral("x"));
    EXPECT_TRUE(lock.tryLock());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(FileLock, CliRefusesToWriteATournamentOpenElsewhere) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.swz"));
    const QByteArray original =
        test::readBytes(test::dataPath(QStringLiteral("reports/swiss/new_five.swz")));
    test::writeBytes(path, original);
    const QString out = dir.filePath(QStringLiteral("out.swz"));
    const QStringList commit = {QStringLiteral("commit"), path, QStringLiteral("--pairs"),
                                QStringLiteral("1-2,3-4,5-6")};

    FileLock open(path);
    ASSERT_TRUE(open.tryLock());
    const test::ProgramRun refused = test::runProgram(commit);
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(refused.err.contains(QByteArray::number(QCoreApplication::applicationPid())))
        << refused.err.toStdString();
    EXPECT_EQ(test::readBytes(path), original);

    FileLock openOut(out);
    ASSERT_TRUE(openOut.tryLock());
    EXPECT_EQ(test::runProgram({QStringLiteral("report"), QStringLiteral("crosstable"), path,
                                QStringLiteral("-o"), out})
                  .status,
              2);
    EXPECT_FALSE(QFile::exists(out));

    open.unlock();
    EXPECT_EQ(test::runProgram(commit).status, 0);
    EXPECT_NE(test::readBytes(path), original);
}

} // namespace
} // namespace ladya
