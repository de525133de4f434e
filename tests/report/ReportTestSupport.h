#pragma once
// What the report tests share: the shipped templates, a filled demo database per back-end, and
// PDFs read back with poppler's pdftotext and pdfinfo.

#include <gtest/gtest.h>
#include <QSizeF>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "common/Session.h"
#include "support/TestDatabase.h"

namespace si::test {

QString TemplatePath(const QString& fileName);

// The text of a PDF (one page, or all when page is 0) as pdftotext reads it.
QString PdfText(const QString& pdf, int page = 0);

struct PdfInfo {
    int pages = 0;
    QSizeF pageSize;  // points, of the first page
};
PdfInfo ReadPdfInfo(const QString& pdf);

// A text as compared with a PDF's: the presentation forms of Arabic letters back to the letters,
// Arabic ي and ك as Persian ی and ک, every digit as 0-9, the Persian decimal separator as a
// point, and without blanks, direction marks, colons or brackets (pdftotext moves blanks and
// colons around numbers inside right-to-left text, and mirrors brackets).
QString Comparable(const QString& text);

// Where each text occurs in the haystack, one after another; -1 from the first one missing.
// Fails the test naming the text that is missing or out of order.
void ExpectInOrder(const QString& haystack, const QStringList& texts);
// Each text somewhere in the haystack.
void ExpectContains(const QString& haystack, const QStringList& texts);

// One demo company per back-end, filled once and shared by the tests of the program.
class ReportDbTest : public ::testing::TestWithParam<Backend> {
public:
    static void TearDownTestSuite();

protected:
    void SetUp() override;
    Session& db();
    QString connection();
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

}  // namespace si::test
