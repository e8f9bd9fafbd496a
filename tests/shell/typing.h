#pragma once
// Typing any text into a widget with key events; QTest::keyClicks only
// knows the ASCII keys.
#include <QTest>

namespace shelltest {

inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClicks(widget, QString(c));
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace shelltest
