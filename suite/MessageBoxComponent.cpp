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
        .arg(cssColor(formBackColor()), cssColor(buttonBackColor()), cssColor(frameBackColor()));
}

int MessageBoxComponent::present(const QString& title, const QString& message, bool question) {
    QMessageBox box(QApplication::activeWindow());
    box.setLayoutDirection(Qt::RightToLeft);
    box.setWindowTitle(title);
    box.setText(message);
    box.setStyleSheet(styleSheet());
    if (question) {
        box.setIcon(QMessageBox::Question);
        QPushButton* yes = box.addButton(QStringLiteral("بله"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("خير"), QMessageBox::NoRole);
        box.setDefaultButton(no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? 1 : 0;
    }
    box.setIcon(QMessageBox::Information);
    box.addButton(QStringLiteral("تاييد"), QMessageBox::AcceptRole);
    box.exec();
    return -1;
}

}  // namespace si::suite
