// The terminal configuration: the save's checks in their order, the writes, delete and cancel,
// the grid and the workstation's stored terminal.

#include <functional>

#include "PosFixture.h"

namespace si::test {
namespace {

using PosConfig = PosTest;

struct SaveCase {
    const char* what;
    std::function<void(PosConfigLogic&)> change;
    QString caption;
    QString text;
    QString focus;
};

void setType(PosConfigLogic& l, int type) {
    if (type > 0)
        l.selector(QStringLiteral("sltPosType")).setID(type);
    else
        l.selector(QStringLiteral("sltPosType")).Clear();
}

TEST_P(PosConfig, SaveStopsAtTheFirstFailingCheckWithItsFieldFocused) {
    const QString warn = QStringLiteral("هشدار"), fault = QStringLiteral("اشكال");
    const QString noIp = QStringLiteral("شماره IP شبكه دستگاه پوز مشخص نشده است!");
    const QString noIpPort = QStringLiteral("شماره IPPort شبكه دستگاه پوز مشخص نشده است!");
    const QString melliOnly =
        QStringLiteral("شماره IP شبكه دستگاه پوز فقط براي بانك ملي قابل تنظيم است!");
    const QString noName = QStringLiteral("نام دستگاه مشخص نشده است!");
    const std::vector<SaveCase> cases{
        {"Melli without IP", [](auto& l) { l.fields().ip.clear(); }, warn, noIp, "txtIP"},
        {"Asan Pardakht without IP",
         [](auto& l) {
             setType(l, 4);
             l.fields().ip = QStringLiteral("  ");
         },
         warn, noIp, "txtIP"},
        {"Melli without IP port, name missing too",
         [](auto& l) {
             l.fields().ipPort.clear();
             l.fields().name.clear();
         },
         warn, noIpPort, "txtIPPort"},
        {"serial reader with IP", [](auto& l) { setType(l, 1); }, warn, melliOnly, "txtIP"},
        {"Saderat with IP", [](auto& l) { setType(l, 2); }, warn, melliOnly, "txtIP"},
        {"no type with IP", [](auto& l) { setType(l, -1); }, warn, melliOnly, "txtIP"},
        {"everything missing",
         [](auto& l) {
             l.fields() = {};
             for (const char* s : {"sltUser", "sltPosType", "sltAccount"})
                 l.selector(QString::fromLatin1(s)).Clear();
         },
         warn, noName, "txtName"},
        {"no account",
         [](auto& l) {
             l.selector(QStringLiteral("sltAccount")).Clear();
             l.fields().comPort.clear();
         },
         warn, QStringLiteral("حساب بدهكار بانك بايد مشخص گردد!"), "sltAccount"},
        {"no port, no rate",
         [](auto& l) {
             l.fields().comPort.clear();
             l.fields().baudRate.clear();
         },
         fault, QStringLiteral("پورت مشخص نشده است"), "cmbComPort"},
        {"a port the form does not offer", [](auto& l) { l.fields().comPort = "COM11"; }, fault,
         QStringLiteral("پورت مشخص نشده است"), "cmbComPort"},
        {"no rate, no user",
         [](auto& l) {
             l.fields().baudRate = QStringLiteral("4800");
             l.selector(QStringLiteral("sltUser")).Clear();
         },
         fault, QStringLiteral("نرخ انتقال مشخص نشده است"), "cmbBaudRate"},
        {"no user, no type",
         [](auto& l) {
             l.selector(QStringLiteral("sltUser")).Clear();
             setType(l, -1);
             l.fields().ip.clear();
         },
         fault, QStringLiteral("كاربر مشخص نشده است"), "sltUser"},
        {"no type",
         [](auto& l) {
             setType(l, -1);
             l.fields().ip.clear();
         },
         fault, QStringLiteral("نوع دستگاه پوز مشخص نشده است"), "sltPosType"},
        {"IP port not a port", [](auto& l) { l.fields().ipPort = QStringLiteral("88a"); }, fault,
         QStringLiteral("شماره IPPort شبكه دستگاه پوز بايد عددي از 1 تا 65535 باشد."), "txtIPPort"},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.what);
        fillValid();
        c.change(*logic);
        messages.clear();
        focus.clear();
        EXPECT_FALSE(logic->cmdSave());
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.last().caption, c.caption);
        EXPECT_EQ(messages.last().text, c.text);
        EXPECT_EQ(focus, QStringList{c.focus});
        EXPECT_TRUE(logic->editing());
    }
    EXPECT_EQ(countTerminals(), 0);
}

TEST_P(PosConfig, NetworkKindsTakeWhatTheyNeed) {
    // Keshavarzi may go by serial port alone or by network; Asan Pardakht needs no IP port.
    const std::vector<std::pair<int, std::pair<QString, QString>>> accepted{
        {5, {QString(), QString()}},
        {5, {QStringLiteral("127.0.0.1"), QString()}},
        {4, {QStringLiteral("127.0.0.1"), QString()}},
        {1, {QString(), QStringLiteral("8888")}}};
    for (const auto& [type, network] : accepted) {
        fillValid();
        setType(*logic, type);
        logic->fields().ip = network.first;
        logic->fields().ipPort = network.second;
        EXPECT_TRUE(logic->cmdSave()) << type << " " << messages.texts().join(" ").toStdString();
    }
    EXPECT_EQ(countTerminals(), 4);
}

