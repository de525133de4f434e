#pragma once
// Goods from weighing scales and scanners: weighing labels (parameters 3404 and 3405), a
// weighing station's prepared sale copied into the invoice (cmbScaleBarcode), and a scanner's
// text file of barcodes (cmdReadFromBeepFile). Its constructor gives the lines their
// weighing-label recogniser.
//
// A label layout is read from its first 12 characters: a run of "C" (goods code) or, without
// one, of "B" (goods barcode), and runs of "N" and "F" (whole and fraction digits of the weight).
// Every other character is fixed and must be repeated by the label.

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

#include "invoice/InvoiceServices.h"

namespace si {

class ScaleInput {
public:
    explicit ScaleInput(InvoiceServices& services);

    // One layout: true with the goods barcode and the weight when the text is a label of it. A
    // layout with its weight before its code is reported each time and matches nothing; so does
    // a "C" label whose code names no goods.
    bool ParseScaleBarcode(const QString& layout, const QString& text, QString& barcode,
                           double& weight);
    // The layout of parameter 3404, failing that the one of 3405.
    bool IsScaleBarcode(const QString& text, QString& barcode, double& weight);
    // What IsScaleBarcode may find in the text, without a message or a look-up: the goods
    // barcodes and codes of the layouts the text fits.
    void LabelGoods(const QString& text, QStringList& barcodes, QStringList& codes) const;

    // A station barcode ("/.../", 13 characters or more) typed into cmbScaleBarcode: the
    // station's sale is copied into the open invoice (a new one when none is stored). Returns the
    // invoice the form is to open, 0 when there is none (nothing done, or refused).
    int cmbScaleBarcode_Change(const QString& text);

    // Called after each line with (lines done, all lines); returning false stops the reading.
    using Progress = std::function<bool(int done, int total)>;
    // The lines of a scanner file, in order: an employee's card sets the promoter, a customer's
    // card the customer, and a goods barcode not yet in the grid is typed into its last row.
    // Other lines are ignored. Returns the number of goods lines the grid gained.
    int ReadBeepLines(const QStringList& lines, const Progress& progress = {});
    // The lines of a text file, UTF-8 or, when it is not valid UTF-8, the local 8-bit encoding;
    // empty when the file cannot be read.
    static QStringList ReadBeepFile(const QString& path);

private:
    struct BeepLineKinds;
    BeepLineKinds classifyBeepLines(const QStringList& distinctLines);
    void takeBeepLine(const QString& line, const BeepLineKinds& kinds, QSet<QString>& inGrid);
    void addScannedBarcode(const QString& barcode, QSet<QString>& inGrid);

    InvoiceServices& services_;
};

}  // namespace si
