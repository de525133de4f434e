#include "PosFixture.h"

namespace si::test {

void PosTest::SetUp() {
    ContextTest::SetUp();
    ASSERT_TRUE(dir.isValid());
    settings = reopenSettings();
    const QStringList kinds{QStringLiteral("کارتخوان سريال"), QStringLiteral("بانک صادرات"),
                            QStringLiteral("بانک ملي"), QStringLiteral("آسان پرداخت"),
                            QStringLiteral("بانک کشاورزي")};
    for (int i = 0; i < kinds.size(); ++i)
        db().exec(QStringLiteral("insert into tblRecPayPosType (ID, Name) values (?, ?)"),
                  {i + 1, kinds[i]});
    auto account = [this](const QString& code, const QString& title) {
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblAccount (Code, Title) values (?, ?) RETURNING ID"),
            {code, title}));
    };
    bankAccount = account(QStringLiteral("1101"), QStringLiteral("بانك ملي شعبه مركزي"));
    plainAccount = account(QStringLiteral("1102"), QStringLiteral("بانك ملت"));
    db().exec(
        QStringLiteral("insert into tblAccountClass (ID, Name, ViewMajor, ViewMinor) values "
                       "(7, 'سازمان', 'vwOrganizationMajor', 'vwOrganizationMinor'), "
                       "(9, 'كارمند', 'vwEmployeeMajor', 'vwEmployeeMinor')"));
    db().exec(QStringLiteral("insert into tblAccountRelatedClasses (AccountID, ClassID, Sequence) "
                             "values (?, 7, 1), (?, 9, 2)"),
              {bankAccount, bankAccount});
    organization = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblOrganization (Code, Name) values ('10', 'بانك') RETURNING "
                       "ID")));
    employee = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblEmployee (Code, FirstName, SureName) values ('20', 'علي', "
                       "'رضايي') RETURNING ID")));
    logic = std::make_unique<PosConfigLogic>(ctx, *settings);
    QObject::connect(logic.get(), &PosConfigLogic::focusRequested,
                     [this](const QString& control) { focus << control; });
    logic->FormLoad();
}

void PosTest::TearDown() {
    logic.reset();
    ContextTest::TearDown();
}

std::unique_ptr<QSettings> PosTest::reopenSettings() const {
    return std::make_unique<QSettings>(dir.filePath(QStringLiteral("workstation.ini")),
                                       QSettings::IniFormat);
}

void PosTest::fillValid() {
    logic->cmdNew();
    PosFields& f = logic->fields();
    f.name = QStringLiteral("كارتخوان صندوق 1");
    f.comPort = QStringLiteral("COM2");
    f.baudRate = QStringLiteral("115200");
    f.ip = QStringLiteral("127.0.0.1");
    f.ipPort = QStringLiteral("8888");
    logic->selector(QStringLiteral("sltPosType")).setID(3);
    logic->selector(QStringLiteral("sltAccount")).setID(bankAccount);
}

int PosTest::addTerminal(const QString& name, int userId, int typeId, const QString& comPort) {
    return static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblRecPayPos (Name, COMPort, BaudRate, AccountID, UserID, "
                       "TypeID) values (?, ?, 9600, ?, ?, ?) RETURNING ID"),
        {name, comPort, plainAccount, userId, typeId}));
}

int PosTest::countTerminals() {
    return db().scalar(QStringLiteral("select count(*) from tblRecPayPos")).toInt();
}

}  // namespace si::test
