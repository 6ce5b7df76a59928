// Report pages on paper and in PDF, drawn as a browser shows them: Qt's own text
// document lays the page out with the defaults a browser gives an HTML table and the
// width hints Qt does not read from the page, and every sheet gets a header line.
#pragma once

#include "common/print_document.h"

#include <QByteArray>
#include <QPageLayout>
#include <memory>

class QPagedPaintDevice;
class QTextDocument;

namespace ladya::print {

class ReportPrinter {
public:
    explicit ReportPrinter(PrintDocument document);
    ~ReportPrinter();
    ReportPrinter(const ReportPrinter&) = delete;
    ReportPrinter& operator=(const ReportPrinter&) = delete;

    // A4 with 1 cm margins, portrait when the page's table fits the width of a portrait
    // sheet, else landscape; a table wider than that is scaled down to fit.
    QPageLayout pageLayout() const;

    // Draws every sheet on `device` with the page layout it has (the print preview may
    // have changed the one suggested). Returns the number of sheets, 0 when the device
    // could not be painted on. The preview calls it again whenever its layout changes.
    int paint(QPagedPaintDevice& device);

private:
    PrintDocument m_document;
    std::unique_ptr<QTextDocument> m_layout; // laid out once; paint() only pages it
    qreal m_naturalWidth = 0; // the width the page's table needs, in CSS pixels (96 per inch)
};

// The whole PDF of `document`; empty when it could not be drawn.
QByteArray renderPdf(const PrintDocument& document);

} // namespace ladya::print
