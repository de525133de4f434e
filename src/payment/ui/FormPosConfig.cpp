#include "payment/ui/FormPosConfig.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "common/CommandGuard.h"
#include "common/ScopedFlag.h"
#include "controls/ui/SelectorWidget.h"

namespace si {

namespace {

QStringList rateTexts() {
    QStringList texts;
    for (int rate : PosBaudRates())
        texts << QString::number(rate);
    return texts;
}

}  // namespace

FormPosConfig::FormPosConfig(Context& ctx, QSettings& settings, QWidget* parent)
    : QDialog(parent), ctx_(ctx), logic_(ctx, settings, this) {
    setObjectName(QStringLiteral("FormPosConfig"));
    setWindowTitle(QStringLiteral("تنظيمات دستگاه پوز"));
    setLayoutDirection(Qt::RightToLeft);
    auto* layout = new QVBoxLayout(this);
    buildFilter(layout);

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("flexPOS"));
    grid_->setModel(&logic_.grid());
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->hide();
    layout->addWidget(grid_, 1);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (showing_) return;
                run([this, row = current.row()] { logic_.selectRow(row); });
            });

    auto* box = new QGroupBox(QStringLiteral("مشخصات دستگاه"), this);
    auto* fields = new QGridLayout(box);
    buildFields(fields);
    layout->addWidget(box);
    buildCommands(layout);

    connect(&logic_, &PosConfigLogic::fieldsChanged, this, &FormPosConfig::showFields);
    connect(&logic_, &PosConfigLogic::rowSelected, this, &FormPosConfig::showRow);
    connect(&logic_, &PosConfigLogic::editingChanged, this, &FormPosConfig::DisableComponents);
    connect(&logic_, &PosConfigLogic::focusRequested, this, &FormPosConfig::focusControl);
    DisableComponents(false);
    resize(920, 640);  // within a 1366x768 screen with its task bar
}

void FormPosConfig::run(const std::function<void()>& command) {
    Guarded(ctx_, command);
}

void FormPosConfig::buildFilter(QLayout* layout) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("كاربر"), this));
    auto* user = new SelectorWidget(logic_.selector(QStringLiteral("sltRefreshUser")), this);
    user->setObjectName(QStringLiteral("sltRefreshUser"));
    user->setMinimumContentsLength(20);
    row->addWidget(user, 1);
    connect(command("cmdRefresh", QStringLiteral("بازخواني")), &QPushButton::clicked, this,
            [this] { run([this] { logic_.cmdRefresh(); }); });
    row->addWidget(findChild<QPushButton*>(QStringLiteral("cmdRefresh")));
    row->addStretch(1);
    static_cast<QBoxLayout*>(layout)->addLayout(row);
}

void FormPosConfig::buildFields(QGridLayout* grid) {
    auto selectorField = [this](const char* name) {
        auto* w = new SelectorWidget(logic_.selector(QString::fromLatin1(name)), this);
        w->setObjectName(QString::fromLatin1(name));
        w->setMinimumContentsLength(18);
        editFields_ << w;
        return w;
    };
    txtID_ = lineEdit("txtID");
    txtID_->setReadOnly(true);
    editFields_.removeOne(txtID_);
    txtName_ = lineEdit("txtName");
    cmbComPort_ = comboBox("cmbComPort", PosComPorts());
    cmbBaudRate_ = comboBox("cmbBaudRate", rateTexts());
    cmbSerialDevice_ = comboBox("cmbSerialDevice", AvailableSerialDevices(), true);
    cmbSerialDevice_->setToolTip(QStringLiteral("درگاه سريال اين رايانه براي درگاه انتخاب شده"));
    txtIP_ = lineEdit("txtIP");
    txtIPPort_ = lineEdit("txtIPPort");
    txtIPPort_->setValidator(new QIntValidator(1, 65535, txtIPPort_));

    addField(grid, 0, 0, QStringLiteral("شماره"), txtID_);
    addField(grid, 0, 1, QStringLiteral("نام"), txtName_);
    addField(grid, 1, 0, QStringLiteral("نوع دستگاه"), selectorField("sltPosType"));
    addField(grid, 1, 1, QStringLiteral("كاربر"), selectorField("sltUser"));
    addField(grid, 2, 0, QStringLiteral("درگاه"), cmbComPort_);
    addField(grid, 2, 1, QStringLiteral("نرخ انتقال"), cmbBaudRate_);
    addField(grid, 3, 0, QStringLiteral("درگاه سريال رايانه"), cmbSerialDevice_);
    addField(grid, 3, 1, QStringLiteral("حساب بدهكار بانك"), selectorField("sltAccount"));
    addField(grid, 4, 0, QStringLiteral("شيء 1"), selectorField("sltObject1"));
    addField(grid, 4, 1, QStringLiteral("شيء 2"), selectorField("sltObject2"));
    addField(grid, 5, 0, QStringLiteral("شيء 3"), selectorField("sltObject3"));
    addField(grid, 6, 0, QStringLiteral("IP"), txtIP_);
    addField(grid, 6, 1, QStringLiteral("IPPort"), txtIPPort_);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    connect(txtName_, &QLineEdit::textEdited, this,
            [this](const QString& t) { logic_.fields().name = t; });
    connect(txtIP_, &QLineEdit::textEdited, this,
            [this](const QString& t) { logic_.fields().ip = t; });
    connect(txtIPPort_, &QLineEdit::textEdited, this,
            [this](const QString& t) { logic_.fields().ipPort = t; });
    connect(cmbComPort_, &QComboBox::activated, this,
            [this](int index) { logic_.setComPort(cmbComPort_->itemText(index)); });
    connect(cmbBaudRate_, &QComboBox::activated, this,
            [this](int index) { logic_.fields().baudRate = cmbBaudRate_->itemText(index); });
    connect(cmbSerialDevice_, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (!showing_) logic_.fields().serialDevice = t;
    });
}

