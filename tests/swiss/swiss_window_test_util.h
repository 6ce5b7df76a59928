// Driving the Swiss window offscreen: the player database its tournaments are chosen
// from, result entry and the information line.
#pragma once

#include "support/window_test_util.h"
#include "swiss/swiss_controller.h"

#include <QLabel>

namespace ladya::test {

// Sixteen players, ratings 2150 down to 1400 by 50.
inline QByteArray swissPlayersFile() {
    QByteArray bytes;
    for (int i = 1; i <= 16; ++i)
        bytes += QStringLiteral("ИГРОК %1|%2|1|%3|Новый участник|01.11.2026\r\n")
                     .arg(i, 2, 10, QLatin1Char('0'))
                     .arg(i % 2 ? QStringLiteral("МОСКВА") : QStringLiteral("ТУЛА"))
                     .arg(2200 - 50 * i)
                     .toUtf8();
    return bytes;
}

// The result `entry` stored for `board` of the round shown, as the user enters it.
inline void enterResult(QWidget* w, int board, const QString& entry) {
    clickRow(list(w, "gameList"), board - 1);
    child<ui::DropDown>(w, "resultSelector")
        ->setCurrentIndex(int(swissResultEntries().indexOf(entry)));
    QTest::mouseClick(button(w, "storeButton"), Qt::LeftButton);
}

inline QString statusLine(QWidget* w) {
    return child<QLabel>(w, "infoLabel")->text();
}

} // namespace ladya::test
