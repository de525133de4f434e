#include "apps/display/CashDisplayWindow.h"

#include <QFontMetrics>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "apps/display/CashDisplayState.h"

namespace si::display {

namespace {

QLabel* label(const QString& name, const QString& color, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignCenter);
    l->setStyleSheet(QStringLiteral("color: %1;").arg(color));
    return l;
}

void setPixelSize(QLabel* l, int pixels) {
    QFont font = l->font();
    font.setPixelSize(std::max(pixels, 8));
    l->setFont(font);
}

}  // namespace

CashDisplayWindow::CashDisplayWindow(const CashDisplayState& state, QWidget* parent)
    : QWidget(parent),
      state_(state),
      caption_(label(QStringLiteral("lblCaption"), QStringLiteral("#d8e3f0"), this)),
      amount_(label(QStringLiteral("lblAmount"), QStringLiteral("#7cf29a"), this)),
      cashName_(label(QStringLiteral("lblCashName"), QStringLiteral("#9fb3c8"), this)) {
    setObjectName(QStringLiteral("frmCashDisplay"));
    setWindowTitle(QStringLiteral("نمايشگر صندوق"));
    setLayoutDirection(Qt::RightToLeft);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0x10, 0x1a, 0x2b));
    setPalette(background);
    QFont bold = amount_->font();
    bold.setBold(true);
    amount_->setFont(bold);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(2);
    layout->addWidget(caption_);
    layout->addWidget(amount_);
    layout->addWidget(cashName_);
    layout->addStretch(3);
    resize(1024, 576);
    refresh();
}

void CashDisplayWindow::refresh() {
    caption_->setText(state_.caption());
    amount_->setText(state_.amountText());
    cashName_->setText(state_.cashName());
    fitAmount();
}

void CashDisplayWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitAmount();
}

// The amount fills nine tenths of the width, up to a third of the height; the caption and the
// cash box are a quarter of its size.
void CashDisplayWindow::fitAmount() {
    QFont probe = amount_->font();
    probe.setPixelSize(100);
    const int widthAt100 = std::max(QFontMetrics(probe).horizontalAdvance(amount_->text()), 1);
    const int pixels = std::min(width() * 90 / widthAt100, height() / 3);
    setPixelSize(amount_, pixels);
    setPixelSize(caption_, std::max(pixels / 4, height() / 14));
    setPixelSize(cashName_, std::max(pixels / 4, height() / 16));
}

}  // namespace si::display
