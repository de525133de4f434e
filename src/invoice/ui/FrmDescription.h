#pragma once
// frmDescription: a text in one field. For a goods line (F6 in the grid, column 4) OK with an
// empty text is refused by the line logic and keeps the dialog open; for a free text (the
// customer message's template) the caller's accept decides in the same way.

#include <QDialog>
#include <functional>

#include "invoice/InvoiceServices.h"

class QLineEdit;

namespace si {

class FrmDescription : public QDialog {
    Q_OBJECT
public:
    using Accept = std::function<bool(const QString&)>;

    FrmDescription(InvoiceServices& services, int row, QWidget* parent = nullptr);
    // A free text; its length is the accepting logic's to judge.
    FrmDescription(const QString& title, const QString& text, Accept accept,
                   QWidget* parent = nullptr);
    // Shows the dialog for the row; true when the line took the new description.
    static bool edit(QWidget* parent, InvoiceServices& services, int row);
    // Shows the dialog over a free text; true when accept took the text.
    static bool editText(QWidget* parent, const QString& title, const QString& text,
                         const Accept& accept);

    void accept() override;

private:
    // The title, the optional widget above the field, the field and OK and cancel.
    QLineEdit* build(const QString& title, const QString& text, QWidget* above = nullptr);

    Accept accept_;
    QLineEdit* txtDescription_;
};

}  // namespace si
