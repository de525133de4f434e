#pragma once
// The Persian words the demo company is made of: its goods catalogue (groups, products, sizes,
// brands) and the names, streets and shops of its people. The texts use the Arabic yeh (ي) and
// the Persian keheh (ک) throughout, as the suite's own texts mostly do ('مشتريان').

#include <QString>
#include <QStringList>
#include <vector>

namespace si::erpdb::demo {

enum class UnitKind { Count, Weight, Volume };

// One leaf of the goods-group tree with what it sells. A leaf sits under a top group and a
// middle group; when leaf is empty the middle group is the leaf (a two-level branch).
struct CatalogLeaf {
    QString top;
    QString middle;
    QString leaf;
    QStringList products;
    QStringList sizes;  // size or grade words appended to a product name
    int minPrice = 0;   // thousands of Rials per base unit
    int maxPrice = 0;
    UnitKind unit = UnitKind::Count;
    bool taxFree = false;  // basic foods carry no tax or duty
    int weight = 1;        // share of the goods that fall into the leaf
};

const std::vector<CatalogLeaf>& Catalog();
const QStringList& Brands();
const QStringList& Variants();  // e.g. "ويژه", "خانواده"
const QStringList& Origins();   // where weighed produce comes from

const QStringList& MaleFirstNames();
const QStringList& FemaleFirstNames();
const QStringList& Surnames();
const QStringList& ShopKinds();  // "سوپرمارکت", "فروشگاه", ...
const QStringList& ShopNames();  // the name after the kind
const QStringList& Cities();
const QStringList& Streets();

}  // namespace si::erpdb::demo
