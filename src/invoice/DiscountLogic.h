#pragma once
// Line discounts beyond the price list: the customer's card and birthday discounts, the clerk's
// minimum, splitting a stored line's discount into its kinds, the master discount by invoice
// value, and the promotion pass that sets promotion percents and adds free goods (flexEch).
// Its constructor takes over the discount seams of InvoiceServices.
//
// Invariants of a goods line:
// - Column 19 is the whole line percent: its own part (standard, promotion or typed) plus the
//   birthday part (column 37) and the card part (column 38), capped at 100. Recomputing the card
//   and birthday parts first takes the old parts out, so running it again never adds twice.
// - A line whose percent a promotion set carries the promotion's ID in column 45, the detail's
//   sequence in column 48 and, in the hidden column 46, "own|set": its own percent before the
//   promotion and the percent the promotion set. The next pass puts the own percent back when the
//   promotion no longer holds, unless the clerk has changed the percent since.
// - Free goods that a pass added carry the promotion's ID in column 45 and the description
//   "<ID> اشانتيون سيستمي"; the next pass replaces them.

#include <QHash>
#include <QMetaObject>
#include <QString>
#include <QVector>
#include <optional>

#include "invoice/DiscountRates.h"
#include "invoice/InvoiceServices.h"
#include "invoice/Promotions.h"

namespace si {

// One row of flexPromotion (cmdShowEch).
struct PromotionDisplayRow {
    int ID = 0;
    int Sequence = 0;
    int PriorityNo = 0;
    QString Notes;
    QVector<int> goodsRows;  // 1-based rows of flexDetail the promotion took in the last pass
    QVector<int> freeRows;   // 1-based rows of flexEch it added
};

class DiscountLogic {
public:
    explicit DiscountLogic(InvoiceServices& services);
    ~DiscountLogic();
    DiscountLogic(const DiscountLogic&) = delete;
    DiscountLogic& operator=(const DiscountLogic&) = delete;

    // ---- the customer's card ----
    // sltCRMCardType and txtGrade from vwCRMOrganizationFinalCard; without a card the type is
    // cleared and the grade reads "فاقد امتياز". In modes 1 and 2 the lines' card and birthday
    // parts follow.
    void LoadCustomerCard(int customerId);
    // The customer whose card and birthday count: sltCustomer when it is shown, else accounting
    // object 1 when it is an organisation (class 7) and filled; -1 when none.
    int DiscountCustomer() const;

    // ---- look-ups (percent in 0..100, 0 when none) ----
    double CardDiscountPercent(const QString& barcode, int cardType);
    double BirthdayDiscountPercent(const QString& barcode, int cardType, int customerId);
    bool HasStandardDiscounts(const QString& barcode, int pricingMethod);
    // The master discount by invoice value: the matching setting's percent (0 when outside
    // 0..100), 0 when settings exist but none matches, -1 when there are none. A NULL bound is
    // open; both bounds are inclusive; of several matching settings the first stored wins.
    // Reads the settings afresh. The totals' seam answers from the settings read last, read
    // again after the header changed, so that refreshing totals reads no database.
    double InvoiceValueDiscountPercent(Money invoiceValue);

    // ---- one line ----
    // Recomputes the line's card and birthday parts (columns 37, 38 and 19), then its discount
    // value, its sum and the grand total.
    void Reload_Apply_Available_Discounts(int row);
    // The same for every goods line, with one set of look-ups (after the customer or the card
    // type changed).
    void ReloadAllLines();
    // Whether a percent the clerk entered may stand: not below the card and birthday minimum.
    // A refusal flashes its reason.
    bool CheckDiscountPercentValidation(int row, double enteredPercent);

