#pragma once
// What the save needs from whoever runs it besides the invoice and its logic: which fields the
// user is shown (a hidden field is not asked for), where the focus goes after a refusal, and the
// refresh once the stored invoice is shown in view mode. Questions and messages go through the
// context's message box, so the form, the command line and a batch job ask and tell alike.

#include <QString>

#include "invoice/Availability.h"

namespace si {

class FormMainLogic;
class SystemParameters;

class SaveFront {
public:
    virtual ~SaveFront() = default;
    virtual bool isShown(const QString& control) const = 0;
    virtual void focus(const QString& control) = 0;
    // The invoice's mode changed (view mode after a save): commands and fields follow it.
    virtual void modeChanged() = 0;
};

// The invoice form: its availability, its widgets' focus, its ApplyMode.
class FormSaveFront : public SaveFront {
public:
    explicit FormSaveFront(FormMainLogic& form) : form_(form) {}
    bool isShown(const QString& control) const override;
    void focus(const QString& control) override;
    void modeChanged() override;

private:
    FormMainLogic& form_;
};

// A job without a form: the fields a form shows under the same parameters, and no focus.
class HeadlessSaveFront : public SaveFront {
public:
    explicit HeadlessSaveFront(const SystemParameters& params);
    bool isShown(const QString& control) const override { return shown_.isShown(control); }
    void focus(const QString&) override {}
    void modeChanged() override {}

private:
    Availability shown_;
};

}  // namespace si
