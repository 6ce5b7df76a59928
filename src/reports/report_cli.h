// `ladya-cli report KIND FILE [N] [-o PATH]`, the part both kinds of tournament share:
// reading the arguments and delivering the page. Each kind loads its own file and
// renders its own reports.
#pragma once

#include "common/cli_output.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace ladya {

struct ReportRequest {
    QString kind; // one of the kinds the caller offered
    QString file;
    QString participant;               // the N of a stats report as typed, "" for the others
    std::optional<QString> outputPath; // -o PATH; nothing means stdout

    // N as a participant number of a tournament of `count` participants: nothing when
    // it is not a number in 1..count.
    std::optional<int> participantNumber(int count) const;
    // The refusal of an N that participantNumber did not take.
    CliOutput participantOutOfRange(int count) const;
};

struct ParsedReportRequest {
    std::optional<ReportRequest> request;
    CliOutput error; // set when !request
};

// `args` as given to runCli ("report" first). `kinds` are the reports the file's kind
// offers; "stats" takes N. -o may stand anywhere after FILE, once.
ParsedReportRequest parseReportRequest(const QStringList& args, const QStringList& kinds);

// The refusal of an -o that names a tournament or player file (.kr2, .swz, .dat): a
// page written there would lose the data it replaced.
std::optional<CliOutput> refuseDataFileOutput(const QString& path);

// The page exactly as file.html would receive it: on stdout, or with -o replacing PATH
// atomically.
CliOutput deliverReport(const ReportRequest& request, const QByteArray& page);

} // namespace ladya
