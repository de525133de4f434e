#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace si::test {

// Types text as the keyboard (or a scanner) does, one key press a character, Persian included.
inline void TypeInto(QWidget* target, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

}  // namespace si::test
