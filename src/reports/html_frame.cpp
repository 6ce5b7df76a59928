#include "reports/html_frame.h"

#include <algorithm>

namespace ladya::html {

namespace {

const QString Placeholder = QStringLiteral("get_table_column_text");

QString boxTemplate(const QString& alignment) {
    return QStringLiteral("<TD STYLE=\"border-top: 1px solid #000000; border-bottom: 1px solid "
                          "#000000; border-left: 1px solid #000000; border-right: 1px solid "
                          "#000000\" ALIGN=\"") +
           alignment + QStringLiteral("\"><B>get_table_column_text</B></TD>");
}

const QString& cellTemplate(CellStyle style) {
    static const QString boxCenter = boxTemplate(QStringLiteral("CENTER"));
    static const QString boxLeft = boxTemplate(QStringLiteral("LEFT"));
    static const QString center =
        QStringLiteral("<TD ALIGN=\"CENTER\"><B>get_table_column_text</B></TD>");
    switch (style) {
    case CellStyle::BoxCenter:
        return boxCenter;
    case CellStyle::BoxLeft:
        return boxLeft;
    case CellStyle::Center:
        break;
    }
    return center;
}

QString head(PageLayout layout, int columnCount) {
    QString h =
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">"
                       "\n<HTML>"
                       "\n<HEAD>"
                       "\n<META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"text/html; charset=utf-8\">"
                       "\n<TITLE></TITLE>"
                       "\n<META NAME=\"CREATED\" CONTENT=\"20121223;10141600\">"
                       "\n<META NAME=\"CHANGED\" CONTENT=\"20121223;11005400\">");
    if (layout == PageLayout::Landscape)
        h += QStringLiteral("\n<STYLE TYPE=\"text/css\">\t<!--\t\t@page { size: 29.7cm 21cm; "
                            "margin: 1cm }\t\tP { margin-bottom: 0.21cm }\t-->\t</STYLE>");
    h += QStringLiteral("\n</HEAD>\n<BODY TEXT=\"#000000\">");
    if (layout == PageLayout::Landscape)
        h +=
            QStringLiteral("\n<TABLE CELLSPACING=\"0\" COLS=\"%1\" BORDER=\"0\">").arg(columnCount);
    else
        h += QStringLiteral("\n<TABLE CELLSPACING=\"0\" COLS=1 BORDER=\"0\">");
    return h;
}

QString tail() {
    return QStringLiteral("\n</TABLE>\n<!-- ") + QString(74, u'*') +
           QStringLiteral(" -->\n</BODY>\n</HTML>");
}

} // namespace

QString escape(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'"':
            out += QStringLiteral("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString cell(CellStyle style, const QString& text) {
    QString c = cellTemplate(style);
    c.replace(Placeholder, escape(text));
    return c;
}

QStringList crosstableCells(const QStringList& texts) {
    QStringList cells;
    cells.reserve(texts.size());
    for (qsizetype k = 0; k < texts.size(); ++k)
        cells << cell(k == 1 ? CellStyle::BoxLeft : CellStyle::BoxCenter, texts.at(k));
    return cells;
}

HtmlReport::HtmlReport(PageLayout layout, int columnCount)
    : m_layout(layout), m_body(head(layout, columnCount)) {}

void HtmlReport::addRow(const QStringList& cells) {
    m_body += QStringLiteral("\n<TR>");
    for (const QString& c : cells) {
        m_body += u'\n';
        m_body += c;
    }
    m_body += QStringLiteral("\n</TR>");
}

void HtmlReport::addRow(CellStyle style, const QStringList& texts) {
    QStringList cells;
    cells.reserve(texts.size());
    for (const QString& t : texts)
        cells.append(cell(style, t));
    addRow(cells);
}

void HtmlReport::addTextRow(const QString& text, const QString& alignment, int span) {
    m_body += QStringLiteral("\n<TR> <TD ");
    if (span > 0)
        m_body += QStringLiteral("COLSPAN=%1 ").arg(span);
    m_body += QStringLiteral("ALIGN=\"") + alignment + QStringLiteral("\"><B>") + escape(text) +
              QStringLiteral("</B></TD></TR>");
}

void HtmlReport::addSpacerRow(int span) {
    addTextRow(QStringLiteral("."), QStringLiteral("LEFT"), span);
}

void HtmlReport::addRaw(const QString& markup) {
    m_body += markup;
}

void HtmlReport::addColumnGroup(int width, int span) {
    m_body += QStringLiteral("\n<COLGROUP ");
    if (span > 0)
        m_body += QStringLiteral("SPAN=\"%1\" ").arg(span);
    m_body += QStringLiteral("WIDTH=\"%1\"></COLGROUP>").arg(width);
    for (int k = 0; k < std::max(span, 1); ++k)
        m_columnWidths.append(width);
}

QString HtmlReport::text() const {
    return m_body + tail();
}

QByteArray HtmlReport::bytes() const {
    return text().toUtf8() + "\r\n";
}

Result<> writeReport(const QString& path, const HtmlReport& report) {
    return writeFileAtomic(path, report.bytes());
}

} // namespace ladya::html
