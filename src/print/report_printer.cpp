#include "print/report_printer.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>
#include <cmath>
#include <memory>

namespace ladya::print {

namespace {

// Lengths are laid out in CSS pixels, 96 to the inch, whatever the screen: the page's
// widths and borders are pixels.
constexpr qreal CssDpi = 96.0;
constexpr qreal MarginMm = 10.0;
constexpr qreal CellPadding = 1.0;   // a browser's default for a table that names none
constexpr qreal HeaderHeight = 26.0; // the header line, its rule and the gap below it
constexpr qreal HeaderTextHeight = 18.0;
// Laid out on a sheet this wide, a table takes the width its text asks for.
constexpr qreal UnboundedWidth = 100000.0;

QFont pageFont(int pixelSize) {
    // The browser's default face; fontconfig gives its metric twin where it is missing.
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("DejaVu Serif")});
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelSize);
    return font;
}

void collectTables(QTextFrame* frame, QVector<QTextTable*>& tables) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child))
            tables.append(table);
        collectTables(child, tables);
    }
}

bool isEmptyRow(const QTextTable& table, int row) {
    for (int column = 0; column < table.columns(); ++column) {
        const QTextTableCell cell = table.cellAt(row, column);
        if (cell.firstPosition() != cell.lastPosition())
            return false;
    }
    return true;
}

// Cuts the over-long names of the table's one-column cells, keeping each cell's look.
// A cell spanning columns holds a heading, which has the width of several to take it.
void cutLongNames(QTextTable& table) {
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() != row || cell.column() != column || cell.columnSpan() != 1)
                continue;
            QTextCursor cursor = cell.firstCursorPosition();
            cursor.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
            const QString text = cursor.selectedText();
            if (text.contains(QChar::ParagraphSeparator))
                continue;
            const QString printed = printedCellText(text);
            if (printed == text)
                continue;
            QTextCursor first = cell.firstCursorPosition();
            first.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
            cursor.insertText(printed, first.charFormat());
        }
    }
}

// The width a cell's text takes unbroken, with the cell's padding and borders.
qreal cellWidth(const QTextTableCell& cell) {
    qreal widest = 0;
    for (QTextFrame::iterator it = cell.begin(); !it.atEnd(); ++it) {
        const QTextLayout* layout = it.currentBlock().layout();
        for (int line = 0; layout && line < layout->lineCount(); ++line)
            widest = std::max(widest, layout->lineAt(line).naturalTextWidth());
    }
    // Whole pixels, one to spare: a column exactly as wide as its text may still break
    // it where Qt rounds.
    return std::ceil(widest) + 2 * CellPadding + 2 + 1;
}

// The column widths a browser gives a table whose width is not set: each column as
// wide as its widest text, or as its group asks when that is more; a cell spanning
// columns too narrow for its text widens them in proportion. Qt's own spreading of a
// spanning cell over its columns would widen a narrow "№" column for a title row.
QVector<QTextLength> browserColumnWidths(const QTextTable& table, const QVector<int>& hints) {
    QVector<qreal> widths(table.columns(), 0.0);
    for (int column = 0; column < table.columns(); ++column)
        widths[column] = hints.value(column);
    QVector<QTextTableCell> spanning;
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue;
            if (cell.columnSpan() > 1)
                spanning.append(cell);
            else
                widths[column] = std::max(widths.at(column), cellWidth(cell));
        }
    }
    for (const QTextTableCell& cell : spanning) {
        const int first = cell.column();
        const int last = std::min<int>(first + cell.columnSpan(), table.columns());
        qreal have = 0;
        for (int column = first; column < last; ++column)
            have += widths.at(column);
        const qreal need = cellWidth(cell);
        if (need <= have || last <= first)
            continue;
        for (int column = first; column < last; ++column)
            widths[column] = have > 0 ? widths.at(column) * need / have : need / (last - first);
    }
    QVector<QTextLength> lengths;
    for (const qreal w : widths)
        lengths.append(QTextLength(QTextLength::FixedLength, w));
    return lengths;
}

