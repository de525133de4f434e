// Postings against the invoice's state and kind. A temporary invoice has none. A final invoice
// has at most one accounting document, one dispatch and one cash-turn row; an invoice of the load
// has exactly what its kind calls for: its dispatch unless its type is wholesale, and either the
// cash-turn row of a shop-mode cash sale (and no document) or its accounting document, which may
// be missing only when the save said why.

#include <QHash>

#include "InvariantChecks.h"
#include "common/SystemParameters.h"

namespace si::soak {

namespace {

struct Postings {
    qint64 invoice = 0;
    QString code;  // empty: temporary
    int type = 0, customer = 0, savedBy = 0;
    QDate date;
    bool cash = false, wholesale = false;
    int documents = 0, dispatches = 0, cashTurns = 0;
};

QString savedByColumn(Session& s) {
    return s.columnExists(QStringLiteral("tblSaleInvoice"), QStringLiteral("UpdaterID"))
               ? QStringLiteral("coalesce(i.UpdaterID, i.CreatorID)")
               : QStringLiteral("i.CreatorID");
}

QVector<Postings> readPostings(Session& s, bool final, qint64 firstInvoice) {
    const QString sql =
        QStringLiteral("SELECT i.ID, i.Code, i.TypeID, i.CustomerID, i.CreateDate, ") +
        savedByColumn(s) +
        QStringLiteral(
            " AS SavedBy, coalesce(i.IsPaidByCash, 1) AS Cash, "
            "coalesce(t.GenerateSaleAssignment, 0) AS Wholesale, "
            "(SELECT count(DISTINCT r.DocumentID) FROM tblAccountDocumentDetail r "
            "WHERE r.FormTypeID = ? AND r.FormID = i.ID) AS Documents, "
            "(SELECT count(*) FROM tblInventoryDispatch x WHERE x.FormTypeID = ? "
            "AND x.FormID = i.ID) AS Dispatches, "
            "(SELECT count(*) FROM tblRecPayCashTurnDetail c WHERE c.FormTypeID = ? "
            "AND c.FormID = i.ID) AS CashTurns "
            "FROM tblSaleInvoice i LEFT JOIN tblSaleInvoiceType t ON t.ID = i.TypeID WHERE ") +
        (final ? QStringLiteral("i.Code IS NOT NULL") : QStringLiteral("i.Code IS NULL")) +
        QStringLiteral(" AND i.ID >= ? ORDER BY i.ID");
    QVector<Postings> all;
    for (const Row& r :
         s.query(sql, {kSaleInvoiceForm, kSaleInvoiceForm, kSaleInvoiceForm, firstInvoice})) {
        Postings p;
        p.invoice = r.toInt64(u"ID");
        p.code = r.text(u"Code");
        p.type = r.toInt(u"TypeID");
        p.customer = r.toInt(u"CustomerID", -1);
        p.savedBy = r.toInt(u"SavedBy");
        p.date = r.date(u"CreateDate");
        p.cash = r.toInt(u"Cash") != 0;
        p.wholesale = r.toInt(u"Wholesale") != 0;
        p.documents = r.toInt(u"Documents");
        p.dispatches = r.toInt(u"Dispatches");
        p.cashTurns = r.toInt(u"CashTurns");
        all.append(p);
    }
    return all;
}

QString describe(const Postings& p) {
    return QStringLiteral("invoice %1 (%2): %3 document(s), %4 dispatch(es), %5 cash-turn row(s)")
        .arg(p.invoice)
        .arg(p.code.isEmpty() ? QStringLiteral("temporary") : QStringLiteral("code ") + p.code)
        .arg(p.documents)
        .arg(p.dispatches)
        .arg(p.cashTurns);
}

// Whether InsertDocument could make a document for the invoice: a sales account on the type, a
// customer account that is a leaf, and no merged document after the invoice date. When it
// cannot, the save shows why and the invoice stays final without a document.
class DocumentFeasibility {
public:
    explicit DocumentFeasibility(Session& s) : s_(s) {}

