#pragma once
// The host's small windows: what a PrintByDotNet asked for, a new link between forms, the links
// of a form, and the outbox. Each shows data that the logic next to it prepared.

#include <QDialog>
#include <optional>
#include <vector>

#include "apps/host/Outbox.h"
#include "apps/host/PrintRequest.h"
#include "apps/host/Relationships.h"

class QLabel;
class QSpinBox;

namespace si::host {

class PrintRequestDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrintRequestDialog(const PrintRequest& request, QWidget* parent = nullptr);
};

// Asks the type and number of the form to link the event's form to.
class NewRelationshipDialog : public QDialog {
    Q_OBJECT
public:
    explicit NewRelationshipDialog(FormRef form, QWidget* parent = nullptr);
    FormRef related() const;
    static std::optional<FormRef> ask(FormRef form, QWidget* parent);

private:
    QSpinBox* txtRelatedFormTypeID_ = nullptr;
    QSpinBox* txtRelatedFormID_ = nullptr;
};

class RelationshipsDialog : public QDialog {
    Q_OBJECT
public:
    RelationshipsDialog(FormRef form, std::vector<RelatedFormRow> rows, QWidget* parent = nullptr);
};

// "صندوق پيامهاي ارسالي": a window over the outbox, refreshed as messages arrive and change,
// with a line on sending (the gateway, or why nothing is sent) and the button that sets the
// gateway.
class OutboxWindow : public QWidget {
    Q_OBJECT
public:
    explicit OutboxWindow(Outbox& outbox, QWidget* parent = nullptr);
    void showStatus(const QString& text);

Q_SIGNALS:
    void gatewayEditRequested();

private:
    QLabel* lblSmsGateway_ = nullptr;
};

// Paths, connection strings and SQL read left to right even inside right-to-left text: marks at
// both ends keep their leading and trailing punctuation in place.
inline QString LeftToRightText(const QString& text) {
    return QChar(0x200E) + text + QChar(0x200E);
}

inline const QString kOutboxTitle = QStringLiteral("صندوق پيامهاي ارسالي");

}  // namespace si::host
