#pragma once

class QDialog;
class QDialogButtonBox;
class QPushButton;

namespace si {

struct DialogButtons {
    QDialogButtonBox* box;
    QPushButton* ok;
    QPushButton* cancel;
};

// The form's dialogs' "تاييد" and "انصراف" (cmdOK, cmdCancel), wired to the dialog's own accept
// and reject.
DialogButtons OkCancelButtons(QDialog* dialog, bool okIsDefault = false);

}  // namespace si
