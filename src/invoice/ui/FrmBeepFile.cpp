#include "invoice/ui/FrmBeepFile.h"

#include <QFileDialog>
#include <QProgressDialog>

#include "invoice/ScaleInput.h"

namespace si {

namespace {

// Short files are read before a dialog would be worth showing.
constexpr int kProgressDelayMs = 400;

}  // namespace

int FrmBeepFile::read(QWidget* parent, InvoiceServices& services) {
    const QString path = QFileDialog::getOpenFileName(parent, QStringLiteral("خواندن از فايل ..."),
                                                      QString(), QStringLiteral("*.txt"));
    if (path.isEmpty()) return 0;
    const QStringList lines = ScaleInput::ReadBeepFile(path);
    if (lines.isEmpty()) return 0;
    QProgressDialog progress(QStringLiteral("خواندن بارکدها ..."), QStringLiteral("انصراف"), 0,
                             static_cast<int>(lines.size()), parent);
    progress.setObjectName(QStringLiteral("frmBeepFileProgress"));
    progress.setWindowTitle(QStringLiteral("خواندن از فايل ..."));
    progress.setLayoutDirection(Qt::RightToLeft);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressDelayMs);
    const int added = services.scale->ReadBeepLines(lines, [&progress](int done, int) {
        progress.setValue(done);
        return !progress.wasCanceled();
    });
    progress.setValue(progress.maximum());
    return added;
}

}  // namespace si
