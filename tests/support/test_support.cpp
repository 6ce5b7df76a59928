#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace ladya::test {

QString dataPath(const QString& relative) {
    return QStringLiteral(LADYA_TEST_DATA_DIR "/") + relative;
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

void withFileSizeLimit(long bytes, const std::function<void()>& write) {
    std::signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead of ending the test
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = rlim_t(bytes);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    write();
    setrlimit(RLIMIT_FSIZE, &saved);
}

QVector<GoldenPage> goldenPages(const QString& folder, const QString& extension) {
    static const QRegularExpression pattern(
        QStringLiteral("^(.+)\\.(crosstable|schedule|stats|pairings|final)(?:\\.(\\d+))?\\.html$"));
    const QDir data(dataPath(folder));
    QVector<GoldenPage> pages;
    for (const QString& name :
         data.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch m = pattern.match(name);
        if (!m.hasMatch()) {
            ADD_FAILURE() << "unexpected file name " << name.toStdString();
            continue;
        }
        pages.append({data.filePath(name), data.filePath(m.captured(1) + u'.' + extension),
                      m.captured(2), m.captured(3).toInt()});
    }
    return pages;
}

void updateGoldenIfAsked(const QString& path, const QByteArray& bytes) {
    if (qEnvironmentVariableIsSet("LADYA_UPDATE_GOLDEN"))
        writeBytes(path, bytes);
}

ProgramRun runProgram(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(LADYA_CLI_PATH), args);
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

} // namespace ladya::test
