#pragma once
// The saleinvoice program run as a separate process on a demo company per back-end, as an
// integration would run it: arguments, standard input, exit code, standard output and error.

#include <gtest/gtest.h>
#include <QJsonObject>
#include <QString>
#include <QStringList>

class QProcess;
#include <memory>

#include "common/Context.h"
#include "common/Session.h"
#include "support/ScriptedMessages.h"
#include "support/TestDatabase.h"

namespace si::test {

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QString err;
    QJsonObject json() const;  // standard output read as one JSON object
};

// Runs the program with these arguments and input, and waits for it.
CliResult RunProgram(const QStringList& args, const QByteArray& input = {});
// What a finished run of the program left.
CliResult ResultOf(QProcess& finished);

// A context of this process on the demo company, as the program opens it for the cashier (user
// 1); with the suite's components for a form that saves and posts.
struct Workstation {
    explicit Workstation(const QString& connection, bool suiteComponents = false);
    ComponentRegistry components;
    ProcedureRegistry procedures;
    MessageScript messages;
    Context ctx{&components, &procedures};
};

class CliTest : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override;

    // Runs saleinvoice with --db of this back-end's demo company before the given arguments.
    CliResult run(const QStringList& args, const QByteArray& input = {}) const;
    CliResult create(const QJsonObject& invoice, const QStringList& extra = {}) const;

    QString connection() const;
    Session& db();
    // Rows of the tables a save writes to, to show that nothing was written.
    QString footprint();

    // Goods the demo sells from inventory 1 with stock; customers without open questions.
    QStringList stockedBarcodes(int count);
    int plainCustomer();
};

// A cash box of the test's own, for administrator 1, removed with its turns at the end: the demo's
// turns are shared by the program's other tests.
class OwnCashBox {
public:
    OwnCashBox(Session& db, const QString& name);
    ~OwnCashBox();
    OwnCashBox(const OwnCashBox&) = delete;
    OwnCashBox& operator=(const OwnCashBox&) = delete;
    qint64 id() const { return id_; }
    QString text() const { return QString::number(id_); }

private:
    Session& db_;
    qint64 id_;
};

// A demo company with one goods item in stock and a plain customer to sell it to.
class CliOneSaleTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        goods = stockedBarcodes(1);
        ASSERT_EQ(goods.size(), 1);
        customer = plainCustomer();
    }
    QStringList goods;
    int customer = -1;
};

}  // namespace si::test
