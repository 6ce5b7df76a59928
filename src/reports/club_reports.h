// The two pages of the club rating list: the list itself and one member's rating
// changes. Both copy the rows of their window's list as shown; they compute nothing.
#pragma once

#include "reports/html_frame.h"

#include <QDate>
#include <QStringList>
#include <QVector>

namespace ladya {

// Rows at most written by the rating-change page.
inline constexpr int RatingChangeReportMaxRows = 1000;

// The title with the date of writing, then "№", "ФИО", "Рейтинг", "Дата" of every row
// (the club list's rows: "№", "ФИО", "Рейтинг", "Дата", "Город"; the city is left out).
html::HtmlReport clubListReport(const QVector<QStringList>& rows, const QDate& date);

// The title, then the four columns of the rows from the first on, up to the first row
// with an empty name and at most RatingChangeReportMaxRows of them.
html::HtmlReport ratingChangeReport(const QVector<QStringList>& rows);

// The headers of the printed sheets: the list and its date; the member whose changes
// the page lists (the page itself does not name the member).
QString clubListPageHeader(const QDate& date);
QString ratingChangePageHeader(const QString& name, const QString& city);

} // namespace ladya
