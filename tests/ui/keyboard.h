#pragma once

#include <QTest>
#include <QWidget>

namespace ladya::test {

// Types text into a widget one key press per character. QTest::keyClicks accepts
// Latin-1 only, and the program is typed in Cyrillic.
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        const Qt::Key key = c.isDigit() ? Qt::Key(Qt::Key_0 + c.digitValue()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

} // namespace ladya::test
