#pragma once
// The terminal configuration form: the user filter and the grid (flexPOS) above, the fields of
// the chosen terminal below, the commands at the foot. It shows PosConfigLogic and turns the
// clerk's actions into its calls; every command runs through the context's command boundary.
// As the card payment's chooser it is modal and ends with OK once a terminal was stored.

#include <QDialog>

#include "payment/PosConfigLogic.h"

class QComboBox;
class QLineEdit;
class QTableView;
class QGridLayout;
class QPushButton;

namespace si {

class FormPosConfig : public QDialog {
    Q_OBJECT
public:
    FormPosConfig(Context& ctx, QSettings& settings, QWidget* parent = nullptr);

    PosConfigLogic& logic() { return logic_; }
    // Shows the form for the current user (modal).
    void showSetting();
    // The grid of the current user's terminals, as showSetting opens it.
    void loadSetting();
    // Makes this form the chooser of its logic's SelectSetting.
    void chooseWhenUnsettled();
    // Enables or disables the edit fields.
    void DisableComponents(bool enable);

private:
    void buildFilter(QLayout* layout);
    void buildFields(QGridLayout* grid);
    void buildCommands(QLayout* layout);
    QPushButton* command(const char* name, const QString& text);
    QLineEdit* lineEdit(const char* name);
    QComboBox* comboBox(const char* name, const QStringList& items, bool editable = false);
    void addField(QGridLayout* grid, int row, int column, const QString& label, QWidget* field);
    void showFields();
    void showRow(int row);
    void focusControl(const QString& name);
    void run(const std::function<void()>& command);

    Context& ctx_;
    PosConfigLogic logic_;
    QTableView* grid_ = nullptr;
    QLineEdit* txtID_ = nullptr;
    QLineEdit* txtName_ = nullptr;
    QLineEdit* txtIP_ = nullptr;
    QLineEdit* txtIPPort_ = nullptr;
    QComboBox* cmbComPort_ = nullptr;
    QComboBox* cmbBaudRate_ = nullptr;
    QComboBox* cmbSerialDevice_ = nullptr;
    QList<QWidget*> editFields_;
    bool showing_ = false;
};

}  // namespace si
