#include "payment/PosConfigLogic.h"

#include "common/Messages.h"
#include "common/ScopedFlag.h"

namespace si {

namespace {

const char* const kObjectSelectors[] = {"sltObject1", "sltObject2", "sltObject3"};

int idOf(const SelectorModel& s) {
    return s.IsEmpty() ? -1 : s.ID();
}

}  // namespace

PosConfigLogic::PosConfigLogic(Context& ctx, QSettings& settings, QObject* parent)
    : QObject(parent), ctx_(ctx), workstation_(settings), grid_(this) {
    const QString users = QStringLiteral("كاربر");
    addSelector("sltUser", QStringLiteral("vwUserMajor"), QStringLiteral("vwUserMinor"), users);
    addSelector("sltRefreshUser", QStringLiteral("vwUserMajor"), QStringLiteral("vwUserMinor"),
                users);
    addSelector("sltPosType", QStringLiteral("vwRecPayPosTypeMajor"),
                QStringLiteral("vwRecPayPosTypeMinor"), QStringLiteral("نوع دستگاه"));
    addSelector("sltAccount", QStringLiteral("vwAccountMajor"), QStringLiteral("vwAccountMinor"),
                QStringLiteral("حساب بدهكار بانك"));
    for (const char* name : kObjectSelectors)
        addSelector(name, {}, {}, {}).setObjectInUse(false);
    connect(&selector(QStringLiteral("sltAccount")), &SelectorModel::changed, this,
            &PosConfigLogic::configureObjects);
}

SelectorModel& PosConfigLogic::addSelector(const char* control, const QString& major,
                                           const QString& minor, const QString& caption) {
    auto model = std::make_unique<SelectorModel>(ctx_, this);
    model->setViews(major, minor);
    model->setCaption(caption);
    SelectorModel& added = *model;
    selectors_[QString::fromLatin1(control)] = std::move(model);
    return added;
}

SelectorModel& PosConfigLogic::selector(const QString& control) {
    return *selectors_.at(control);
}

void PosConfigLogic::FormLoad() {
    if (loaded_) return;
    loaded_ = true;
    showFor(ctx_.globals.CurrentUserID);
}

void PosConfigLogic::showFor(int userId) {
    loaded_ = true;
    SelectorModel& filter = selector(QStringLiteral("sltRefreshUser"));
    if (userId > 0)
        filter.setID(userId);
    else
        filter.Clear();
    cmdRefresh();
}

void PosConfigLogic::cmdRefresh() {
    const int user = idOf(selector(QStringLiteral("sltRefreshUser")));
    grid_.setRows(ReadPosList(ctx_.db(), user));
    setEditing(false);
    selectRow(grid_.rowOf(workstation_.PosID()));
}

void PosConfigLogic::selectRow(int row) {
    selectedRow_ = row >= 0 && row < grid_.rowCount() ? row : -1;
    if (selectedRow_ < 0)
        clearFields();
    else
        loadTerminal(grid_.rows()[selectedRow_].id);
    Q_EMIT rowSelected(selectedRow_);
}

// The object selectors follow the account: slot n lists the class of Sequence n, if any.
void PosConfigLogic::configureObjects() {
    const int account = idOf(selector(QStringLiteral("sltAccount")));
    const QVector<AccountObjectClass> classes =
        account > 0 ? ReadAccountObjectClasses(ctx_.db(), account) : QVector<AccountObjectClass>{};
    for (int slot = 0; slot < 3; ++slot) {
        SelectorModel& object = selector(QString::fromLatin1(kObjectSelectors[slot]));
        const AccountObjectClass* found = nullptr;
        for (const AccountObjectClass& c : classes)
            if (c.sequence == slot + 1) found = &c;
        object.setViews(found ? found->viewMajor : QString(), found ? found->viewMinor : QString());
        object.setCaption(found ? found->name : QString());
        object.setObjectInUse(found != nullptr);
        if (!loading_ || !found) object.setIDQuietly(-1, {});
    }
}

void PosConfigLogic::loadTerminal(int id) {
    const std::optional<PosDevice> device = ReadPosDevice(ctx_.db(), id);
    if (!device) return clearFields();
    ScopedFlag loading(loading_);
    fields_ = {QString::number(device->id),
               device->name,
               device->comPort,
               device->baudRate > 0 ? QString::number(device->baudRate) : QString(),
               device->ip,
               device->ipPort > 0 ? QString::number(device->ipPort) : QString(),
               workstation_.SerialDeviceOf(device->comPort)};
    selector(QStringLiteral("sltUser")).setID(device->userId > 0 ? device->userId : -1);
    selector(QStringLiteral("sltPosType")).setID(device->typeId > 0 ? device->typeId : -1);
    selector(QStringLiteral("sltAccount")).setID(device->accountId > 0 ? device->accountId : -1);
    configureObjects();
    for (int slot = 0; slot < 3; ++slot) {
        SelectorModel& object = selector(QString::fromLatin1(kObjectSelectors[slot]));
        const int objectId = device->objectIds[static_cast<size_t>(slot)];
        if (objectId > 0 && object.objectInUse())
            object.setID(objectId);
        else
            object.setIDQuietly(objectId > 0 ? objectId : -1, {});
    }
    Q_EMIT fieldsChanged();
}

void PosConfigLogic::clearFields() {
    fields_ = {};
    for (const char* name : {"sltUser", "sltPosType", "sltAccount"})
        selector(QString::fromLatin1(name)).Clear();
    configureObjects();
    Q_EMIT fieldsChanged();
}

void PosConfigLogic::setEditing(bool on) {
    if (editing_ == on) return;
    editing_ = on;
    Q_EMIT editingChanged(on);
}

void PosConfigLogic::setComPort(const QString& port) {
    fields_.comPort = port;
    fields_.serialDevice = workstation_.SerialDeviceOf(port);
    Q_EMIT fieldsChanged();
}

PosEntry PosConfigLogic::entry() const {
    auto id = [this](const char* name) { return idOf(*selectors_.at(QString::fromLatin1(name))); };
    PosEntry e;
    e.id = fields_.id.toInt();
    e.name = fields_.name;
    // A port or rate the form does not offer counts as none chosen.
    e.comPort = PosComPorts().contains(fields_.comPort) ? fields_.comPort : QString();
    const int rate = fields_.baudRate.toInt();
    e.baudRate = PosBaudRates().contains(rate) ? rate : 0;
    e.accountId = id("sltAccount");
    for (int slot = 0; slot < 3; ++slot)
        e.objectIds[static_cast<size_t>(slot)] = id(kObjectSelectors[slot]);
    e.userId = id("sltUser");
    e.typeId = id("sltPosType");
    e.ip = fields_.ip;
    e.ipPort = fields_.ipPort;
    return e;
}

void PosConfigLogic::cmdNew() {
    FormLoad();
    selectedRow_ = -1;
    clearFields();
    selector(QStringLiteral("sltUser")).setID(ctx_.globals.CurrentUserID);
    selector(QStringLiteral("sltPosType")).setID(1);
    fields_.ipPort = QStringLiteral("8888");
    setEditing(true);
    Q_EMIT fieldsChanged();
    Q_EMIT rowSelected(-1);
    Q_EMIT focusRequested(QStringLiteral("txtName"));
}

void PosConfigLogic::cmdEdit() {
    if (fields_.id.toInt() < 1) return refuse({kFaultCaption, kBadRowMessage, {}});
    setEditing(true);
    Q_EMIT focusRequested(QStringLiteral("txtName"));
}

void PosConfigLogic::refuse(const PosRefusal& refusal) {
    ShowMessage(ctx_, refusal.caption, refusal.text);
    if (!refusal.focus.isEmpty()) Q_EMIT focusRequested(refusal.focus);
}

bool PosConfigLogic::cmdSave() {
    const PosEntry e = entry();
    if (const auto refusal = CheckPosEntry(e)) {
        refuse(*refusal);
        return false;
    }
    int id = e.id;
    if (id > 0)
        UpdatePos(ctx_.db(), e);
    else
        id = InsertPos(ctx_.db(), e);
    if (!fields_.serialDevice.trimmed().isEmpty())
        workstation_.setSerialDevice(e.comPort, fields_.serialDevice);
    const int user = idOf(selector(QStringLiteral("sltRefreshUser")));
    grid_.setRows(ReadPosList(ctx_.db(), user));
    setEditing(false);
    selectRow(grid_.rowOf(id));
    if (selectedRow_ < 0) loadTerminal(id);  // written for a user the grid does not list
    return true;
}

bool PosConfigLogic::cmdDelete() {
    const int id = fields_.id.toInt();
    if (id < 1) {
        refuse({kFaultCaption, kBadRowMessage, {}});
        return false;
    }
    if (!AskedYes(ctx_, kWarningCaption, QStringLiteral("آيا نسبت به حذف مطمئن هستيد؟")))
        return false;
    DeletePos(ctx_.db(), id);
    cmdRefresh();
    return true;
}

bool PosConfigLogic::cmdCancel() {
    if (!AskedYes(ctx_, QStringLiteral("پرسش"), QStringLiteral("آيا براي انصراف مطمئن هستيد؟")))
        return false;
    setEditing(false);
    selectRow(selectedRow_);
    return true;
}

bool PosConfigLogic::cmdOK() {
    if (selectedRow_ < 0 || selectedRow_ >= grid_.rowCount()) {
        refuse({kFaultCaption, kBadRowMessage, {}});
        return false;
    }
    workstation_.setPosID(grid_.rows()[selectedRow_].id);
    return true;
}

int PosConfigLogic::settledTerminal(int userId) const {
    const QVector<PosListRow> terminals = ReadPosList(ctx_.db(), userId);
    const int stored = workstation_.PosID();
    for (const PosListRow& t : terminals)
        if (t.id == stored) return stored;
    return terminals.size() == 1 ? terminals.first().id : 0;
}

std::optional<PosDevice> PosConfigLogic::SelectSetting(int userId) {
    showFor(userId);
    int id = userId > 0 ? settledTerminal(userId) : 0;
    if (id == 0 && chooser_) {
        if (!chooser_(*this)) return std::nullopt;
        id = settledTerminal(userId);
        if (id == 0) return std::nullopt;
    }
    if (id == 0) {
        const bool none = ReadPosList(ctx_.db(), userId).isEmpty();
        ShowMessage(ctx_, kFaultCaption,
                    none ? QStringLiteral("براي اين كاربر دستگاه پوز تعريف نشده است.")
                         : QStringLiteral("دستگاه پوز اين ايستگاه انتخاب نشده است؛ آن را در "
                                          "تنظيمات دستگاه پوز انتخاب كنيد."));
        return std::nullopt;
    }
    std::optional<PosDevice> device = ReadPosDevice(ctx_.db(), id);
    if (!device) return std::nullopt;
    device->serialDevice = workstation_.SerialDeviceOf(device->comPort);
    selectRow(grid_.rowOf(id));
    return device;
}

}  // namespace si
