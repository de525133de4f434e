#pragma once
// flexPromotion (cmdShowEch): the promotion details valid on the invoice's day in the order the
// promotion pass tests them, with the goods rows each took and the free-goods rows it added in
// the last pass.

#include <QDialog>

#include "invoice/InvoiceServices.h"

namespace si {

class FrmPromotions : public QDialog {
    Q_OBJECT
public:
    FrmPromotions(InvoiceServices& services, QWidget* parent = nullptr);
    // Shows the promotions of the invoice (modal).
    static void show(QWidget* parent, InvoiceServices& services);
};

}  // namespace si
