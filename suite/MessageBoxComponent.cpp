#include "suite/MessageBoxComponent.h"

#include <QApplication>
#include <QColor>
#include <QMessageBox>
#include <QPushButton>

namespace si::suite {

namespace {

// Windows colour values keep red in the low byte.
QString cssColor(int windowsColor) {
    return QColor(windowsColor & 0xFF, (windowsColor >> 8) & 0xFF, (windowsColor >> 16) & 0xFF)
        .name();
}

}  // namespace

QString MessageBoxComponent::styleSheet() const {
    return QStringLiteral(
               "QMessageBox { background-color: %1; } QLabel { background-color: %3; }"
               " QPushButton { background-color: %2; min-width: 80px; padding: 4px; }")
        .arg(cssColor(formBack_), cssColor(buttonBack_), cssColor(frameBack_));
}

void MessageBoxComponent::ClearShow() {
    QMessageBox box(QApplication::activeWindow());
    box.setLayoutDirection(Qt::RightToLeft);
    box.setWindowTitle(title_);
    box.setText(message_);
    box.setStyleSheet(styleSheet());
    if (type_ == 1) {
        box.setIcon(QMessageBox::Question);
        QPushButton* yes = box.addButton(QStringLiteral("بله"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("خير"), QMessageBox::NoRole);
        box.setDefaultButton(no);
        box.setEscapeButton(no);
        box.exec();
        result_ = box.clickedButton() == yes ? 1 : 0;
        return;
    }
    box.setIcon(QMessageBox::Information);
    box.addButton(QStringLiteral("تاييد"), QMessageBox::AcceptRole);
    box.exec();
    result_ = -1;
}

}  // namespace si::suite
