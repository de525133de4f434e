// The configuration form as a clerk works it: its controls by name, a new terminal typed and
// saved, and the size of a till's screen.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "PosFixture.h"
#include "controls/ui/SelectorWidget.h"
#include "payment/ui/FormPosConfig.h"
#include "support/Typing.h"

namespace si::test {
namespace {

class FormPosConfigTest : public PosTest {
protected:
    void SetUp() override {
        PosTest::SetUp();
        form = std::make_unique<FormPosConfig>(ctx, *settings);
        form->setAttribute(Qt::WA_DontShowOnScreen);
        form->show();
        form->logic().FormLoad();
    }
    void TearDown() override {
        form.reset();
        PosTest::TearDown();
    }
    template <class W>
    W* control(const char* name) {
        auto* w = form->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    std::unique_ptr<FormPosConfig> form;
};

TEST_P(FormPosConfigTest, ANewTerminalIsTypedAndSaved) {
    EXPECT_EQ(form->layoutDirection(), Qt::RightToLeft);
    EXPECT_LE(form->width(), 1366);
    EXPECT_LE(form->height(), 738);
    for (const char* name : {"sltUser", "sltPosType", "sltAccount", "sltObject1", "sltObject2",
                             "sltObject3", "sltRefreshUser"})
        control<SelectorWidget>(name);
    for (const char* name : {"cmdNew", "cmdEdit", "cmdSave", "cmdDelete", "cmdCancel", "cmdRefresh",
                             "cmdOK", "cmdExit"})
        control<QPushButton>(name);
    EXPECT_EQ(control<SelectorWidget>("sltAccount")->model().caption(),
              QStringLiteral("حساب بدهكار بانك"));
    EXPECT_EQ(control<QComboBox>("cmbComPort")->count(), 10);
    EXPECT_EQ(control<QComboBox>("cmbBaudRate")->itemText(1), QStringLiteral("115200"));
    EXPECT_FALSE(control<QLineEdit>("txtName")->isEnabled());

    control<QPushButton>("cmdNew")->click();
    EXPECT_TRUE(control<QLineEdit>("txtName")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("cmdOK")->isEnabled());
    EXPECT_EQ(control<QLineEdit>("txtIPPort")->text(), QStringLiteral("8888"));
    TypeInto(control<QLineEdit>("txtName"), QStringLiteral("پوز صندوق"));
    control<QComboBox>("cmbComPort")->activated(2);
    control<QComboBox>("cmbBaudRate")->activated(0);
    EXPECT_EQ(control<QComboBox>("cmbSerialDevice")->currentText(), QStringLiteral("/dev/ttyS2"));
    form->logic().selector(QStringLiteral("sltAccount")).setID(plainAccount);
    control<QPushButton>("cmdSave")->click();
    ASSERT_EQ(countTerminals(), 1) << messages.texts().join(" ").toStdString();
    auto row =
        db().first(QStringLiteral("select Name, COMPort, BaudRate, IPPORT from tblRecPayPos"));
    EXPECT_EQ(row->text(u"Name"), QStringLiteral("پوز صندوق"));
    EXPECT_EQ(row->text(u"COMPort"), QStringLiteral("COM3"));
    EXPECT_EQ(row->toInt(u"BaudRate"), 9600);
    EXPECT_EQ(row->toInt(u"IPPORT"), 8888);
    EXPECT_EQ(control<QTableView>("flexPOS")->model()->rowCount(), 1);
    EXPECT_FALSE(control<QLineEdit>("txtName")->isEnabled());
    EXPECT_FALSE(control<QLineEdit>("txtID")->text().isEmpty());

    // A refused save leaves the focus on the field at fault.
    control<QPushButton>("cmdEdit")->click();
    control<QLineEdit>("txtName")->clear();
    TypeInto(control<QLineEdit>("txtName"), QStringLiteral(" "));
    control<QPushButton>("cmdSave")->click();
    EXPECT_EQ(messages.last().text, QStringLiteral("نام دستگاه مشخص نشده است!"));
    EXPECT_EQ(form->focusWidget(), control<QLineEdit>("txtName"));
}

}  // namespace

SI_INSTANTIATE_BACKENDS(FormPosConfigTest);

}  // namespace si::test
