#pragma once
// The columns of the invoice lists and of the search result, numbered as the original grids
// were: what each shows, its header, and the expression it sorts by.

#include <QString>
#include <vector>

namespace si {

enum class ColumnFormat { RowNumber, State, Whole, Text, Amount, Percent };

struct ResultColumn {
    QString header;
    const char* field;  // of vwSaleInvoiceSearch; nullptr for the row number
    ColumnFormat format;
    const char* sortKey;  // never null, so that a page can start after a row's key
};

// The list panel's 24 columns: the temp list's pricing header ends in a blank.
std::vector<ResultColumn> ListColumns(bool tempList);
// The search result's 25 columns.
std::vector<ResultColumn> SearchColumns();

// The newest first: the lists' order and the search's.
inline constexpr const char* kNewestKey = "CreateDate";

}  // namespace si