TEST_P(PosConfig, NewTerminalStartsForTheCurrentUserAsASerialReader) {
    logic->cmdNew();
    EXPECT_TRUE(logic->editing());
    EXPECT_EQ(logic->selector(QStringLiteral("sltUser")).ID(), ctx.globals.CurrentUserID);
    EXPECT_EQ(logic->selector(QStringLiteral("sltPosType")).ID(), 1);
    EXPECT_TRUE(logic->selector(QStringLiteral("sltAccount")).IsEmpty());
    const PosFields& f = logic->fields();
    EXPECT_EQ(f.ipPort, QStringLiteral("8888"));
    EXPECT_TRUE(f.id.isEmpty() && f.name.isEmpty() && f.comPort.isEmpty() && f.baudRate.isEmpty() &&
                f.ip.isEmpty());
    EXPECT_EQ(focus.value(0), QStringLiteral("txtName"));
}

TEST_P(PosConfig, ATerminalIsWrittenAndRewrittenWithItsObjects) {
    fillValid();
    logic->selector(QStringLiteral("sltObject1")).setID(organization);
    ASSERT_TRUE(logic->selector(QStringLiteral("sltObject1")).objectInUse());
    EXPECT_FALSE(logic->selector(QStringLiteral("sltObject3")).objectInUse());
    ASSERT_TRUE(logic->cmdSave()) << messages.texts().join(" ").toStdString();
    EXPECT_FALSE(logic->editing());
    const int id = logic->fields().id.toInt();
    ASSERT_GT(id, 0);
    auto row = db().first(QStringLiteral("select * from tblRecPayPos where ID = ?"), {id});
    ASSERT_TRUE(row);
    EXPECT_EQ(row->text(u"Name"), QStringLiteral("كارتخوان صندوق 1"));
    EXPECT_EQ(row->text(u"COMPort"), QStringLiteral("COM2"));
    EXPECT_EQ(row->toInt(u"BaudRate"), 115200);
    EXPECT_EQ(row->toInt(u"AccountID"), bankAccount);
    EXPECT_EQ(row->toInt(u"ObjectID1"), organization);
    EXPECT_TRUE(row->isNull(u"ObjectID2"));
    EXPECT_TRUE(row->isNull(u"ObjectID3"));
    EXPECT_EQ(row->toInt(u"UserID"), ctx.globals.CurrentUserID);
    EXPECT_EQ(row->toInt(u"TypeID"), 3);
    EXPECT_EQ(row->text(u"IP"), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(row->toInt(u"IPPORT"), 8888);

    // Loaded again, edited: the first object goes, the second comes, the IP port empties.
    logic->selectRow(logic->grid().rowOf(id));
    EXPECT_EQ(logic->selector(QStringLiteral("sltObject1")).ID(), organization);
    logic->cmdEdit();
    setType(*logic, 5);
    logic->fields().name = QStringLiteral("كارتخوان كشاورزي");
    logic->fields().ipPort.clear();
    logic->selector(QStringLiteral("sltObject1")).Clear();
    logic->selector(QStringLiteral("sltObject2")).setID(employee);
    ASSERT_TRUE(logic->cmdSave()) << messages.texts().join(" ").toStdString();
    EXPECT_EQ(countTerminals(), 1);
    row = db().first(QStringLiteral("select * from tblRecPayPos where ID = ?"), {id});
    EXPECT_EQ(row->text(u"Name"), QStringLiteral("كارتخوان كشاورزي"));
    EXPECT_EQ(row->toInt(u"TypeID"), 5);
    EXPECT_TRUE(row->isNull(u"ObjectID1"));
    EXPECT_EQ(row->toInt(u"ObjectID2"), employee);
    EXPECT_TRUE(row->isNull(u"IPPORT"));

    // A quote in a name is a character like any other.
    logic->cmdEdit();
    logic->fields().name = QStringLiteral("O'Neil'); delete from tblRecPayPos; --");
    ASSERT_TRUE(logic->cmdSave());
    EXPECT_EQ(
        db().scalar(QStringLiteral("select Name from tblRecPayPos where ID = ?"), {id}).toString(),
        QStringLiteral("O'Neil'); delete from tblRecPayPos; --"));
}

TEST_P(PosConfig, ChangingTheAccountClearsTheObjectsOfItsSlots) {
    fillValid();
    logic->selector(QStringLiteral("sltObject1")).setID(organization);
    logic->selector(QStringLiteral("sltAccount")).setID(plainAccount);
    for (const char* s : {"sltObject1", "sltObject2", "sltObject3"}) {
        EXPECT_TRUE(logic->selector(QString::fromLatin1(s)).IsEmpty()) << s;
        EXPECT_FALSE(logic->selector(QString::fromLatin1(s)).objectInUse()) << s;
    }
}

TEST_P(PosConfig, DeleteAndCancelAskFirst) {
    const int id = addTerminal(QStringLiteral("پوز قديمي"), ctx.globals.CurrentUserID);
    logic->cmdRefresh();
    logic->selectRow(logic->grid().rowOf(id));

    messages.answerNo();
    EXPECT_FALSE(logic->cmdDelete());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("هشدار"));
    EXPECT_EQ(messages.last().text, QStringLiteral("آيا نسبت به حذف مطمئن هستيد؟"));
    EXPECT_EQ(messages.last().formType, 1);
    EXPECT_EQ(countTerminals(), 1);

    logic->cmdEdit();
    logic->fields().name = QStringLiteral("نام تازه");
    messages.answerNo();
    EXPECT_FALSE(logic->cmdCancel());
    EXPECT_EQ(messages.last().caption, QStringLiteral("پرسش"));
    EXPECT_EQ(messages.last().text, QStringLiteral("آيا براي انصراف مطمئن هستيد؟"));
    EXPECT_TRUE(logic->editing());
    messages.answerYes();
    EXPECT_TRUE(logic->cmdCancel());
    EXPECT_FALSE(logic->editing());
    EXPECT_EQ(logic->fields().name, QStringLiteral("پوز قديمي"));

    messages.answerYes();
    EXPECT_TRUE(logic->cmdDelete());
    EXPECT_EQ(countTerminals(), 0);
    EXPECT_EQ(logic->grid().rowCount(), 0);
    EXPECT_TRUE(logic->fields().id.isEmpty());
}

