// A report page as the printer and the PDF writer take it: the page itself and what
// the printed sheets add around it.
#pragma once

#include <QString>
#include <QVector>

namespace ladya {

struct PrintDocument {
    QString html; // the page exactly as file.html holds it
    // The widths (CSS pixels) the page's column groups ask for, one per column from the
    // first; a browser widens a column whose text needs more. Empty: every column is
    // as wide as its text.
    QVector<int> columnWidths;
    // The first row holds the column titles and heads every printed sheet (crosstables).
    bool repeatFirstRow = false;
    QString header;           // left in every sheet's header: the tournament and its dates
    QString pageNumberFormat; // right in the header: %1 the sheet, %2 the number of sheets
};

// A table cell's text as a printed sheet shows it. A name stored longer than a new name
// may be (Limits::PlayerNameLength) would widen its column until the sheet is scaled past
// reading: it is cut to that length, its last character "…". The schedule puts a pair in
// one cell as "white - black"; each name is cut on its own. The HTML page keeps the
// texts whole.
QString printedCellText(const QString& text);

} // namespace ladya