void FormPosConfig::addField(QGridLayout* grid, int row, int column, const QString& label,
                             QWidget* field) {
    grid->addWidget(new QLabel(label, this), row, column * 2);
    grid->addWidget(field, row, column * 2 + 1);
}

QLineEdit* FormPosConfig::lineEdit(const char* name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    editFields_ << edit;
    return edit;
}

QComboBox* FormPosConfig::comboBox(const char* name, const QStringList& items, bool editable) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItems(items);
    combo->setEditable(editable);
    combo->setCurrentIndex(-1);
    editFields_ << combo;
    return combo;
}

QPushButton* FormPosConfig::command(const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

void FormPosConfig::buildCommands(QLayout* layout) {
    auto* row = new QHBoxLayout;
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"cmdNew", [this] { logic_.cmdNew(); }},
        {"cmdEdit", [this] { logic_.cmdEdit(); }},
        {"cmdSave", [this] { logic_.cmdSave(); }},
        {"cmdDelete", [this] { logic_.cmdDelete(); }},
        {"cmdCancel", [this] { logic_.cmdCancel(); }},
        {"cmdOK", [this] {
             if (logic_.cmdOK()) accept();
         }}};
    const QString texts[] = {QStringLiteral("جديد"),   QStringLiteral("ويرايش"),
                             QStringLiteral("ذخيره"),  QStringLiteral("حذف"),
                             QStringLiteral("انصراف"), QStringLiteral("تاييد")};
    int i = 0;
    for (const auto& [name, action] : commands) {
        QPushButton* b = command(name, texts[i++]);
        connect(b, &QPushButton::clicked, this, [this, action] { run(action); });
        row->addWidget(b);
    }
    row->addStretch(1);
    QPushButton* exit = command("cmdExit", QStringLiteral("خروج"));
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(exit);
    static_cast<QBoxLayout*>(layout)->addLayout(row);
}

void FormPosConfig::showFields() {
    ScopedFlag showing(showing_);
    const PosFields& f = logic_.fields();
    txtID_->setText(f.id);
    txtName_->setText(f.name);
    txtIP_->setText(f.ip);
    txtIPPort_->setText(f.ipPort);
    cmbComPort_->setCurrentIndex(cmbComPort_->findText(f.comPort));
    cmbBaudRate_->setCurrentIndex(cmbBaudRate_->findText(f.baudRate));
    if (!f.serialDevice.isEmpty() && cmbSerialDevice_->findText(f.serialDevice) < 0)
        cmbSerialDevice_->addItem(f.serialDevice);
    cmbSerialDevice_->setCurrentIndex(cmbSerialDevice_->findText(f.serialDevice));
}

void FormPosConfig::showRow(int row) {
    ScopedFlag showing(showing_);
    if (row < 0)
        grid_->clearSelection();
    else
        grid_->selectRow(row);
}

void FormPosConfig::focusControl(const QString& name) {
    if (auto* w = findChild<QWidget*>(name)) w->setFocus();
}

void FormPosConfig::DisableComponents(bool enable) {
    for (QWidget* w : std::as_const(editFields_))
        w->setEnabled(enable);
    for (const char* name : {"cmdSave", "cmdCancel"})
        if (auto* b = findChild<QPushButton*>(QString::fromLatin1(name))) b->setEnabled(enable);
    for (const char* name : {"cmdNew", "cmdEdit", "cmdDelete", "cmdOK", "cmdRefresh"})
        if (auto* b = findChild<QPushButton*>(QString::fromLatin1(name))) b->setEnabled(!enable);
    grid_->setEnabled(!enable);
}

void FormPosConfig::loadSetting() {
    run([this] { logic_.showFor(ctx_.globals.CurrentUserID); });
}

void FormPosConfig::showSetting() {
    loadSetting();
    exec();
}

void FormPosConfig::chooseWhenUnsettled() {
    logic_.setChooser([this](PosConfigLogic&) { return exec() == QDialog::Accepted; });
}

}  // namespace si
