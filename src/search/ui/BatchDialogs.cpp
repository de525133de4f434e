#include "search/ui/BatchDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

#include "posting/ui/FrmSelDeleteReason.h"

namespace si {

std::optional<int> BatchDialogs::chooseReason(const QVector<DeleteReason>& reasons) {
    return DialogDeleteReasonChooser(parent_).chooseReason(reasons);
}

QString BatchDialogs::spreadsheetFile(const QString& suggested) {
    return QFileDialog::getSaveFileName(parent_, QStringLiteral("ذخيره در صفحه گسترده"), suggested,
                                        QStringLiteral("Excel (*.xlsx)"));
}

void BatchDialogs::openFile(const QString& file) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

bool BatchDialogs::progress(int done, int total) {
    if (!progress_) {
        progress_ = new QProgressDialog(QStringLiteral("چاپ فاكتورها..."), QStringLiteral("توقف"),
                                        0, total, parent_);
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setMinimumDuration(0);
        progress_->setAutoClose(true);
        progress_->setAttribute(Qt::WA_DeleteOnClose);
    }
    progress_->setMaximum(total);
    progress_->setValue(done);
    if (done >= total) {
        progress_->close();
        return true;
    }
    progress_->setLabelText(QStringLiteral("چاپ فاكتور %1 از %2").arg(done + 1).arg(total));
    QApplication::processEvents();
    return !progress_->wasCanceled();
}

}  // namespace si
