// ladya-cli's argument handling: any arguments (one per input line) end in status 0 or
// 2, a failure says why on stderr, and no command leaves a tournament file behind that
// does not load. Everything runs in a scratch folder holding a round-robin, a Swiss
// tournament and a club folder; a "/" in an argument is taken as "_" so that no write
// can leave that folder.
#include "app/cli.h"
#include "fuzz_support.h"
#include "roundrobin/round_robin_file.h"
#include "swiss/swiss_file.h"

#include <QDirIterator>
#include <QRegularExpression>

using namespace ladya;

namespace {

struct Seed {
    QString name;
    QByteArray bytes;
};

const QVector<Seed>& seeds() {
    static const QVector<Seed> files = [] {
        const QString data = QStringLiteral(LADYA_FUZZ_DATA_DIR);
        const auto read = [](const QString& path) {
            std::optional<QByteArray> bytes = readFileBytes(path);
            LADYA_FUZZ_CHECK(bytes.has_value());
            return *bytes;
        };
        return QVector<Seed>{
            {QStringLiteral("t.kr2"),
             read(data + QStringLiteral("/roundrobin/four_players_two_cycles.kr2"))},
            {QStringLiteral("s.swz"), read(data + QStringLiteral("/reports/swiss/new_five.swz"))},
            {QStringLiteral("club/players.dat"),
             read(data + QStringLiteral("/club/sample/players.dat"))},
            {QStringLiteral("club/history_players.dat"),
             read(data + QStringLiteral("/club/sample/history_players.dat"))},
            {QStringLiteral("club/players_club.dat"),
             read(data + QStringLiteral("/club/sample/players_club.dat"))}};
    }();
    return files;
}

// Only what a command changed is put back: most commands write nothing.
void resetFolder(const QString& dir) {
    QDir folder(dir);
    static const QStringList kept = {QStringLiteral("t.kr2"), QStringLiteral("s.swz"),
                                     QStringLiteral("club")};
    if (folder.exists()) {
        for (const QString& name : folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            if (kept.contains(name))
                continue;
            if (!QFile::remove(dir + u'/' + name))
                QDir(dir + u'/' + name).removeRecursively();
        }
    }
    QDir().mkpath(dir + QStringLiteral("/club"));
    for (const Seed& seed : seeds()) {
        const QString path = dir + u'/' + seed.name;
        if (readFileBytes(path) == seed.bytes)
            continue;
        QDir(path).removeRecursively();
        LADYA_FUZZ_CHECK(writeFileAtomic(path, seed.bytes).ok());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString dir = fuzz::scratchDir() + QStringLiteral("/cli");
    static const QString home = QDir::currentPath();
    resetFolder(dir);
    // Relative names in the arguments land in the scratch folder; libFuzzer reads its
    // corpus relative to where it started, so that is restored after every run.
    LADYA_FUZZ_CHECK(QDir::setCurrent(dir));
    struct Restore {
        ~Restore() { QDir::setCurrent(home); }
    } restore;

    // An argument of a real command line ends at its first NUL.
    static const QRegularExpression argumentEnd(QStringLiteral("[\\n\\x{0}]"));
    QStringList args = QString::fromUtf8(fuzz::inputBytes(data, size)).split(argumentEnd);
    if (args.size() > 16)
        return 0;
    for (QString& arg : args)
        arg.replace(u'/', u'_');

    const CliOutput output = runCli(args);
    LADYA_FUZZ_CHECK(output.status == 0 || output.status == 2);
    if (output.status == 2)
        LADYA_FUZZ_CHECK(!output.err.isEmpty());

    // A report may be written under any name, a tournament's included; every other
    // command leaves only files that load.
    if (args.first() == QStringLiteral("report"))
        return 0;
    QDirIterator files(dir, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (path.endsWith(QStringLiteral("kr2")))
            LADYA_FUZZ_CHECK(loadRoundRobin(path).ok());
        else if (path.endsWith(QStringLiteral("swz")))
            LADYA_FUZZ_CHECK(loadSwiss(path).ok());
    }
    return 0;
}
