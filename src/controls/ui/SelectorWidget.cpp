#include "controls/ui/SelectorWidget.h"

#include <QAbstractItemView>
#include <QLineEdit>

namespace si {

SelectorWidget::SelectorWidget(SelectorModel& model, QWidget* parent)
    : QComboBox(parent), model_(&model) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(15);
    setMinimumContentsLength(12);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setToolTip(model.caption());
    lineEdit()->setPlaceholderText(model.caption());
    delay_.setSingleShot(true);
    delay_.setInterval(150);
    connect(&delay_, &QTimer::timeout, this, &SelectorWidget::runSearch);
    connect(lineEdit(), &QLineEdit::textEdited, this, &SelectorWidget::onTyped);
    connect(this, qOverload<int>(&QComboBox::activated), this, &SelectorWidget::onActivated);
    connect(model_, &SelectorModel::textChanged, this, &SelectorWidget::showModelText);
    showModelText(model.text());
}

void SelectorWidget::onTyped(const QString&) {
    delay_.start();
}

bool SelectorWidget::runGuarded(const std::function<void()>& command) {
    if (runner_) return runner_(command);
    const SelectorModel::State before = model_->state();
    return Guarded(model_->context(), command, [this, &before] { model_->restore(before); });
}

void SelectorWidget::runSearch() {
    const QString typed = lineEdit()->text();
    QVector<SelectorItem> found;
    if (!runGuarded([&] { found = model_->search(typed); })) return;
    filling_ = true;
    clear();
    for (const SelectorItem& item : found)
        addItem(item.text(), item.id);
    setCurrentIndex(-1);
    lineEdit()->setText(typed);
    filling_ = false;
    if (count() > 0 && hasFocus()) showPopup();
}

void SelectorWidget::onActivated(int index) {
    if (filling_ || index < 0) return;
    const int id = itemData(index).toInt();
    runGuarded([this, id] { model_->setID(id); });
}

void SelectorWidget::showModelText(const QString& text) {
    if (filling_) return;
    filling_ = true;
    clear();
    if (!model_->IsEmpty()) addItem(text, model_->ID());
    setCurrentIndex(model_->IsEmpty() ? -1 : 0);
    lineEdit()->setText(text);
    filling_ = false;
}

void SelectorWidget::focusOutEvent(QFocusEvent* event) {
    // Text typed but not picked is not a selection: show the selected entry again.
    if (!view()->isVisible()) showModelText(model_->text());
    QComboBox::focusOutEvent(event);
}

}  // namespace si
