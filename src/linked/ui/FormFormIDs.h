#pragma once
// FormFormIDs: the documents to choose from in lstFormIDs (computer number, code, date, notes),
// OK and Cancel. Modal.

#include <QDialog>
#include <functional>

#include "linked/FormFormIDs.h"

class QTableWidget;

namespace si {

class FormFormIDs : public QDialog {
    Q_OBJECT
public:
    FormFormIDs(const QVector<FormIdChoice>& choices, QWidget* parent = nullptr);
    // The ID of the row chosen with OK; -1 otherwise.
    int choice() const { return choice_; }
    QTableWidget* list() const { return list_; }

    void cmdOK_Click();

private:
    QVector<FormIdChoice> choices_;
    QTableWidget* list_;
    int choice_ = -1;
};

// The chooser the form shows. Tests set present to drive the dialog instead of its modal loop.
class DialogFormIdChooser : public FormIdChooser {
public:
    explicit DialogFormIdChooser(QWidget* parent) : parent_(parent) {}
    int chooseFormID(const QVector<FormIdChoice>& choices) override;

    std::function<void(FormFormIDs&)> present;

private:
    QWidget* parent_;
};

}  // namespace si
