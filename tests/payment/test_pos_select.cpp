// SelectSetting: which terminal the card payment gets for a user on this workstation, and the
// serial device behind a terminal's port.

#include "PosFixture.h"

namespace si::test {
namespace {

using PosSelect = PosTest;

TEST_P(PosSelect, TheStoredTerminalOfTheUserWinsWithItsObjectsAndClasses) {
    const int user = ctx.globals.CurrentUserID;
    addTerminal(QStringLiteral("پوز 1"), user);
    const int chosen = static_cast<int>(db().insertReturningId(
        QStringLiteral("insert into tblRecPayPos (Name, COMPort, BaudRate, AccountID, ObjectID1, "
                       "ObjectID2, UserID, TypeID, IP, IPPORT) values (?, 'COM4', 115200, ?, ?, "
                       "?, ?, 3, '127.0.0.1', 8888) RETURNING ID"),
        {QStringLiteral("پوز ملي"), bankAccount, organization, employee, user}));
    PosWorkstation(*settings).setPosID(chosen);
    bool asked = false;
    logic->setChooser([&](PosConfigLogic&) { return asked = true; });

    const std::optional<PosDevice> d = logic->SelectSetting(user);
    ASSERT_TRUE(d);
    EXPECT_FALSE(asked);
    EXPECT_EQ(d->id, chosen);
    EXPECT_EQ(d->name, QStringLiteral("پوز ملي"));
    EXPECT_EQ(d->typeId, 3);
    EXPECT_EQ(d->comPort, QStringLiteral("COM4"));
    EXPECT_EQ(d->baudRate, 115200);
    EXPECT_EQ(d->accountId, bankAccount);
    EXPECT_EQ(d->objectIds, (std::array<int, 3>{organization, employee, 0}));
    EXPECT_EQ(d->classIds, (std::array<int, 3>{7, 9, 0}));
    EXPECT_EQ(d->ip, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(d->ipPort, 8888);
    EXPECT_EQ(d->userId, user);
    EXPECT_EQ(d->serialDevice, QStringLiteral("/dev/ttyS3"));
    EXPECT_EQ(logic->selectedRow(), logic->grid().rowOf(chosen));
    EXPECT_TRUE(messages.empty());
}

TEST_P(PosSelect, AnotherUsersStoredTerminalGivesWayToTheUsersOnlyOne) {
    const int other = addUser(QStringLiteral("صندوقدار دوم"), false);
    const int theirs = addTerminal(QStringLiteral("پوز ديگري"), other);
    const int mine = addTerminal(QStringLiteral("پوز من"), ctx.globals.CurrentUserID);
    PosWorkstation(*settings).setPosID(theirs);
    const auto d = logic->SelectSetting(ctx.globals.CurrentUserID);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->id, mine);
    EXPECT_EQ(d->classIds, (std::array<int, 3>{0, 0, 0}));  // its account takes no objects
    EXPECT_EQ(PosWorkstation(*settings).PosID(), theirs);   // the stored choice is not changed
}

TEST_P(PosSelect, AnUnsettledChoiceIsAskedOrRefused) {
    const int user = ctx.globals.CurrentUserID;
    // No terminal and no one to ask.
    EXPECT_FALSE(logic->SelectSetting(user));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.last().caption, QStringLiteral("اشكال"));
    EXPECT_EQ(messages.last().text, QStringLiteral("براي اين كاربر دستگاه پوز تعريف نشده است."));

    addTerminal(QStringLiteral("پوز 1"), user);
    const int second = addTerminal(QStringLiteral("پوز 2"), user);
    messages.clear();
    EXPECT_FALSE(logic->SelectSetting(user));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.last().text.contains(QStringLiteral("انتخاب نشده است")));

    // The form shows the user's terminals; the clerk leaves without choosing.
    int asked = 0;
    logic->setChooser([&](PosConfigLogic& form) {
        ++asked;
        EXPECT_EQ(form.grid().rowCount(), 2);
        return false;
    });
    messages.clear();
    EXPECT_FALSE(logic->SelectSetting(user));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(messages.empty());

    // The clerk picks the second and confirms: it is stored and returned, and asked no more.
    logic->setChooser([&](PosConfigLogic& form) {
        ++asked;
        form.selectRow(form.grid().rowOf(second));
        return form.cmdOK();
    });
    auto d = logic->SelectSetting(user);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->id, second);
    EXPECT_EQ(reopenSettings()->value(QStringLiteral("SaleInvoice/PosID")).toInt(), second);
    d = logic->SelectSetting(user);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->id, second);
    EXPECT_EQ(asked, 2);
}

TEST_P(PosSelect, APortNamesTheWorkstationsSerialDevice) {
    PosWorkstation ws(*settings);
    EXPECT_EQ(ws.SerialDeviceOf(QStringLiteral("COM1")), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(ws.SerialDeviceOf(QStringLiteral("com10")), QStringLiteral("/dev/ttyS9"));
    EXPECT_EQ(ws.SerialDeviceOf(QStringLiteral("COM11")), QString());
    EXPECT_EQ(ws.SerialDeviceOf(QString()), QString());
    ws.setSerialDevice(QStringLiteral("COM3"), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(PosWorkstation(*reopenSettings()).SerialDeviceOf(QStringLiteral("COM3")),
              QStringLiteral("/dev/ttyUSB0"));
    ws.setSerialDevice(QStringLiteral("COM3"), QString());
    EXPECT_EQ(ws.SerialDeviceOf(QStringLiteral("COM3")), QStringLiteral("/dev/ttyS2"));

    // The form stores the device chosen for a terminal's port, and the payment gets it.
    fillValid();
    logic->setComPort(QStringLiteral("COM5"));
    EXPECT_EQ(logic->fields().serialDevice, QStringLiteral("/dev/ttyS4"));
    logic->fields().serialDevice = QStringLiteral("/dev/ttyACM0");
    ASSERT_TRUE(logic->cmdSave()) << messages.texts().join(" ").toStdString();
    const auto d = logic->SelectSetting(ctx.globals.CurrentUserID);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->serialDevice, QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(PosWorkstation(*reopenSettings()).SerialDeviceOf(QStringLiteral("COM5")),
              QStringLiteral("/dev/ttyACM0"));
}

}  // namespace

SI_INSTANTIATE_BACKENDS(PosSelect);

}  // namespace si::test
