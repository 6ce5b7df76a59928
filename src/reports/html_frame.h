// The frame every report page shares: head, cell templates, rows and tail. A report
// is assembled in memory and written to file.html in one piece.
#pragma once

#include "common/text_file.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace ladya::html {

enum class CellStyle {
    BoxCenter, // bordered on all four sides, centred
    BoxLeft,   // bordered on all four sides, left-aligned
    Center,    // no border, centred
};

enum class PageLayout {
    Narrow,    // one column of portrait pages
    Landscape, // crosstables: A4 landscape with the page STYLE element
};

// Text as it must stand inside the page: & < > " become entities, so a name such as
// "<b>" or "Smith & Co" shows as typed and cannot add markup.
QString escape(const QString& text);

// One cell of the given style around the (escaped) text.
QString cell(CellStyle style, const QString& text);

// One crosstable row of either kind: every cell boxed, the name (the second column)
// left-aligned and every other column centred.
QStringList crosstableCells(const QStringList& texts);

class HtmlReport {
public:
    // `columnCount` is used by the landscape layout only.
    HtmlReport(PageLayout layout, int columnCount = 0);

    // A row of cells made by cell(), each on a line of its own.
    void addRow(const QStringList& cells);
    // A row of cells of one style.
    void addRow(CellStyle style, const QStringList& texts);
    // One cell spanning the table; `span` 0 writes no COLSPAN.
    void addTextRow(const QString& text, const QString& alignment, int span = 0);
    // The "." line that separates blocks.
    void addSpacerRow(int span = 0);
    // Raw markup placed between the head and the rows.
    void addRaw(const QString& markup);
    // A column group `width` pixels wide, on a line of its own: one column when `span`
    // is 0 (no SPAN written), else `span` columns.
    void addColumnGroup(int width, int span = 0);

    PageLayout layout() const { return m_layout; }
    // The width of each column the groups cover, from the first; empty without groups.
    const QVector<int>& columnWidths() const { return m_columnWidths; }

    // The whole document: head, rows and tail, lines separated by LF.
    QString text() const;
    // What file.html receives: UTF-8 without byte-order mark, then CR LF.
    QByteArray bytes() const;

private:
    PageLayout m_layout;
    QString m_body;
    QVector<int> m_columnWidths;
};

// Replaces `path` with the report, atomically.
Result<> writeReport(const QString& path, const HtmlReport& report);

} // namespace ladya::html
