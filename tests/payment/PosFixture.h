#pragma once
// Terminal kinds, a bank account whose rows take an organisation (slot 1) and an employee
// (slot 2), and a workstation whose settings are a file of the test's own.

#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "payment/PosConfigLogic.h"
#include "support/ContextTest.h"

namespace si::test {

class PosTest : public ContextTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The fields of a valid Bank Melli terminal of the current user.
    void fillValid();
    // A terminal written directly; returns its id.
    int addTerminal(const QString& name, int userId, int typeId = 1,
                    const QString& comPort = QStringLiteral("COM1"));
    int countTerminals();
    // The settings file read afresh, as another run of the program on this workstation would.
    std::unique_ptr<QSettings> reopenSettings() const;

    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<PosConfigLogic> logic;
    int bankAccount = 0, plainAccount = 0;
    int organization = 0, employee = 0;
    QStringList focus;  // every focus the logic asked for
};

}  // namespace si::test
