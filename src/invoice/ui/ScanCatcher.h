#pragma once

#include <QObject>
#include <QString>

namespace si {

// While a line is entered, a message box may come up; a scanner does not wait for it. The
// characters a scanner types into a box with a single button are kept, and its Enter closes the
// box, so that the code can be entered as the next scan instead of being lost. A question box is
// left alone: its answer must come from the clerk.
class ScanCatcher : public QObject {
    Q_OBJECT
public:
    // Watches every key of the application for its lifetime.
    ScanCatcher();
    ~ScanCatcher() override;

    // The code typed into a box and ended with Enter; empty when none.
    QString takeCode();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString typed_;
    QString code_;
};

}  // namespace si
