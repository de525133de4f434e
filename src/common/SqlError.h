#pragma once
// The one error type of the data layer: every failed prepare, exec or commit throws it, carrying
// the statement and the driver's text. Command boundaries catch it, roll back and show one message.

#include <QString>
#include <stdexcept>

namespace si {

class SqlError : public std::runtime_error {
public:
    SqlError(QString statement, QString driverText)
        : std::runtime_error(
              (driverText + QStringLiteral(" [") + statement + QStringLiteral("]")).toStdString()),
          statement_(std::move(statement)),
          driverText_(std::move(driverText)) {}

    const QString& statement() const { return statement_; }
    const QString& driverText() const { return driverText_; }

private:
    QString statement_;
    QString driverText_;
};

}  // namespace si