// What a browser does with the page and Qt's text document does not by itself (and
// what a sheet needs besides: over-long names cut): the default cell padding, no word broken
// inside, the browser's column widths, a row of empty cells that takes no room, and the column
// titles repeated on each sheet.
std::unique_ptr<QTextDocument> layOut(const PrintDocument& document) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setUseDesignMetrics(true);
    doc->setDocumentMargin(0);
    doc->setDefaultFont(pageFont(16));
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WordWrap);
    doc->setDefaultTextOption(option);
    doc->setHtml(document.html);
    doc->setTextWidth(UnboundedWidth);

    QVector<QTextTable*> tables;
    collectTables(doc->rootFrame(), tables);
    for (QTextTable* table : std::as_const(tables))
        cutLongNames(*table);
    doc->size(); // lays the text out, so that its widths can be measured
    QVector<QVector<QTextLength>> widths;
    for (const QTextTable* table : tables)
        widths.append(browserColumnWidths(*table, document.columnWidths));
    for (qsizetype t = 0; t < tables.size(); ++t) {
        QTextTable* table = tables.at(t);
        QTextTableFormat format = table->format();
        format.setCellPadding(CellPadding);
        if (document.repeatFirstRow)
            format.setHeaderRowCount(1);
        format.setColumnWidthConstraints(widths.at(t));
        table->setFormat(format);
        for (int row = 0; row < table->rows(); ++row) {
            if (!isEmptyRow(*table, row))
                continue;
            QTextCharFormat tiny;
            tiny.setProperty(QTextFormat::FontPixelSize, 1);
            for (int column = 0; column < table->columns(); ++column)
                table->cellAt(row, column).firstCursorPosition().setBlockCharFormat(tiny);
        }
    }
    return doc;
}

qreal mmToCss(qreal mm) {
    return mm / 25.4 * CssDpi;
}

} // namespace

ReportPrinter::ReportPrinter(PrintDocument document)
    : m_document(std::move(document)), m_layout(layOut(m_document)),
      m_naturalWidth(m_layout->idealWidth()) {}

ReportPrinter::~ReportPrinter() = default;

QPageLayout ReportPrinter::pageLayout() const {
    const QPageSize a4(QPageSize::A4);
    const qreal portraitWidth = mmToCss(a4.size(QPageSize::Millimeter).width() - 2 * MarginMm);
    const auto orientation =
        m_naturalWidth <= portraitWidth ? QPageLayout::Portrait : QPageLayout::Landscape;
    return QPageLayout(a4, orientation, QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm),
                       QPageLayout::Millimeter);
}

int ReportPrinter::paint(QPagedPaintDevice& device) {
    const qreal unit = device.logicalDpiX() / CssDpi; // device pixels per CSS pixel
    const QRect sheet = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const qreal width = sheet.width() / unit;
    const qreal height = sheet.height() / unit;
    const qreal scale = m_naturalWidth > width ? width / m_naturalWidth : 1.0;

    const QSizeF page(width / scale, (height - HeaderHeight) / scale);
    m_layout->setPageSize(page);
    const int sheets = m_layout->pageCount();

    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    for (int k = 0; k < sheets; ++k) {
        if (k > 0 && !device.newPage())
            return 0;
        painter.save();
        painter.scale(unit, unit);
        painter.setFont(pageFont(13));
        painter.setPen(Qt::black);
        const QRectF line(0, 0, width, HeaderTextHeight);
        const QString number = m_document.pageNumberFormat.arg(k + 1).arg(sheets);
        painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, number);
        const qreal room = width - painter.fontMetrics().horizontalAdvance(number) - 16;
        painter.drawText(
            QRectF(0, 0, room, HeaderTextHeight), Qt::AlignLeft | Qt::AlignVCenter,
            painter.fontMetrics().elidedText(m_document.header, Qt::ElideRight, int(room)));
        painter.setPen(QPen(Qt::black, 0.75));
        painter.drawLine(QPointF(0, HeaderTextHeight + 2), QPointF(width, HeaderTextHeight + 2));

        painter.translate(0, HeaderHeight);
        painter.scale(scale, scale);
        painter.translate(0, -k * page.height());
        context.clip = QRectF(0, k * page.height(), page.width(), page.height());
        painter.setClipRect(context.clip);
        m_layout->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return painter.end() ? sheets : 0;
}

QByteArray renderPdf(const PrintDocument& document) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    ReportPrinter printer(document);
    int sheets = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(600);
        writer.setCreator(QStringLiteral("Ladya"));
        writer.setTitle(document.header);
        writer.setPageLayout(printer.pageLayout());
        sheets = printer.paint(writer);
    }
    return sheets > 0 ? bytes : QByteArray();
}

} // namespace ladya::print
