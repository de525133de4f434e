#pragma once
// frmKeyMap: the keyboard help of the invoice form, a read-only grid of keys and what they do.

#include <QDialog>
#include <QString>
#include <utility>
#include <vector>

namespace si {

class FrmKeyMap : public QDialog {
    Q_OBJECT
public:
    explicit FrmKeyMap(QWidget* parent = nullptr);
    // The rows in order: key text and description.
    static std::vector<std::pair<QString, QString>> rows();
};

}  // namespace si