TEST_P(PosConfig, TheGridListsAUsersTerminalsOrEveryonesNewestFirst) {
    const int other = addUser(QStringLiteral("صندوقدار دوم"), false);
    const int mine1 = addTerminal(QStringLiteral("پوز 1"), ctx.globals.CurrentUserID, 3);
    const int theirs = addTerminal(QStringLiteral("پوز 2"), other, 1);
    const int mine2 = addTerminal(QStringLiteral("پوز 3"), ctx.globals.CurrentUserID, 5);
    EXPECT_EQ(PosGridModel::headers(),
              (QStringList{QStringLiteral("ش.ر."), QStringLiteral("نوع دستگاه"),
                           QStringLiteral("نام"), QStringLiteral("درگاه"),
                           QStringLiteral("نرخ انتقال"), QStringLiteral("حساب")}));
    auto ids = [this] {
        QList<int> list;
        for (const PosListRow& r : logic->grid().rows())
            list << r.id;
        return list;
    };
    logic->showFor(ctx.globals.CurrentUserID);
    EXPECT_EQ(ids(), (QList<int>{mine2, mine1}));
    PosGridModel& g = logic->grid();
    EXPECT_EQ(g.data(g.index(1, 1)).toString(), QStringLiteral("بانک ملي"));
    EXPECT_EQ(g.data(g.index(1, 3)).toString(), QStringLiteral("COM1"));
    EXPECT_EQ(g.data(g.index(1, 4)).toInt(), 9600);
    EXPECT_EQ(g.data(g.index(1, 5)).toString(), QStringLiteral("بانك ملت"));
    EXPECT_EQ(g.headerData(4, Qt::Horizontal).toString(), QStringLiteral("نرخ انتقال"));
    logic->showFor(other);
    EXPECT_EQ(ids(), QList<int>{theirs});
    logic->showFor(-1);
    EXPECT_EQ(ids(), (QList<int>{mine2, theirs, mine1}));
}

TEST_P(PosConfig, TheWorkstationKeepsItsTerminalAcrossRuns) {
    const int first = addTerminal(QStringLiteral("پوز 1"), ctx.globals.CurrentUserID);
    const int second = addTerminal(QStringLiteral("پوز 2"), ctx.globals.CurrentUserID);
    logic->cmdRefresh();
    EXPECT_EQ(logic->selectedRow(), -1);
    EXPECT_FALSE(logic->cmdOK());
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشكال"));
    EXPECT_EQ(messages.last().text, QStringLiteral("رديف انتخاب شده نادرست است."));
    EXPECT_EQ(reopenSettings()->value(QStringLiteral("SaleInvoice/PosID")), QVariant());

    logic->selectRow(logic->grid().rowOf(first));
    ASSERT_TRUE(logic->cmdOK());
    EXPECT_EQ(reopenSettings()->value(QStringLiteral("SaleInvoice/PosID")).toInt(), first);

    // Another run on this workstation opens with the stored terminal selected and loaded.
    auto again = reopenSettings();
    PosConfigLogic next(ctx, *again);
    next.FormLoad();
    ASSERT_EQ(next.selectedRow(), next.grid().rowOf(first));
    EXPECT_EQ(next.fields().name, QStringLiteral("پوز 1"));
    EXPECT_NE(next.grid().rowOf(second), -1);
}

}  // namespace

SI_INSTANTIATE_BACKENDS(PosConfig);

}  // namespace si::test