    bool possible(const Postings& p) {
        const QVariant sales =
            s_.scalar(QStringLiteral("SELECT coalesce(CreditAccountID, -1) FROM tblSaleInvoiceType "
                                     "WHERE ID = ?"),
                      {p.type});
        if (sales.isNull() || sales.toInt() < 0) return false;
        const int account = customerAccount(p);
        if (account < 0) return false;
        if (s_.first(QStringLiteral("SELECT ID FROM tblAccount WHERE ParentID = ? LIMIT 1"),
                     {account}))
            return false;
        return !s_.first(QStringLiteral("SELECT ID FROM tblAccountDocument WHERE "
                                        "coalesce(IsMerged, 0) = 1 AND DocumentDate > ? LIMIT 1"),
                         {p.date});
    }

private:
    int customerAccount(const Postings& p) {
        const bool objects = ParameterFlag(s_, P::AccountObjects, p.savedBy);
        const QVariant account =
            objects ? s_.scalar(QStringLiteral("SELECT coalesce(DebitAccountID, -1) FROM "
                                               "tblSaleInvoiceType WHERE ID = ?"),
                                {p.type})
                    : s_.scalar(QStringLiteral("SELECT AccountID FROM tblAccountRelatedObjects "
                                               "WHERE RelatedClassID = ? AND RelatedObjectID = ? "
                                               "ORDER BY ID LIMIT 1"),
                                {7, p.customer});
        return account.isNull() ? -1 : account.toInt();
    }

    Session& s_;
};

class KindRules {
public:
    KindRules(Session& s, const CheckScope& scope) : s_(s), scope_(scope), feasibility_(s) {}

    // The violations of one load invoice; counts its kind among the figures.
    void check(const Postings& p, Invariant& inv) {
        ++inv.checked;
        if (!p.wholesale && p.dispatches == 0)
            inv.violations << describe(p) + QStringLiteral(": no dispatch");
        if (p.wholesale && p.dispatches > 0)
            inv.violations << describe(p) + QStringLiteral(": a wholesale sale with a dispatch");
        if (p.cash && shopMode(p.savedBy)) {
            ++shopCash;
            if (p.cashTurns == 0)
                inv.violations << describe(p) + QStringLiteral(": shop cash sale, no cash turn");
            if (p.documents > 0)
                inv.violations << describe(p) + QStringLiteral(": shop cash sale with a document");
            return;
        }
        ++(p.cash ? cashWithDocument : credit);
        if (p.cashTurns > 0)
            inv.violations << describe(p) + QStringLiteral(": cash-turn row outside shop mode");
        if (p.documents > 0) return;
        if (scope_.postingMessageGiven.contains(p.invoice) || !feasibility_.possible(p)) {
            ++withoutDocument;
            return;
        }
        inv.violations << describe(p) + QStringLiteral(": no document and no reason given");
    }

    qint64 shopCash = 0, cashWithDocument = 0, credit = 0, withoutDocument = 0;

private:
    bool shopMode(int user) {
        auto it = shopMode_.find(user);
        if (it == shopMode_.end())
            it = shopMode_.insert(user, ParameterFlag(s_, P::ShopMode, user));
        return it.value();
    }

    Session& s_;
    const CheckScope& scope_;
    DocumentFeasibility feasibility_;
    QHash<int, bool> shopMode_;
};

}  // namespace

void CheckTemporaryWithoutPostings(Session& s, CheckResult& result) {
    Invariant inv{QStringLiteral("temporary invoices without postings")};
    for (const Postings& p : readPostings(s, false, 0)) {
        ++inv.checked;
        if (p.documents + p.dispatches + p.cashTurns > 0) inv.violations << describe(p);
    }
    result.invariants << inv;
}

void CheckFinalPostings(Session& s, const CheckScope& scope, CheckResult& result) {
    Invariant once{QStringLiteral("final invoices posted at most once")};
    Invariant kind{QStringLiteral("load final invoices posted as their kind calls for")};
    KindRules rules(s, scope);
    for (const Postings& p : readPostings(s, true, 0)) {
        ++once.checked;
        if (p.documents > 1 || p.dispatches > 1 || p.cashTurns > 1) once.violations << describe(p);
        if (p.invoice >= scope.firstLoadInvoice) rules.check(p, kind);
    }
    result.invariants << once << kind;
    result.figures << Figure{QStringLiteral("load final credit sales"), rules.credit}
                   << Figure{QStringLiteral("load final cash sales posted as a document"),
                             rules.cashWithDocument}
                   << Figure{QStringLiteral("load final shop cash sales (cash turn)"),
                             rules.shopCash}
                   << Figure{QStringLiteral("load final invoices without a document, reason given"),
                             rules.withoutDocument};
}

}  // namespace si::soak
