#include "support/MissingObject.h"

#include <gtest/gtest.h>

#include "support/TestDatabase.h"

namespace si::test {

namespace {

QString hiddenName(const QString& name) {
    return name + QStringLiteral("_missing");
}

}  // namespace

MissingObject::MissingObject(const TestDatabase& database, QString name)
    : session_(database.open()), name_(std::move(name)) {
    if (session_->isSqlite())
        viewSql_ = session_
                       ->scalar(QStringLiteral("select sql from sqlite_master where type = 'view' "
                                               "and lower(name) = lower(?)"),
                                {name_})
                       .toString();
    if (!viewSql_.isEmpty())
        session_->exec(QStringLiteral("DROP VIEW ") + name_);
    else
        session_->exec(QStringLiteral("ALTER TABLE ") + name_ + QStringLiteral(" RENAME TO ") +
                       hiddenName(name_));
}

MissingObject::~MissingObject() {
    try {
        if (!viewSql_.isEmpty())
            session_->exec(viewSql_);
        else
            session_->exec(QStringLiteral("ALTER TABLE ") + hiddenName(name_) +
                           QStringLiteral(" RENAME TO ") + name_);
    } catch (const SqlError& e) {
        ADD_FAILURE() << name_.toStdString() << " did not come back: " << e.what();
    }
}

}  // namespace si::test
