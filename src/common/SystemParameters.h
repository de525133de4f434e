#pragma once
// The numbered system parameters that configure the module (tblZelorSystemParameters, with
// per-user overrides in tblZelorSystemParametersUser). Every setting has a kind that fixes how
// the stored text becomes its value, and a default that holds until a row says otherwise.

#include <QHash>
#include <QString>
#include <QVariant>

#include "common/Money.h"

namespace si {

class Session;

// Parameter numbers, named after their effect.
namespace P {
enum : int {
    BranchLimited = 9,
    ShopMode = 3,
    CreditCashBox = 5,
    AgeLimitDays = 8,
    StockRule = 13,
    UnitPriceEditable = 17,
    BaseUnitPrice = 24,
    RepeatGoods = 28,
    CustomerAccessRule = 67,
    PeriodDates = 78,
    DefaultDays = 81,
    ShowTempQty = 88,
    DiscountEditable = 91,
    CreditControl = 93,
    DebitInfoButtons = 96,
    ShowStock = 97,
    AskLastInvoice = 98,
    WarnNoOpenAccount = 103,
    DefaultPaidByCash = 109,
    CustomerListWithAddress = 124,
    PositionCustomersOnly = 309,
    AccountObjects = 311,
    CodeReadOnly = 907,
    ShopAltTemplate = 908,
    ShopBarcodeReadOnly = 909,
    RequirePromoter = 910,
    RequireBranch = 911,
    RequirePromoter2 = 912,
    RequireIntroduction = 913,
    RequireLinePromoter = 914,
    EditResetsDate = 1079,
    CashTurnEndpoint = 2827,
    MaxLineDiscountPercent = 2828,
    MaxLineDiscountValue = 2829,
    MaxMasterDiscountPercent = 2830,
    MaxMasterDiscountValue = 2831,
    ScaleLayoutList = 2832,
    ShowBaseQty = 3345,
    LineDescription = 3349,
    PromoterRule = 3377,
    Promoter2Rule = 3387,
    // Read once at load into a form-wide number that no rule of the form uses.
    FormWideNumber = 210,
    // Days since the customer's previous purchase from which no customer message goes out.
    SmsCountLimit = 3388,
    ReadFromFile = 3392,
    LotterySlips = 3393,
    DefaultSampleGoods = 3395,
    DefaultFormal = 3396,
    DefaultSendSms = 3397,
    ScaleLayout1 = 3404,
    ScaleLayout2 = 3405,
    ShowCrmCard = 3406,
    PromoterByRfid = 4400,
    NewCustomerCommand = 4402,
    DeleteRule = 4403,
    DefaultPromoter = 4404,
    DefaultInvoiceType = 4405,
    MaxPrintCount = 4407,
    GrandTotalRounding = 4409,
    DefaultCustomer = 4410,
    DefaultPromoter2 = 4411,
    CardNumberUsed = 4412,
    DefaultLinePromoter = 4414,
    // The two message templates are read where a message is composed, not at load: a template
    // edited on any workstation is the one the next message uses.
    SmsCustomerTemplate = 5003,
    SmsMode = 5004,
    SmsPromoterTemplate = 5006,
    SmsRule = 5009,
    CardBirthdayAdd = 5021,
    StandardExcludesCard = 5022,
    GoodsLookupRule = 5023,
};
}  // namespace P

enum class ParamKind {
    Flag,          // true exactly when the text is "1"
    TrimmedFlag,   // true exactly when the trimmed text is "1"
    NumericFlag,   // true exactly when ToNumber of the text is 1
    SmallNumber,   // Val of the text, rounded to 16 bits
    SmallInteger,  // the text converted directly to 16 bits (non-numeric text is skipped)
    Number,        // ToNumber of the text, 32 bits
    PlainNumber,   // Val of the text, 32 bits
    PercentLimit,  // ToNumber when 0 or more, else 100
    Amount,        // ToNumber as currency
    Text,
    TrimmedText,
    CashBox,   // parameter 5: a number that must name a tblRecPayCash row, else -1
    Rounding,  // parameter 4409: step and direction
    CardFlag,  // parameter 4412: -1 when the trimmed text is "1", else 0
};

class SystemParameters {
public:
    SystemParameters() { resetToDefaults(); }
    void resetToDefaults();

    bool flag(int id) const { return values_.value(id).toBool(); }
    int number(int id) const { return values_.value(id).toInt(); }
    Money amount(int id) const { return values_.value(id).value<Money>(); }
    QString text(int id) const { return values_.value(id).toString(); }
    // Parameter 4409: the step N (10^N Rials) and the direction: 1 up, -1 down, 0 nearest.
    int roundingStep() const { return roundingStep_; }
    int roundingDirection() const { return roundingDirection_; }

    // Converts a stored text by the parameter's kind; false (and nothing changed) when the
    // parameter is unknown or the text does not convert. Parameter 5's existence check is the
    // loader's. Tests and the command line use it to set values directly.
    bool assign(int id, const QVariant& storedValue);
    void setFlag(int id, bool value) { values_[id] = value; }
    void setNumber(int id, int value) { values_[id] = value; }
    void setRounding(int step, int direction) {
        roundingStep_ = step;
        roundingDirection_ = direction;
    }

    static bool isKnown(int id);
    static ParamKind kindOf(int id);

private:
    QHash<int, QVariant> values_;
    int roundingStep_ = 0;
    int roundingDirection_ = -1;
};

// The stored text of a parameter read where it is used (the SMS templates); empty when the
// parameter has no row or a null value.
QString StoredParameterText(Session& session, int id);

// A row of tblZelorSystemParameters as a parameter that has none yet gets it.
struct ParameterRow {
    int id = 0;
    int systemId = 0;
    QString value;
    int userId = 0;
    QString description;
};

// The row's Value when the parameter has a row, else the whole row; one transaction.
void StoreParameterText(Session& session, const ParameterRow& row);

// Reads both tables into the settings, every statement on its own: a failing statement or a
// missing table is skipped and leaves the defaults. The shop-mode rule is applied last.
void LoadSystemParameters(Session& session, int currentUserId, SystemParameters& params);

}  // namespace si
