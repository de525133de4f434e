#pragma once
// The one error type of the data layer: every failed prepare, exec or commit throws it, carrying
// the statement and the driver's text. Command boundaries catch it, roll back and show one message.
// A connection that is gone (the server stopped, the network broke) is told apart: its text is
// one Persian sentence instead of the driver's, since no statement is at fault.

#include <QString>
#include <stdexcept>

namespace si {

class SqlError : public std::runtime_error {
public:
    enum class Cause { Statement, ConnectionLost };

    SqlError(QString statement, QString driverText, Cause cause = Cause::Statement)
        : std::runtime_error(
              (driverText + QStringLiteral(" [") + statement + QStringLiteral("]")).toStdString()),
          statement_(std::move(statement)),
          driverText_(std::move(driverText)),
          cause_(cause) {}

    const QString& statement() const { return statement_; }
    const QString& driverText() const { return driverText_; }
    bool connectionLost() const { return cause_ == Cause::ConnectionLost; }

private:
    QString statement_;
    QString driverText_;
    Cause cause_;
};

inline const QString kConnectionLostMessage = QStringLiteral("ارتباط با سرور پایگاه داده قطع شد.");

}  // namespace si
