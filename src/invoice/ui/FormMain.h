#pragma once
// The sale invoice form: a thin view over FormMainLogic and its InvoiceDocument. It builds the
// controls under the original names (cmdNew, txtID, sltCustomer, flexDetail, ...), mirrors the
// document into them, hands edits, clicks and keys to the logic, and applies the Availability.
//
// Everything the clerk starts here reaches the logic through run(), the form's command boundary:
// an error ends there with one message and the form as it was before (FormMainLogic::guarded).
// The form sees every key before its fields (the original KeyPreview), so its shortcuts win over
// a field's own: Ctrl+X in a text box runs Exit instead of cutting.

#include <QHash>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "invoice/FormMainLogic.h"

class QLineEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QGroupBox;
class QRadioButton;
class QGridLayout;
class QAction;
class QTabWidget;
class QBoxLayout;
class QHBoxLayout;

namespace si {

enum class GridAction;
class JalaliDateEdit;
class SelectorWidget;

class FormMain : public QWidget, public FormMainUi {
    Q_OBJECT
public:
    // Line rows the form shows on a till screen of 1366x768.
    static constexpr int kLineRowsShown = 10;

    explicit FormMain(Context& ctx, QWidget* parent = nullptr);
    ~FormMain() override;

    FormMainLogic& logic() { return *logic_; }
    // The component's entry points: load, then show modeless (modal when that fails).
    bool ViewInvoice(int id);
    bool ClearShow();

    // FormMainUi
    void showKeyMap() override;
    int runSearch() override;
    // The search form the component opens; without it, a number is asked.
    std::function<int()> searchDialog;
    void focusControl(const QString& objectName) override;
    void unloadForm() override;
    void refreshView() override;

Q_SIGNALS:
    void CreateNewRelationship(int FormTypeID, int FormID);
    void ShowRelationships(int FormTypeID, int FormID);
    void SendSMS(const QString& inCellPhone, const QString& inMessage);
    void PrintByDotNet(QString& outTemplateFileName, QString& outOLEConnectionString,
                       QString& outFormulas, QString& outSQLQuery, bool& DoPreview);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void fitTheScreen();
    QWidget* buildHeader();
    void addLinkedPage(QTabWidget* tabs);
    QWidget* buildTotals();
    QBoxLayout* masterDiscountKind();
    QWidget* buildCommands();
    void arrangeCommands();
    QWidget* buildGrid();
    QTableView* linesView(const char* name, LineTableModel& model);
    static int rowsHeight(const QTableView& view, int rows);
    void showLineColumns(QTableView& view, const LineTableModel& model);
    QLineEdit* addText(QGridLayout* grid, int row, int col, const char* name, const QString& label,
                       bool readOnly = false);
    SelectorWidget* addSelector(QGridLayout* grid, int row, int col, SelectorModel& model,
                                const char* name, const QString& label);
    JalaliDateEdit* addDate(QGridLayout* grid, int row, int col, const char* name,
                            const QString& label);
    QPushButton* addCommand(QBoxLayout* box, const char* name, const QString& text,
                            const QString& command);
    void connectEdits();
    void connectEntry();
    void connectGridMenu();
    void deleteGridRow(int row);
    void connectMasterDiscount();
    void connectDialogs();
    void connectCashTurn();
    void addCashFields(QBoxLayout* row);
    void showCashTurn();
    void selectCashOnEntry(QWidget* entered);
    // Runs what the clerk started, guarded; false when it failed.
    bool run(const std::function<void()>& command);
    bool previewKey(QWidget* target, QKeyEvent* event);
    bool newKey(QKeyEvent* event);
    void returnToTheGrid();
    void clearFlash();
    void enterScannedCode(const QString& code);
    bool gridKey(QKeyEvent* event);
    bool pickerKeyInCell(QWidget* editor, QKeyEvent* event);
    void runGridAction(GridAction action, int row);
    // A line entered (a typed cell, a picked goods item): guarded, then the grid moves on to the
    // row the logic names.
    void enterLine(const std::function<void()>& entry);
    // The goods picker for the row, opened with the text typed so far.
    void pickGoods(int row, const QString& typed);
    void openGridDialog(GridAction action, int row);
    void showHeader();
    void showTotals();
    QString accountLabelText(const QString& value);
    void applyAvailability();
    void showAndFallBack(bool modal);

    std::unique_ptr<FormMainLogic> logic_;
    QHash<QString, QLineEdit*> texts_;
    QHash<QString, QLineEdit*> amounts_;
    QHash<QString, JalaliDateEdit*> dates_;
    QHash<QString, QCheckBox*> checks_;
    QComboBox* cmbMessage_ = nullptr;
    QComboBox* cmbScaleBarcode_ = nullptr;
    QComboBox* cmbCashTurn_ = nullptr;
    QRadioButton* optPercent_ = nullptr;
    QRadioButton* optValue_ = nullptr;
    QTableView* flexDetail_ = nullptr;
    QLineEdit* txtGoodsPicker_ = nullptr;
    QTableView* flexEch_ = nullptr;
    QGroupBox* gbSale_ = nullptr;
    QGroupBox* echBox_ = nullptr;
    QAction* mnuDelGood_ = nullptr;
    QVector<QPushButton*> commands_;
    QVector<QPushButton*> shownCommands_;
    QHBoxLayout* commandRows_[2] = {};
    QLabel* lblAccountIDVal_ = nullptr;
    QLabel* lblErrMessage_ = nullptr;
    QTimer refreshTimer_;
    bool showing_ = false;
};

}  // namespace si
