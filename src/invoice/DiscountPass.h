#pragma once
// The state of one promotion pass (DiscountLogic's own; not for other services).

#include <QHash>
#include <QString>
#include <QVector>
#include <vector>

#include "invoice/DiscountLogic.h"

namespace si {

// The units (tblGoodScale), read once per pass.
struct UnitFacts {
    struct Unit {
        QString name;
        double factor = 1;  // base units in one unit
        bool integer = false;
    };
    static UnitFacts read(Session& s);
    // 1 for an unknown unit or one without a positive factor.
    double factor(int scaleId) const;
    bool has(int scaleId) const { return byId.contains(scaleId); }
    QHash<int, Unit> byId;
};

struct DiscountLogic::PromotionPass {
    struct FreeGrant {
        int promotion = -1;  // index into the promotions
        QString barcode;
        double qty = 0;  // in the granted unit
    };
    UnitFacts units;
    QVector<PromotionLine> lines;
    QVector<bool> taken;     // per line: used by a promotion of this pass
    QVector<bool> promoted;  // per line: a promotion set its percent
    QVector<bool> tested;    // per promotion detail
    GoodDiscountRates rates;
    std::vector<FreeGrant> freeGrants;
};

}  // namespace si
