#include "invoice/ui/ScanCatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>

namespace si {

namespace {

// The box a key goes to, when it is a message with one button (nothing to choose).
QMessageBox* messageBoxOf(QObject* watched) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return nullptr;
    auto* box = qobject_cast<QMessageBox*>(widget->window());
    return box && box->buttons().size() == 1 ? box : nullptr;
}

bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

ScanCatcher::ScanCatcher() {
    qApp->installEventFilter(this);
}

ScanCatcher::~ScanCatcher() {
    qApp->removeEventFilter(this);
}

QString ScanCatcher::takeCode() {
    return std::exchange(code_, QString());
}

bool ScanCatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    QMessageBox* box = messageBoxOf(watched);
    if (!box) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (isEnter(key->key()) && !typed_.isEmpty()) {
        code_ = std::exchange(typed_, QString());
        box->buttons().constFirst()->click();
        return true;
    }
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint() || text.at(0).isSpace()) return false;
    typed_ += text;
    return true;
}

}  // namespace si
