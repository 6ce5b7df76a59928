#include "reports/pairing_sheet.h"

#include "common/text_file.h"
#include "common/tournament_creation.h"
#include "reports/report_print.h"
#include "roundrobin/round_robin_standings.h"
#include "swiss/swiss_extras.h"
#include "swiss/swiss_standings.h"

#include <QCoreApplication>

namespace ladya {

namespace {

constexpr int Span = 8; // the columns of a line

QString tr(const char* text) {
    return QCoreApplication::translate("PairingSheet", text);
}

// The game in white–black notation from both sides' codes, "" while unplayed. A double
// forfeit keeps both losses.
QString resultText(const QString& whiteCode, const QString& blackCode) {
    if (whiteCode == QStringLiteral("-") && blackCode == QStringLiteral("-"))
        return QStringLiteral("(-)-(-)");
    if (whiteCode == QStringLiteral("1"))
        return QStringLiteral("1-0");
    if (whiteCode == QStringLiteral("0"))
        return QStringLiteral("0-1");
    if (whiteCode == QStringLiteral("%"))
        return QStringLiteral("1/2-1/2");
    if (whiteCode == QStringLiteral("+"))
        return QStringLiteral("(+)-(-)");
    if (whiteCode == QStringLiteral("-"))
        return QStringLiteral("(-)-(+)");
    return QString();
}

// The bye's line: the player on White's side, "без пары" on Black's, the result read
// from the player's side.
QStringList byeLine(const QString& name, const QString& points, const QString& rating,
                    const QString& ownCode, const QString& otherCode) {
    return {QString(),      name,      points,    rating,
            tr("без пары"), QString(), QString(), resultText(ownCode, otherCode)};
}

QString absenceText(const RoundAbsence& a) {
    if (a.withdrawn)
        return tr("выбыл(а)");
    switch (a.kind) {
    case Absence::HalfBye:
        return tr("пропуск тура, ½ очка");
    case Absence::FullBye:
        return tr("пропуск тура, 1 очко");
    case Absence::ZeroBye:
        break;
    }
    return a.late ? tr("вступает в турнир позже, 0 очков") : tr("пропуск тура, 0 очков");
}

} // namespace

QString pairingSheetName() {
    return tr("Пары тура");
}

PairingSheet swissPairingSheet(const SwissTournament& t, int round) {
    PairingSheet sheet{
        tournamentPageHeader(tournamentNameOfFile(t.state.path), t.state), round, {}, {}};
    if (round < 1 || round > t.roundCount())
        return sheet;
    // The standings as they stood before the round: the rounds after it cut away.
    SwissTournament before = t;
    before.rounds.resize(round - 1);
    before.deriveCounts();
    const SwissStandings standings = computeSwissStandings(before);
    const auto points = [&](int number) {
        return t.hasParticipant(number) ? pointsText(standings.of(number).points) : QString();
    };
    const auto rating = [&](int number) {
        return t.hasParticipant(number) ? t.participant(number).rating : QString();
    };

    QStringList bye;
    for (int b = 1; b <= t.rounds[round - 1].size(); ++b) {
        const SwissGame& g = t.game(round, b);
        if (g.isEmpty())
            continue;
        const bool whiteHasBye = g.white == t.byeNumber;
        if (t.byeNumber != 0 && (whiteHasBye || g.black == t.byeNumber)) {
            const int player = whiteHasBye ? g.black : g.white;
            bye = whiteHasBye ? byeLine(t.nameOf(player), points(player), rating(player),
                                        g.blackResult, g.whiteResult)
                              : byeLine(t.nameOf(player), points(player), rating(player),
                                        g.whiteResult, g.blackResult);
            continue;
        }
        sheet.lines.append({QString::number(b), t.nameOf(g.white), points(g.white), rating(g.white),
                            t.nameOf(g.black), points(g.black), rating(g.black),
                            resultText(g.whiteResult, g.blackResult)});
    }
    if (!bye.isEmpty())
        sheet.lines.append(bye);
    for (const RoundAbsence& a : roundAbsences(t.extras, round, t.participantCount()))
        sheet.sittingOut.append(t.nameOf(a.participant) + QStringLiteral(" — ") + absenceText(a));
    return sheet;
}

int roundRobinRoundInPlay(const RoundRobinTournament& t) {
    for (int r = 1; r <= t.roundCount(); ++r) {
        for (int b = 1; b <= t.boardCount(); ++b) {
            if (!t.game(r, b).isPlayed())
                return r;
        }
    }
    return std::max(1, t.roundCount());
}

PairingSheet roundRobinPairingSheet(const RoundRobinTournament& t, int round) {
    PairingSheet sheet{
        tournamentPageHeader(tournamentNameOfFile(t.state.path), t.state), round, {}, {}};
    if (round < 1 || round > t.roundCount())
        return sheet;
    // The points before the round: the results of this round and the later ones cleared.
    RoundRobinTournament before = t;
    for (int r = round; r <= t.roundCount(); ++r) {
        for (int b = 1; b <= t.boardCount(); ++b)
            before.game(r, b).applyEntry(QString());
    }
    const RoundRobinStandings standings = computeStandings(before);
    const auto row = [&](const QString& name) {
        for (int k = 1; k <= t.participantCount(); ++k) {
            if (t.participant(k).name == name)
                return k;
        }
        return 0;
    };
    const auto points = [&](int k) {
        return k > 0 ? formatFixed(standings.of(k).points, 1) : QString();
    };
    const auto rating = [&](int k) { return k > 0 ? t.participant(k).rating : QString(); };
    const QString bye = QStringLiteral("**");

    QStringList byeEntry;
    for (int b = 1; b <= t.boardCount(); ++b) {
        const RoundRobinGame& g = t.game(round, b);
        const int white = row(g.white);
        const int black = row(g.black);
        if (g.white == bye || g.black == bye) {
            const bool whiteHasBye = g.white == bye;
            const int player = whiteHasBye ? black : white;
            byeEntry = byeLine(whiteHasBye ? g.black : g.white, points(player), rating(player),
                               whiteHasBye ? g.mirrorResult : g.result,
                               whiteHasBye ? g.result : g.mirrorResult);
            continue;
        }
        sheet.lines.append({QString::number(b), g.white, points(white), rating(white), g.black,
                            points(black), rating(black), resultText(g.result, g.mirrorResult)});
    }
    if (!byeEntry.isEmpty())
        sheet.lines.append(byeEntry);
    return sheet;
}

html::HtmlReport pairingSheetReport(const PairingSheet& sheet) {
    const QString left = QStringLiteral("LEFT");
    html::HtmlReport report(html::PageLayout::Narrow);
    report.addTextRow(sheet.heading, left, Span);
    report.addTextRow(tr("Пары тура %1").arg(sheet.round), QStringLiteral("CENTER"), Span);
    report.addSpacerRow(Span);
    report.addRow(html::CellStyle::BoxCenter,
                  {tr("Доска"), tr("Белые"), tr("Очки"), tr("Рейтинг"), tr("Черные"), tr("Очки"),
                   tr("Рейтинг"), tr("Результат")});
    for (const QStringList& line : sheet.lines) {
        QStringList cells;
        for (qsizetype k = 0; k < line.size(); ++k)
            cells << html::cell(k == 1 || k == 4 ? html::CellStyle::BoxLeft
                                                 : html::CellStyle::BoxCenter,
                                line.at(k));
        report.addRow(cells);
    }
    if (!sheet.sittingOut.isEmpty()) {
        report.addSpacerRow(Span);
        report.addTextRow(tr("Не играют в этом туре:"), left, Span);
        for (const QString& line : sheet.sittingOut)
            report.addTextRow(line, left, Span);
    }
    return report;
}

} // namespace ladya
