// What follows a written report: the printed form of the page, and the question that
// offers to open it in the browser or to print it.
#pragma once

#include "common/message.h"
#include "common/print_document.h"
#include "common/tournament_state.h"
#include "reports/html_frame.h"

#include <QStringList>

namespace ladya {

// The page as the printer takes it, `header` heading every sheet with the page number.
// Crosstables (the landscape pages) repeat their column titles on every sheet.
PrintDocument printDocument(const html::HtmlReport& report, const QString& header);

// "name, 01.05.2027 - 03.05.2027"; a tournament still in play reads "name, с 01.05.2027".
QString tournamentPageHeader(const QString& name, const TournamentState& state);

// The question after file.html is written at `path`: one box whose choices are
// reportChoices(), in this order.
enum class ReportChoice { OpenInBrowser, Print, Close };
Message reportWrittenMessage(const QString& path);
QStringList reportChoices();
// The choice of the box's answer (its index in reportChoices(), -1 when it was closed).
ReportChoice reportChoice(int answer);

// The browser could not be started for the page at `path`.
Message browserFailedMessage(const QString& path);

} // namespace ladya
