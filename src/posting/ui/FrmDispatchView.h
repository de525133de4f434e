#pragma once
// The inventory-dispatch viewer of cmdInvExit: the header of one dispatch and its lines, right to
// left and read-only.

#include <QDialog>

#include "posting/DispatchView.h"

namespace si {

class FrmDispatchView : public QDialog {
    Q_OBJECT
public:
    explicit FrmDispatchView(const DispatchViewData& data, QWidget* parent = nullptr);
};

}  // namespace si
