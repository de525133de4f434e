#pragma once
// The invoice form with the module installed, the recording report component registered under
// its ProgID, and template files in a folder of the test's own: stored invoices to print and the
// templates to print them with.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ReportFake.h"
#include "posting/PostingTestSupport.h"
#include "printing/ReportTemplates.h"

namespace si::test {

// A chooser that records what it was asked and takes the first template listed.
class RecordingChooser : public ReportChooser, private ReportTemplateList {
public:
    explicit RecordingChooser(Context& ctx) : ctx_(ctx) {}
    bool fill(int formTypeId) override {
        ++fills;
        formType = formTypeId;
        listed.clear();
        return FillReportTemplates(ctx_, *this);
    }
    QString choose(const QString& caption) override {
        ++chooses;
        buttonCaption = caption;
        return listed.isEmpty() ? QString() : ReportTemplatePath(ctx_.db(), listed.first());
    }
    int fills = 0, chooses = 0, formType = 0;
    QString buttonCaption;
    QVector<int> listed;

private:
    int formTypeId() const override { return formType; }
    void addTemplate(const QString&, int id) override { listed << id; }
    int templateCount() const override { return static_cast<int>(listed.size()); }
    void selectFirst() override {}
    Context& ctx_;
};

class PrintingTest : public PostingTest {
protected:
    void SetUp() override {
        PostingTest::SetUp();
        report = InstallReportFake(components);
        ASSERT_TRUE(folder.isValid());
    }
    InvoicePrinting& printing() { return module->printing(); }

    // A template of the form type at this path (a file is written there unless told not to).
    int addTemplate(int formType, const QString& path,
                    const QString& title = QStringLiteral("قالب"), int sequence = 0,
                    bool writeFile = true) {
        if (writeFile) writeTemplateFile(path);
        return static_cast<int>(db().insertReturningId(
            QStringLiteral("insert into tblZelorReportTemplate (FormTypeID, Title, FilePath, "
                           "Sequence) values (?, ?, ?, ?) RETURNING ID"),
            {formType, title, path, sequence}));
    }
    // A file in the test's folder; its full path.
    QString inFolder(const QString& name) const { return folder.filePath(name); }
    static void writeTemplateFile(const QString& path) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<report/>");
    }
    // A temporary invoice of one line, stored and shown in view mode.
    int storedInvoice(qint64 total = 5000) {
        newInvoice(total);
        EXPECT_TRUE(save->SaveInvoice(false)) << messages.texts().join(u'\n').toStdString();
        const int id = savedID();
        form->ViewInvoice(id);
        return id;
    }
    int storedPrintCount(int id) {
        return db()
            .scalar(
                QStringLiteral("select coalesce(PrintCount, 0) from tblSaleInvoice where ID = ?"),
                {id})
            .toInt();
    }
    // A clerk with only these rights prints from now on.
    void asClerk(std::initializer_list<int> rights) {
        ctx.globals.CurrentUserID = addUser(QStringLiteral("صندوقدار"), false, rights);
    }

    std::shared_ptr<ReportLog> report;
    QTemporaryDir folder;
};

}  // namespace si::test
