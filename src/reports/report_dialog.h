// What a report button does: writes file.html, says where, and in the same box offers
// to open the page in the browser or to print it (and so save it as PDF).
#pragma once

#include "reports/html_frame.h"
#include "ui/platform.h"

class QWidget;

namespace ladya {

// Writes `report` as file.html in `workingDir` and asks what to do with it; a page that
// cannot be written is reported instead. `header` heads the printed sheets.
void writeAndOfferReport(ui::Platform& platform, QWidget* parent, const QString& workingDir,
                         const html::HtmlReport& report, const QString& header);

} // namespace ladya
