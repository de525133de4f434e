#include "common/SystemParameters.h"

#include <cmath>
#include <stdexcept>

#include "common/Numbers.h"
#include "common/Session.h"

namespace si {

namespace {

struct ParamDef {
    int id;
    ParamKind kind;
    QVariant initial;
};

const QVector<ParamDef>& definitions() {
    using K = ParamKind;
    static const QVector<ParamDef> defs = {
        {P::ShopMode, K::Flag, false},
        {P::UnitPriceEditable, K::Flag, false},
        {P::BaseUnitPrice, K::Flag, false},
        {P::RepeatGoods, K::Flag, false},
        {P::PeriodDates, K::Flag, false},
        {P::ShowTempQty, K::Flag, false},
        {P::DiscountEditable, K::Flag, false},
        {P::DebitInfoButtons, K::Flag, false},
        {P::ShowStock, K::Flag, false},
        {P::AskLastInvoice, K::Flag, false},
        {P::WarnNoOpenAccount, K::Flag, false},
        {P::DefaultPaidByCash, K::Flag, false},
        {P::PositionCustomersOnly, K::Flag, false},
        {P::AccountObjects, K::Flag, false},
        {P::CodeReadOnly, K::Flag, false},
        {P::ShopAltTemplate, K::Flag, false},
        {P::ShopBarcodeReadOnly, K::Flag, false},
        {P::RequirePromoter, K::Flag, false},
        {P::RequireBranch, K::Flag, false},
        {P::RequirePromoter2, K::Flag, false},
        {P::RequireIntroduction, K::Flag, false},
        {P::RequireLinePromoter, K::Flag, false},
        {P::BranchLimited, K::Flag, false},
        {P::CustomerListWithAddress, K::TrimmedFlag, false},
        {P::EditResetsDate, K::TrimmedFlag, true},
        {P::ShowBaseQty, K::TrimmedFlag, false},
        {P::LineDescription, K::TrimmedFlag, false},
        {P::PromoterRule, K::TrimmedFlag, false},
        {P::Promoter2Rule, K::TrimmedFlag, false},
        {P::ReadFromFile, K::TrimmedFlag, false},
        {P::LotterySlips, K::TrimmedFlag, false},
        {P::ShowCrmCard, K::TrimmedFlag, false},
        {P::PromoterByRfid, K::TrimmedFlag, false},
        {P::NewCustomerCommand, K::TrimmedFlag, false},
        {P::DeleteRule, K::TrimmedFlag, false},
        {P::SmsRule, K::TrimmedFlag, true},
        {P::CardBirthdayAdd, K::TrimmedFlag, false},
        {P::StandardExcludesCard, K::TrimmedFlag, false},
        {P::GoodsLookupRule, K::TrimmedFlag, false},
        {P::ScaleLayoutList, K::NumericFlag, false},
        {P::CreditCashBox, K::CashBox, -1},
        {P::AgeLimitDays, K::SmallNumber, -1},
        {P::StockRule, K::SmallNumber, 0},
        {P::CustomerAccessRule, K::SmallInteger, 0},
        {P::DefaultDays, K::SmallNumber, 45},
        {P::CreditControl, K::SmallInteger, 0},
        {P::DefaultInvoiceType, K::Number, -1},
        {P::DefaultCustomer, K::Number, -1},
        {P::DefaultPromoter, K::Number, -1},
        {P::DefaultPromoter2, K::Number, -1},
        {P::DefaultLinePromoter, K::Number, -1},
        {P::MaxPrintCount, K::PlainNumber, 9999},
        {P::GrandTotalRounding, K::Rounding, 0},
        {P::CardNumberUsed, K::CardFlag, 0},
        {P::SmsMode, K::PlainNumber, 0},
        {P::SmsCountLimit, K::Number, 0},
        {P::DefaultSampleGoods, K::Number, 1},
        {P::DefaultFormal, K::Number, 1},
        {P::DefaultSendSms, K::Number, 1},
        {P::MaxLineDiscountPercent, K::PercentLimit, 100},
        {P::MaxLineDiscountValue, K::Amount, QVariant::fromValue(Money::fromRials(-1))},
        {P::MaxMasterDiscountPercent, K::PercentLimit, 100},
        {P::MaxMasterDiscountValue, K::Amount, QVariant::fromValue(Money::fromRials(-1))},
        {P::CashTurnEndpoint, K::TrimmedText, QString()},
        {P::ScaleLayout1, K::Text, QString()},
        {P::ScaleLayout2, K::Text, QString()},
    };
    return defs;
}

const ParamDef* find(int id) {
    for (const ParamDef& d : definitions())
        if (d.id == id) return &d;
    return nullptr;
}

// VB's CInt of a text: the whole text must be a number.
double strictNumber(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok) throw std::invalid_argument("not a number");
    return v;
}

QVariant convert(ParamKind kind, const QString& text) {
    using K = ParamKind;
    switch (kind) {
        case K::Flag:
            return text == QLatin1String("1");
        case K::TrimmedFlag:
            return text.trimmed() == QLatin1String("1");
        case K::NumericFlag:
            return ToNumber(text) == 1;
        case K::SmallNumber:
            return int(ToInt16(Val(text)));
        case K::SmallInteger:
            return int(ToInt16(strictNumber(text)));
        case K::Number:
            return ToInt32(ToNumber(text));
        case K::PlainNumber:
            return ToInt32(Val(text));
        case K::PercentLimit: {
            const double n = ToNumber(text);
            return n >= 0 ? ToInt32(n) : 100;
        }
        case K::Amount:
            return QVariant::fromValue(Money::fromDouble(ToNumber(text)));
        case K::Text:
            return text;
        case K::TrimmedText:
            return text.trimmed();
        case K::CashBox:
            return ToInt32(strictNumber(text));
        case K::CardFlag:
            return text.trimmed() == QLatin1String("1") ? -1 : 0;
        case K::Rounding:
            break;
    }
    throw std::invalid_argument("no conversion");
}

QString storedText(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

void loadMainTable(Session& s, SystemParameters& params) {
    const RowSet rows =
        s.query(QStringLiteral("Select * from tblZelorSystemParameters where SystemID in (9,1,3) "
                               "OR ID in (201,4406, 4405) "
                               "or ID between 4380 and 4397"));
    for (const Row& row : rows) {
        const int id = static_cast<int>(ToNumber(row.value(u"ID")));
        if (!SystemParameters::isKnown(id)) continue;
        if (!params.assign(id, row.value(u"Value"))) continue;
        if (id != P::CreditCashBox) continue;
        try {
            if (s.query(QStringLiteral("Select * from tblRecPayCash Where ID = ?"),
                        {params.number(P::CreditCashBox)})
                    .empty())
                params.setNumber(P::CreditCashBox, -1);
        } catch (const SqlError&) {
            params.setNumber(P::CreditCashBox, -1);
        }
    }
}

// The per-user table keeps its own, partly crossed, assignments: the user's 4411 row sets the
// default promoter and the user's 4405 row the default second promoter.
void assignUserRow(SystemParameters& params, int id, const QVariant& value) {
    const QString text = storedText(value);
    switch (id) {
        case P::ShopMode:
        case P::AccountObjects:
        case P::ShowStock:
        case P::ShowCrmCard:
        case P::GoodsLookupRule:
        case P::ScaleLayout1:
        case P::ScaleLayout2:
        case P::MaxLineDiscountPercent:
        case P::MaxMasterDiscountPercent:
        case P::MaxLineDiscountValue:
        case P::MaxMasterDiscountValue:
            params.assign(id, value);
            return;
        case P::DefaultCustomer:
        case P::DefaultLinePromoter:
            params.setNumber(id, ToInt32(Val(text)));
            return;
        case P::DefaultPromoter2:
            params.setNumber(P::DefaultPromoter, ToInt32(Val(text)));
            return;
        case P::DefaultInvoiceType:
            params.setNumber(P::DefaultPromoter2, ToInt32(Val(text)));
            return;
        default:
            return;
    }
}

void loadUserTable(Session& s, int userId, SystemParameters& params) {
    if (!s.tableExists(QStringLiteral("tblZelorSystemParametersUser"))) return;
    const RowSet rows = s.query(QStringLiteral("Select SystemParameterID as ID, Value from "
                                               "tblZelorSystemParametersUser Where UserID=?"),
                                {userId});
    for (const Row& row : rows) {
        try {
            assignUserRow(params, static_cast<int>(ToNumber(row.value(u"ID"))),
                          row.value(u"Value"));
        } catch (const std::exception&) {
            // A value that does not convert leaves the setting as it was.
        }
    }
}

void applyShopModeRule(SystemParameters& params) {
    if (!params.flag(P::ShopMode)) return;
    params.setFlag(P::DefaultPaidByCash, true);
    for (int id :
         {P::BaseUnitPrice, P::RepeatGoods, P::AskLastInvoice, P::ShowTempQty, P::WarnNoOpenAccount,
          P::LineDescription, P::PromoterRule, P::PositionCustomersOnly})
        params.setFlag(id, false);
    params.setNumber(P::CustomerAccessRule, 0);
}

}  // namespace

void SystemParameters::resetToDefaults() {
    values_.clear();
    for (const ParamDef& d : definitions())
        values_.insert(d.id, d.initial);
    roundingStep_ = 0;
    roundingDirection_ = -1;
}

bool SystemParameters::isKnown(int id) {
    return find(id) != nullptr;
}

ParamKind SystemParameters::kindOf(int id) {
    const ParamDef* d = find(id);
    if (!d) throw std::out_of_range("unknown system parameter");
    return d->kind;
}

bool SystemParameters::assign(int id, const QVariant& storedValue) {
    const ParamDef* d = find(id);
    if (!d) return false;
    const QString text = storedText(storedValue);
    try {
        if (d->kind == ParamKind::Rounding) {
            const int step = ToInt32(Val(text));
            roundingStep_ = step;
            roundingDirection_ = text.contains(QLatin1Char('+'))   ? 1
                                 : text.contains(QLatin1Char('-')) ? -1
                                                                   : 0;
            values_[id] = step;
            return true;
        }
        values_[id] = convert(d->kind, text);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void LoadSystemParameters(Session& session, int currentUserId, SystemParameters& params) {
    params.resetToDefaults();
    try {
        loadMainTable(session, params);
    } catch (const SqlError&) {
        // A missing table or failing query leaves the defaults.
    }
    try {
        loadUserTable(session, currentUserId, params);
    } catch (const SqlError&) {
        // The per-user step is optional.
    }
    applyShopModeRule(params);
}

QString StoredParameterText(Session& session, int id) {
    return storedText(session.scalar(
        QStringLiteral("select Value from tblZelorSystemParameters where ID = ?"), {id}));
}

void StoreParameterText(Session& session, const ParameterRow& row) {
    Transaction t = session.joinTransaction();
    if (session.first(QStringLiteral("select ID from tblZelorSystemParameters where ID = ?"),
                      {row.id}))
        session.exec(QStringLiteral("update tblZelorSystemParameters set Value = ? where ID = ?"),
                     {row.value, row.id});
    else
        session.exec(QStringLiteral("insert into tblZelorSystemParameters (ID, SystemID, Value, "
                                    "UserID, Description) values (?, ?, ?, ?, ?)"),
                     {row.id, row.systemId, row.value, row.userId, row.description});
    t.commit();
}

}  // namespace si
