#include "ReportTestSupport.h"

#include <QProcess>
#include <QRegularExpression>
#include <map>

#include "common/FoldedText.h"
#include "erpdb/Demo.h"
#include "erpdb/Schema.h"

namespace si::test {

namespace {

QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed (poppler-utils installed?): "
                      << p.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct FilledDemo {
    explicit FilledDemo(const Backend& backend) : db(backend) {
        session = Session::open(db.connectionString());
        erpdb::InstallSchema(*session);
        erpdb::DemoOptions options = erpdb::SmallDemo();
        options.today = QDate(2026, 12, 6);
        erpdb::FillDemoData(*session, options);
    }
    ScratchDatabase db;
    std::unique_ptr<Session> session;
};

std::map<QString, std::unique_ptr<FilledDemo>>& demos() {
    static std::map<QString, std::unique_ptr<FilledDemo>> filled;
    return filled;
}

}  // namespace

QString TemplatePath(const QString& fileName) {
    return QStringLiteral(SI_REPORT_TEMPLATES "/") + fileName;
}

QString PdfText(const QString& pdf, int page) {
    QStringList args{QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    return Run(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
}

PdfInfo ReadPdfInfo(const QString& pdf) {
    const QString text = Run(QStringLiteral("pdfinfo"), {pdf});
    PdfInfo info;
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                          QRegularExpression::MultilineOption);
    static const QRegularExpression size(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                                         QRegularExpression::MultilineOption);
    info.pages = pages.match(text).captured(1).toInt();
    const auto m = size.match(text);
    info.pageSize = QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    return info;
}

QString Comparable(const QString& text) {
    // Neutral marks that pdftotext puts on the other side of a number, or mirrors.
    static const QString kMoved = QStringLiteral(":()");
    QString folded = FoldedText(text.normalized(QString::NormalizationForm_KC));
    QString out;
    for (const QChar c : folded) {
        if (c.isSpace() || c.category() == QChar::Other_Format || kMoved.contains(c)) continue;
        out += c == QChar(0x066B) ? QLatin1Char('.') : c;
    }
    return out;
}

void ExpectInOrder(const QString& haystack, const QStringList& texts) {
    const QString hay = Comparable(haystack);
    qsizetype from = 0;
    for (const QString& text : texts) {
        const QString needle = Comparable(text);
        const qsizetype at = hay.indexOf(needle, from);
        if (at < 0) {
            ADD_FAILURE() << "not found after position " << from << ": " << text.toStdString()
                          << (hay.contains(needle) ? " (found earlier: out of order)" : "");
            return;
        }
        from = at + needle.size();
    }
}

void ExpectContains(const QString& haystack, const QStringList& texts) {
    const QString hay = Comparable(haystack);
    for (const QString& text : texts)
        EXPECT_TRUE(hay.contains(Comparable(text))) << "not found: " << text.toStdString();
}

void ReportDbTest::TearDownTestSuite() {
    demos().clear();
}

void ReportDbTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
}

Session& ReportDbTest::db() {
    auto& slot = demos()[GetParam().name];
    if (!slot) slot = std::make_unique<FilledDemo>(GetParam());
    return *slot->session;
}

QString ReportDbTest::connection() {
    db();
    return demos()[GetParam().name]->db.connectionString();
}

}  // namespace si::test
