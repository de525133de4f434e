#pragma once
// cmdCashFlow (Ctrl+L): the money movements of the form's selected cash turn, oldest first, with
// what the turn received, paid and holds.

#include <QDialog>

#include "common/Context.h"

namespace si {

class InvoiceDocument;

class FrmCashFlow : public QDialog {
    Q_OBJECT
public:
    FrmCashFlow(Context& ctx, qint64 turnId, const QString& turnText, QWidget* parent = nullptr);
};

// Shows the flow of the selected turn; without an open turn the clerk is told so.
void cmdCashFlow_Click(Context& ctx, const InvoiceDocument& doc, QWidget* parent);

}  // namespace si
