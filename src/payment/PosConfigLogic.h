#pragma once
// The terminal configuration (FormPosConfig) without its widgets: the grid of a user's
// terminals, the edit fields of one terminal and its commands, the workstation's choice of
// terminal, and SelectSetting, through which the card payment finds the current user's
// terminal. Messages go through the context's message box; the form shows what this holds.
//
// The user, type, account and object fields are the selectors; the other fields are the texts
// of PosFields. The object selectors list the classes the chosen account takes, slot by slot.

#include <QObject>
#include <QSettings>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "common/Context.h"
#include "controls/SelectorModel.h"
#include "payment/PosChecks.h"
#include "payment/PosDevice.h"
#include "payment/PosGridModel.h"
#include "payment/PosWorkstation.h"

namespace si {

struct PosFields {
    QString id;  // txtID, empty for a new terminal
    QString name;
    QString comPort;   // cmbComPort
    QString baudRate;  // cmbBaudRate
    QString ip;
    QString ipPort;
    QString serialDevice;  // the workstation's device behind comPort
};

inline const QString kBadRowMessage = QStringLiteral("رديف انتخاب شده نادرست است.");

class PosConfigLogic : public QObject {
    Q_OBJECT
public:
    // Asked when the workstation's terminal is not settled: shows the form for the user to
    // choose (cmdOK stores the choice); false when the user left without one.
    using Chooser = std::function<bool(PosConfigLogic&)>;

    PosConfigLogic(Context& ctx, QSettings& settings, QObject* parent = nullptr);

    // Form start: the selectors bound to their views. Runs once; the commands call it.
    void FormLoad();
    // The grid filtered to a user (-1: every user's terminals) and filled.
    void showFor(int userId);
    // Fills the grid for sltRefreshUser (empty lists all) and selects the stored terminal.
    void cmdRefresh();
    // Loads the terminal of a grid row into the fields; -1 clears the selection.
    void selectRow(int row);
    int selectedRow() const { return selectedRow_; }

    void cmdNew();
    void cmdEdit();
    bool cmdSave();
    bool cmdDelete();
    bool cmdCancel();
    bool cmdOK();
    bool editing() const { return editing_; }

    // The terminal of the user that this workstation uses: the stored one when it is the user's,
    // else the user's only terminal, else the one the chooser settles; nullopt otherwise (with a
    // message when there is no chooser to ask).
    std::optional<PosDevice> SelectSetting(int userId);
    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }

    PosFields& fields() { return fields_; }
    const PosFields& fields() const { return fields_; }
    // The port changed: the device shown follows the workstation's mapping of it.
    void setComPort(const QString& port);
    // The terminal as the fields describe it.
    PosEntry entry() const;

    SelectorModel& selector(const QString& control);
    PosGridModel& grid() { return grid_; }
    PosWorkstation& workstation() { return workstation_; }

Q_SIGNALS:
    void fieldsChanged();
    void editingChanged(bool editing);
    void focusRequested(const QString& control);
    void rowSelected(int row);

private:
    SelectorModel& addSelector(const char* control, const QString& major, const QString& minor,
                               const QString& caption);
    void configureObjects();
    void loadTerminal(int id);
    void clearFields();
    void setEditing(bool on);
    int settledTerminal(int userId) const;
    void refuse(const PosRefusal& refusal);

    Context& ctx_;
    PosWorkstation workstation_;
    PosGridModel grid_;
    std::map<QString, std::unique_ptr<SelectorModel>> selectors_;
    PosFields fields_;
    Chooser chooser_;
    int selectedRow_ = -1;
    bool loaded_ = false;
    bool editing_ = false;
    bool loading_ = false;
};

}  // namespace si
