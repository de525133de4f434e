#pragma once
// The operations of the load, each one or more runs of the saleinvoice command line as a
// workstation would run it: entering temporary and final invoices (credit sales, cash sales,
// shop-mode cash sales at the cashier's turn, sales of the goods with little stock, alone or by
// several workstations at once), finalising stored temporary invoices, one workstation or several
// at once on the same invoice, and reading invoices back.

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStringList>
#include <QVector>
#include <array>

#include "SoakDatabase.h"

namespace si::soak {

enum class OpKind {
    CreateTemporary,
    FinalCreditSale,
    FinalCashSale,
    ShopCashSale,
    ScarceGoodsSale,
    ScarceGoodsRush,
    FinaliseTemporary,
    FinaliseRace,
    Show,
};
inline constexpr int kOpKinds = 9;
QString OpName(OpKind kind);

// One process: its arguments after --db and its standard input.
struct Invocation {
    QStringList args;
    QByteArray input;
};

// A temporary invoice the load stored, and the user who stored it (who finalises it too).
struct StoredInvoice {
    qint64 id = 0;
    int user = 0;
};

struct Operation {
    OpKind kind = OpKind::Show;
    int user = 0;
    qint64 invoice = 0;  // the invoice a finalisation or a read is about
    QVector<Invocation> processes;
};

class OperationPlanner {
public:
    OperationPlanner(const Catalogue& catalogue, quint32 seed);

    // The next operation; finalisations take their invoice out of the pool of temporaries.
    Operation next();
    void storedTemporary(const StoredInvoice& invoice) { temporaries_.append(invoice); }
    void storedInvoice(qint64 id) { stored_.append(id); }
    // The load's own dice (which process is killed, and when), from the same seed.
    int roll(qsizetype upTo) { return static_cast<int>(random_.bounded(qint64(upTo))); }
    bool chance(double share) { return random_.generateDouble() < share; }

private:
    OpKind pickKind();
    Operation create(OpKind kind);
    Operation rush();
    Operation finalise(OpKind kind);
    Operation show();
    QJsonObject invoice(OpKind kind, int user);
    QJsonArray lines(bool scarce);
    int pieces() { return 1 + roll(3); }
    QString scarceGoods();

    const Catalogue& c_;
    QRandomGenerator random_;
    QVector<StoredInvoice> temporaries_;
    QVector<qint64> stored_;
};

}  // namespace si::soak
