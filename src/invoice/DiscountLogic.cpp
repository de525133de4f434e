// The customer's card, the card and birthday parts of a line, the clerk's minimum and the master
// discount by invoice value.

#include "invoice/DiscountLogic.h"

#include "invoice/BilledParty.h"

#include <algorithm>
#include <cmath>

#include "common/Numbers.h"
#include "common/ScopedFlag.h"
#include "invoice/BilledParty.h"
#include "invoice/DiscountTexts.h"
#include "invoice/LineLookups.h"
#include "invoice/TotalsLogic.h"

namespace si {

using namespace discounts;

namespace {

constexpr double kPercentEpsilon = 1e-9;

// Percent sums without the representation noise of doubles (10.1 + 5.2 - 5.2).
double tidy(double percent) {
    return std::round(percent * 1e6) / 1e6;
}

QString percentText(double percent) {
    return QString::number(tidy(percent));
}

}  // namespace

DiscountLogic::DiscountLogic(InvoiceServices& services) : services_(services) {
    services_.Reload_Apply_Available_Discounts = [this](int row) {
        Reload_Apply_Available_Discounts(row);
    };
    services_.CheckDiscountPercentValidation = [this](int row, double percent) {
        return CheckDiscountPercentValidation(row, percent);
    };
    services_.InvoiceValueDiscountPercent = [this](Money value) {
        if (!valueSettingsRead_) readValueSettings();
        return valueDiscountOf(value);
    };
    services_.LoadCustomerCard = [this](int customer) { LoadCustomerCard(customer); };
    services_.RefreshEchantillon = [this] { RefreshEchantillon(); };
    services_.FillDetailDiscount = [this](int row) { FillDetailDiscount(row); };
    cardTypeChanged_ = QObject::connect(&doc().sltCRMCardType, &SelectorModel::changed,
                                        [this] { onCardTypeChanged(); });
    headerChanged_ = QObject::connect(&doc(), &InvoiceDocument::headerChanged,
                                      [this] { valueSettingsRead_ = false; });
    if (ctx().hasSession()) readValueSettings();
}

DiscountLogic::~DiscountLogic() {
    QObject::disconnect(cardTypeChanged_);
    QObject::disconnect(headerChanged_);
}

bool DiscountLogic::entryMode() const {
    return doc().FormMode == kModeEdit || doc().FormMode == kModeNew;
}

QDate DiscountLogic::invoiceDate() const {
    return doc().datCreateDate.isValid() ? doc().datCreateDate : db().today();
}

// A line without its own method is priced by the header's.
int DiscountLogic::lineMethod(const InvoiceLine& line) const {
    if (line.PricingMethodID > 0) return line.PricingMethodID;
    return doc().sltPricingMethod.IsEmpty() ? -1 : doc().sltPricingMethod.ID();
}

// ---- the customer's card -------------------------------------------------------------------

void DiscountLogic::LoadCustomerCard(int customerId) {
    const auto card =
        customerId > 0
            ? db().first(QStringLiteral("Select CardTypeID, TotalGrade from "
                                        "vwCRMOrganizationFinalCard Where OrganizationID=?"),
                         {customerId})
            : std::nullopt;
    {
        const ScopedFlag loading(loadingCard_);
        if (card && !card->isNull(u"CardTypeID")) {
            doc().sltCRMCardType.setID(card->toInt(u"CardTypeID"));
            doc().txtGrade =
                card->isNull(u"TotalGrade") ? QString() : card->money(u"TotalGrade").toString();
        } else {
            doc().sltCRMCardType.Clear();
            doc().txtGrade = kNoGrade;
        }
    }
    if (entryMode() && !doc().loading) ReloadAllLines();
}

void DiscountLogic::onCardTypeChanged() {
    if (!loadingCard_ && entryMode() && !doc().loading) ReloadAllLines();
}

int DiscountLogic::DiscountCustomer() const {
    return si::DiscountCustomer(BilledParties::of(doc()));
}

// ---- look-ups --------------------------------------------------------------------------------

double DiscountLogic::CardDiscountPercent(const QString& barcode, int cardType) {
    return GoodDiscountRates(db(), {{barcode}, cardType, false, false}).cardPercent(barcode);
}

double DiscountLogic::BirthdayDiscountPercent(const QString& barcode, int cardType,
                                              int customerId) {
    const double percent =
        GoodDiscountRates(db(), {{barcode}, cardType, true, false}).birthdayPercent(barcode);
    if (percent <= 0) return 0;
    const int days = BirthdayDiscountDays(db());
    return CustomerHadBirthday(db(), customerId, db().today(), days) ? percent : 0;
}

bool DiscountLogic::HasStandardDiscounts(const QString& barcode, int pricingMethod) {
    return services_.lookups->discountRates({{barcode}, -1, false, true})
        .hasStandardDiscounts(barcode, pricingMethod);
}

double DiscountLogic::InvoiceValueDiscountPercent(Money invoiceValue) {
    readValueSettings();
    return valueDiscountOf(invoiceValue);
}

void DiscountLogic::readValueSettings() {
    valueSettings_.clear();
    const RowSet rows = db().query(QStringLiteral(
        "select minValue, maxValue, DiscountPercent from tblSaleInvoiceDiscountSetting order by "
        "ID"));
    for (const Row& r : rows) {
        ValueSetting s;
        if (!r.isNull(u"minValue")) s.minValue = r.money(u"minValue");
        if (!r.isNull(u"maxValue")) s.maxValue = r.money(u"maxValue");
        s.percent = r.toDouble(u"DiscountPercent");
        valueSettings_ << s;
    }
    valueSettingsRead_ = true;
}

double DiscountLogic::valueDiscountOf(Money invoiceValue) const {
    if (valueSettings_.isEmpty()) return -1;
    for (const ValueSetting& s : valueSettings_) {
        if (s.minValue.value_or(invoiceValue) > invoiceValue) continue;
        if (s.maxValue.value_or(invoiceValue) < invoiceValue) continue;
        return s.percent >= 0 && s.percent <= 100 ? s.percent : 0;
    }
    return 0;
}

// ---- the card and birthday parts of the lines ----------------------------------------------

// Without a customer no card or birthday counts; the birthday needs the customer within the
// window of parameter 5020.
GoodDiscountRates DiscountLogic::ratesFor(const QStringList& barcodes, bool standard) {
    if (barcodes.isEmpty()) return {};
    GoodDiscountRates::Request request;
    request.barcodes = barcodes;
    request.standard = standard;
    const int customer = DiscountCustomer();
    if (customer > 0 && !doc().sltCRMCardType.IsEmpty()) {
        request.cardType = doc().sltCRMCardType.ID();
        request.birthday = services_.lookups->customerHadBirthday(customer);
    }
    return services_.lookups->discountRates(request);
}

bool DiscountLogic::stripCardParts(InvoiceLine& line) {
    if (line.BirthdayPercent == 0 && line.CardPercent == 0) return false;
    line.DiscountPercent =
        std::max(0.0, tidy(line.DiscountPercent - line.BirthdayPercent - line.CardPercent));
    line.BirthdayPercent = 0;
    line.CardPercent = 0;
    return true;
}

// Without parameter 5021 the larger part alone applies, the birthday's on a tie.
DiscountLogic::LineParts DiscountLogic::partsFor(const QString& barcode,
                                                 const GoodDiscountRates& rates) const {
    const double bd = rates.birthdayPercent(barcode);
    const double cd = rates.cardPercent(barcode);
    const bool add = ctx().params.flag(P::CardBirthdayAdd);
    LineParts parts;
    if (bd > 0 && (add || bd >= cd)) parts.birthday = bd;
    if (cd > 0 && (add || cd > bd)) parts.card = cd;
    return parts;
}

bool DiscountLogic::applyCardParts(int row, const GoodDiscountRates& rates) {
    InvoiceLine& l = grid().line(row);
    if (!l.isFilled()) return false;
    if (ctx().params.flag(P::StandardExcludesCard) &&
        rates.hasStandardDiscounts(l.BarCode, lineMethod(l)))
        return false;
    const InvoiceLine before = l;
    stripCardParts(l);
    const LineParts parts = DiscountCustomer() > 0 ? partsFor(l.BarCode, rates) : LineParts{};
    if (parts.birthday > 0) {
        Q_EMIT doc().flash(kBirthdayFlashPrefix + percentText(parts.birthday) + kPercentSuffix);
        l.BirthdayPercent = parts.birthday;
        l.DiscountPercent = std::min(100.0, tidy(l.DiscountPercent + parts.birthday));
    }
    if (parts.card > 0) {
        Q_EMIT doc().flash(kCardFlashPrefix + percentText(parts.card) + kPercentSuffix);
        l.CardPercent = parts.card;
        l.DiscountPercent = std::min(100.0, tidy(l.DiscountPercent + parts.card));
    }
    l.DiscountPercent = std::min(100.0, l.DiscountPercent);
    return l.DiscountPercent != before.DiscountPercent ||
           l.BirthdayPercent != before.BirthdayPercent || l.CardPercent != before.CardPercent;
}

void DiscountLogic::resyncLine(int row, bool percentChanged) {
    const int kind = percentChanged ? kDiscountAsPercent : grid().line(row).DiscountKind;
    services_.totals->SyncLineDiscount(row, kind);
    services_.totals->RecomputeRowSum(row);
}

void DiscountLogic::Reload_Apply_Available_Discounts(int row) {
    if (row < 0 || row >= grid().rows() || !grid().line(row).isFilled()) return;
    const GoodDiscountRates rates =
        ratesFor({grid().line(row).BarCode}, ctx().params.flag(P::StandardExcludesCard));
    if (!applyCardParts(row, rates)) return;
    resyncLine(row, true);
    services_.totals->ComputeGrandTotal();
}

void DiscountLogic::ReloadAllLines() {
    QStringList barcodes;
    for (int row : grid().filledRows())
        barcodes << grid().line(row).BarCode;
    if (barcodes.isEmpty()) return;
    const GoodDiscountRates rates = ratesFor(barcodes, ctx().params.flag(P::StandardExcludesCard));
    bool changed = false;
    for (int row : grid().filledRows())
        if (applyCardParts(row, rates)) {
            resyncLine(row, true);
            changed = true;
        }
    if (changed) services_.totals->ComputeGrandTotal();
}

bool DiscountLogic::CheckDiscountPercentValidation(int row, double enteredPercent) {
    if (row < 0 || row >= grid().rows() || !grid().line(row).isFilled()) return true;
    const InvoiceLine& l = grid().line(row);
    const double entered = RoundHalfUpPercent(enteredPercent, 2);
    if (ctx().params.flag(P::StandardExcludesCard) &&
        HasStandardDiscounts(l.BarCode, lineMethod(l)))
        return true;
    const double bd = l.BirthdayPercent;
    const double cd = l.CardPercent;
    QString refusal;
    if (ctx().params.flag(P::CardBirthdayAdd)) {
        if (entered < bd + cd - kPercentEpsilon)
            refusal = kBirthdayMinimumPrefix + percentText(bd) + kAndCardMinimum + percentText(cd) +
                      kMinimumIs + percentText(bd + cd) + kMinimumEnd;
    } else if (bd >= cd && bd >= 1) {
        if (entered < bd - kPercentEpsilon)
            refusal = kBirthdayMinimumPrefix + percentText(bd) + kBirthdayMinimumIs +
                      percentText(bd) + kMinimumEnd;
    } else if (cd > bd && cd >= 1) {
        if (entered < cd - kPercentEpsilon)
            refusal =
                kCardMinimumPrefix + percentText(cd) + kMinimumIs + percentText(cd) + kMinimumEnd;
    }
    if (refusal.isEmpty()) return true;
    Q_EMIT doc().flash(refusal);
    return false;
}

}  // namespace si
