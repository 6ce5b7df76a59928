#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace ladya::test {

// Path of a checked-in test file under tests/data.
QString dataPath(const QString& relative);
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

// Runs `write` with every write past `bytes` bytes of a file failing, as on a full disk
// (also for root).
void withFileSizeLimit(long bytes, const std::function<void()>& write);

// A checked-in report page "<tournament>.<kind>[.<number>].html" beside its tournament
// file "<tournament>.<extension>".
struct GoldenPage {
    QString name;       // the .html file
    QString tournament; // the tournament file
    QString kind;       // crosstable, schedule, stats, pairings or final
    int number = 0;     // the participant of a stats page, the round of a pairings page
};
// Every page of the folder under tests/data; an unexpected file name fails the test.
QVector<GoldenPage> goldenPages(const QString& folder, const QString& extension);
// Rewrites a golden page with what the program gives when LADYA_UPDATE_GOLDEN is set
// (after a change of figures on purpose; the pages are then checked again by hand).
void updateGoldenIfAsked(const QString& path, const QByteArray& bytes);

// The real ladya-cli program run to its end (status −1 when it did not finish).
struct ProgramRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};
ProgramRun runProgram(const QStringList& args);

} // namespace ladya::test