    // ---- what the save calls ----
    // Removes the invoice's discount-kind rows (before its lines are written again).
    void DeleteDetailDiscounts(int invoiceId);
    // Writes the line's discount split by kind into tblSaleInvoiceDetailDiscount: 2 card,
    // 3 birthday, 1 what remains. Lines of the same goods, description and unit add their values
    // to one row per kind.
    void InsertDetailDiscount(int invoiceId, int row);
    // The same for these rows, as if one after the other, with a fixed number of statements.
    void InsertDetailDiscounts(int invoiceId, const QVector<int>& rows);
    // False, after the message, when two lines of the same goods, unit and description carry
    // different percents (their kind rows could not tell them apart).
    bool CheckSameGoodsDiscounts();
    // A loaded line's birthday and card percents (columns 37 and 38) from its kind rows.
    void FillDetailDiscount(int row);

    // ---- promotions ----
    // The promotion pass over the invoice (chkCheckEchantillon, cmdRefreshEchantillon, loading).
    void RefreshEchantillon();
    // The refresh command: the pass, in modes 1 and 2.
    void cmdRefreshEchantillon_Click();
    bool promotionPassRunning() const { return passRunning_; }
    // The promotion details of the last pass (loaded now when no pass ran on the invoice date).
    const QVector<Promotion>& promotions();
    // flexPromotion's rows.
    QVector<PromotionDisplayRow> PromotionDisplay();

private:
    struct LineParts {
        double birthday = 0;
        double card = 0;
    };
    struct PromotionPass;
    struct ValueSetting {
        std::optional<Money> minValue;
        std::optional<Money> maxValue;
        double percent = 0;
    };

    Context& ctx() const { return services_.ctx; }
    InvoiceDocument& doc() const { return services_.doc; }
    LineTableModel& grid() const { return services_.doc.flexDetail; }
    Session& db() const { return services_.ctx.db(); }
    bool entryMode() const;
    QDate invoiceDate() const;
    int lineMethod(const InvoiceLine& line) const;
    GoodDiscountRates ratesFor(const QStringList& barcodes, bool standard);
    // Takes the card and birthday parts out of column 19; true when the line changed.
    static bool stripCardParts(InvoiceLine& line);
    // Recomputes the parts of one line from the rates; true when the line changed.
    bool applyCardParts(int row, const GoodDiscountRates& rates);
    LineParts partsFor(const QString& barcode, const GoodDiscountRates& rates) const;
    void resyncLine(int row, bool percentChanged);
    void onCardTypeChanged();
    void readValueSettings();
    double valueDiscountOf(Money invoiceValue) const;

    // Storage of the kinds.
    struct KindRow {
        QString barcode;  // as the line has it
        QString description;
        int scaleId = -1;
        int kind = 0;
        double percent = 0;
        Money value;
    };
    QVector<KindRow> kindsOf(const InvoiceLine& line, bool standardOnly) const;
    static QString kindKey(const KindRow& row);
    void writeKinds(int invoiceId, const QVector<KindRow>& kinds);
    // Kind rows are keyed by barcode, description and unit.
    static QString storedKey(const QString& barcode, const QString& description, int scaleId);
    QHash<QString, LineParts> storedParts(int invoiceId);

    // The pass (DiscountPromotions.cpp, DiscountFreeGoods.cpp).
    void runPromotionPass();
    void undoLastPass();
    void removeSystemFreeGoods();
    QVector<PromotionLine> promotionLines(const PromotionPass& pass) const;
    void matchPromotions(PromotionPass& pass);
    void matchComposite(PromotionPass& pass, int first);
    void grant(PromotionPass& pass, int index, const PromotionMatch& match);
    void grantPercent(PromotionPass& pass, int index, int line);
    void addFreeGoods(PromotionPass& pass);

    InvoiceServices& services_;
    QMetaObject::Connection cardTypeChanged_;
    QMetaObject::Connection headerChanged_;
    QVector<ValueSetting> valueSettings_;
    bool valueSettingsRead_ = false;
    bool loadingCard_ = false;
    bool passRunning_ = false;
    QVector<Promotion> promotions_;
    QString promotionsDay_;  // the Jalali day promotions_ were loaded for
    // FillDetailDiscount's rows while a stored invoice loads (one statement per invoice).
    int storedInvoice_ = -1;
    QHash<QString, LineParts> stored_;
};

}  // namespace si
