// What the final standings page of either kind shows, and the legend every page with
// abbreviated column titles carries below its table.
#pragma once

#include "reports/html_frame.h"
#include "scoring/tiebreaks.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace ladya {

struct FinalStandings {
    QString tournamentName;
    QStringList valueTitles; // the tie-break columns after the points
    QStringList legend;      // one line per abbreviation: "BH-C1 — ..."
    struct Row {
        QString place; // "3", or "3–4" for a shared place
        QString number;
        QString name;
        QString rating;
        QString points;
        QStringList values;
    };
    QVector<Row> rows;
};

// The page: title, tournament, the table and the legend below it.
html::HtmlReport finalStandingsReport(const FinalStandings& standings);

// The legend lines of a list's tie-breaks (tieBreakLegend of each entry).
QStringList tieBreakLegendLines(const TieBreakList& list);

// Below a table of `span` columns: a spacer, "Обозначения:" and one line per entry.
void addLegend(html::HtmlReport& report, const QStringList& lines, int span);

} // namespace ladya
