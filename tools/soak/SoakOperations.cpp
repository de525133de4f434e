#include "SoakOperations.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace si::soak {

namespace {

constexpr int kCash = 1;
constexpr int kCredit = 2;

struct Weight {
    OpKind kind;
    int weight;
};

// Shares of the load, in percent.
constexpr Weight kWeights[] = {
    {OpKind::CreateTemporary, 20},   {OpKind::FinalCreditSale, 14}, {OpKind::FinalCashSale, 10},
    {OpKind::ShopCashSale, 10},      {OpKind::ScarceGoodsSale, 12}, {OpKind::ScarceGoodsRush, 8},
    {OpKind::FinaliseTemporary, 12}, {OpKind::FinaliseRace, 10},    {OpKind::Show, 4},
};

constexpr int kMostRacers = 4;
constexpr int kMostRushers = 6;

QStringList asUser(int user) {
    return {QStringLiteral("--user"), QString::number(user), QStringLiteral("--yes")};
}

}  // namespace

QString OpName(OpKind kind) {
    switch (kind) {
        case OpKind::CreateTemporary:
            return QStringLiteral("create temporary");
        case OpKind::FinalCreditSale:
            return QStringLiteral("final credit sale");
        case OpKind::FinalCashSale:
            return QStringLiteral("final cash sale");
        case OpKind::ShopCashSale:
            return QStringLiteral("shop cash sale");
        case OpKind::ScarceGoodsSale:
            return QStringLiteral("scarce goods sale");
        case OpKind::ScarceGoodsRush:
            return QStringLiteral("scarce goods rush");
        case OpKind::FinaliseTemporary:
            return QStringLiteral("finalise temporary");
        case OpKind::FinaliseRace:
            return QStringLiteral("finalise race");
        case OpKind::Show:
            return QStringLiteral("show");
    }
    return {};
}

OperationPlanner::OperationPlanner(const Catalogue& catalogue, quint32 seed)
    : c_(catalogue), random_(seed) {}

OpKind OperationPlanner::pickKind() {
    int left = roll(100);
    for (const Weight& w : kWeights) {
        if (left < w.weight) return w.kind;
        left -= w.weight;
    }
    return OpKind::Show;
}

Operation OperationPlanner::next() {
    const OpKind kind = pickKind();
    switch (kind) {
        case OpKind::FinaliseTemporary:
        case OpKind::FinaliseRace:
            return temporaries_.isEmpty() ? create(OpKind::CreateTemporary) : finalise(kind);
        case OpKind::Show:
            return stored_.isEmpty() ? create(OpKind::CreateTemporary) : show();
        case OpKind::ScarceGoodsRush:
            return rush();
        default:
            return create(kind);
    }
}

// Distinct goods (a goods item may not repeat on an invoice), one to three pieces each; a sale of
// scarce goods takes one of them and maybe a plentiful one besides.
QString OperationPlanner::scarceGoods() {
    return c_.scarceGoods[roll(c_.scarceGoods.size())];
}

QJsonArray OperationPlanner::lines(bool scarce) {
    QStringList goods;
    if (scarce) goods << scarceGoods();
    const int plenty = scarce ? roll(2) : 1 + roll(3);
    while (goods.size() < (scarce ? 1 : 0) + plenty) {
        const QString& g = c_.plentyGoods[roll(c_.plentyGoods.size())];
        if (!goods.contains(g)) goods << g;
    }
    QJsonArray array;
    for (const QString& g : goods)
        array.append(
            QJsonObject{{QStringLiteral("barcode"), g}, {QStringLiteral("qty"), pieces()}});
    return array;
}

QJsonObject OperationPlanner::invoice(OpKind kind, int user) {
    const bool credit = kind == OpKind::FinalCreditSale ||
                        (user == c_.adminUser && kind != OpKind::FinalCashSale && roll(2) == 0);
    const bool scarce =
        kind == OpKind::ScarceGoodsSale || (kind == OpKind::CreateTemporary && roll(6) == 0);
    QJsonObject o{{QStringLiteral("inventory"), c_.inventory},
                  {QStringLiteral("paidByCash"), credit ? kCredit : kCash},
                  {QStringLiteral("lines"), lines(scarce)}};
    if (user == c_.adminUser)
        o.insert(QStringLiteral("customer"), c_.customers[roll(c_.customers.size())]);
    return o;
}

Operation OperationPlanner::create(OpKind kind) {
    // The cashier keeps a share of the temporary invoices and every shop sale; the rest is the
    // administrator's, who may sell on credit.
    const bool cashier =
        kind == OpKind::ShopCashSale || (kind == OpKind::CreateTemporary && roll(8) == 0);
    const int user = cashier ? c_.cashierUser : c_.adminUser;
    QStringList args = asUser(user);
    args << QStringLiteral("invoice") << QStringLiteral("create") << QStringLiteral("-");
    if (kind != OpKind::CreateTemporary) args << QStringLiteral("--final");
    Operation op;
    op.kind = kind;
    op.user = user;
    op.processes.append({args, QJsonDocument(invoice(kind, user)).toJson(QJsonDocument::Compact)});
    return op;
}

// Workstations selling the same scarce goods item at the same moment, a few pieces each: together
// they may not sell more than its stock.
Operation OperationPlanner::rush() {
    const QString goods = scarceGoods();
    const int rushers = 3 + roll(kMostRushers - 2);
    Operation op;
    op.kind = OpKind::ScarceGoodsRush;
    op.user = c_.adminUser;
    QStringList args = asUser(op.user);
    args << QStringLiteral("invoice") << QStringLiteral("create") << QStringLiteral("-")
         << QStringLiteral("--final");
    for (int i = 0; i < rushers; ++i) {
        QJsonObject o = invoice(OpKind::FinalCashSale, op.user);
        o.insert(QStringLiteral("lines"),
                 QJsonArray{QJsonObject{{QStringLiteral("barcode"), goods},
                                        {QStringLiteral("qty"), 1 + roll(2)}}});
        if (roll(2) == 0) o.insert(QStringLiteral("paidByCash"), kCredit);
        op.processes.append({args, QJsonDocument(o).toJson(QJsonDocument::Compact)});
    }
    return op;
}

// The racers start together on the same invoice, as workstations pressing the key at once.
Operation OperationPlanner::finalise(OpKind kind) {
    const StoredInvoice target = temporaries_.takeAt(roll(temporaries_.size()));
    const int racers = kind == OpKind::FinaliseRace ? 2 + roll(kMostRacers - 1) : 1;
    Operation op;
    op.kind = kind;
    op.user = target.user;
    op.invoice = target.id;
    QStringList args = asUser(target.user);
    args << QStringLiteral("invoice") << QStringLiteral("final") << QString::number(target.id);
    for (int i = 0; i < racers; ++i)
        op.processes.append({args, {}});
    return op;
}

Operation OperationPlanner::show() {
    Operation op;
    op.kind = OpKind::Show;
    op.invoice = stored_[roll(stored_.size())];
    op.processes.append({{QStringLiteral("invoice"), QStringLiteral("show"),
                          QString::number(op.invoice), QStringLiteral("--json")},
                         {}});
    return op;
}

}  // namespace si::soak
