#pragma once
// The cash-box module's receipt windows, one component configured per ProgID:
//   comBoxReceiveCash.comBoxReceiveCash1   cash received into a box
//   comBoxReceive.comBoxReceive1           money received into a box or a bank
//   comBoxPayCash.comBoxPayCash1           cash received at the paying box
//   comBoxReceivePortion.comBoxRecPortion  a portion of a debt received
//   VORReceiveGroup.comBoxGroupRec         a receipt for the form in FormTypeID and FormID
//   comBoxPublicReceive.comBoxPublicRec    the general receipt: SumValue and AccountID fill the
//                                          window, View(formId) opens it for that form
// ClearShow opens the window with what the properties gave; saving records the receipt
// (ReceiptBox) and closes it. A refusal is shown in the window's own message line.

#include <QDialog>
#include <QString>

#include "common/Money.h"
#include "suite/SiblingComponent.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace si::suite {

class ReceiptBoxComponent : public SiblingComponent {
    Q_OBJECT
    Q_PROPERTY(int FormTypeID MEMBER formTypeId_)
    Q_PROPERTY(int FormID MEMBER formId_)
    Q_PROPERTY(si::Money SumValue MEMBER sumValue_)
    Q_PROPERTY(int AccountID MEMBER accountId_)
public:
    ReceiptBoxComponent(QString name, QString title);

    Q_INVOKABLE void ClearShow();
    Q_INVOKABLE void View(int formId);

    const QString& title() const { return title_; }
    int formTypeId() const { return formTypeId_; }
    int formId() const { return formId_; }
    Money sumValue() const { return sumValue_; }
    int accountId() const { return accountId_; }

private:
    void open();
    friend class ReceiptWindow;

    QString name_;
    QString title_;
    int formTypeId_ = -1;
    int formId_ = -1;
    Money sumValue_;
    int accountId_ = -1;
};

class ReceiptWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReceiptWindow(ReceiptBoxComponent& component, QWidget* parent = nullptr);
    // Records the receipt and closes the window; false with the reason in the message line.
    bool save();
    // The document recorded, -1 before.
    int documentId() const { return documentId_; }

private:
    ReceiptBoxComponent& component_;
    QComboBox* boxes_;
    QComboBox* accounts_;
    QLineEdit* amount_;
    QLineEdit* description_;
    QLabel* message_;
    int documentId_ = -1;
};

}  // namespace si::suite
