#pragma once
// The look-up field on a form: an editable combo box over a SelectorModel. Typing narrows the
// list with one limited query per pause in typing; picking an entry selects it in the model.
// Both run through the command runner: by default an error puts the field back and shows one
// message; a form puts its own boundary there, which puts back the whole form.

#include <QComboBox>
#include <QTimer>

#include "common/CommandGuard.h"
#include "controls/SelectorModel.h"

namespace si {

class SelectorWidget : public QComboBox {
    Q_OBJECT
public:
    explicit SelectorWidget(SelectorModel& model, QWidget* parent = nullptr);
    SelectorModel& model() { return *model_; }
    // How long typing must pause before the list is asked again.
    void setSearchDelay(int ms) { delay_.setInterval(ms); }
    void setCommandRunner(CommandRunner runner) { runner_ = std::move(runner); }

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onTyped(const QString& text);
    void runSearch();
    void onActivated(int index);
    void showModelText(const QString& text);

    bool runGuarded(const std::function<void()>& command);

    SelectorModel* model_;
    CommandRunner runner_;
    QTimer delay_;
    bool filling_ = false;
};

}  // namespace si
