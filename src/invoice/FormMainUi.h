#pragma once
// What the invoice form's logic asks of its view: modal dialogs, focus and closing. FormMain
// implements it with widgets; tests implement it with a script.

#include <QString>

namespace si {

class FormMainUi {
public:
    virtual ~FormMainUi() = default;
    // frmKeyMap, modal.
    virtual void showKeyMap() = 0;
    // The search form, modal; the chosen invoice ID, or 0 when none was chosen.
    virtual int runSearch() = 0;
    virtual void focusControl(const QString& objectName) = 0;
    // Closes the form (Form_Unload follows).
    virtual void unloadForm() = 0;
    // The document or the availability changed: show them again.
    virtual void refreshView() = 0;
};

}  // namespace si
