#include "transfers/RecordWriting.h"

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/SqliteFile.h"
#include "db/VbConvert.h"
#include "services/Errors.h"

namespace belmo::transfers {

void assign(db::Recordset& record, const QString& column, const db::Value& value)
{
    services::skip([&] { record.setValue(column, value); });
}

void assignNumber(db::Recordset& record, const QString& column, const QString& text)
{
    services::skip([&] { record.setValue(column, vb::CDbl(text)); });
}

void copy(db::Recordset& to, db::Recordset& from, const QString& column, const db::Value& ifNull)
{
    services::skip([&] {
        const db::Value v = from.value(column);
        to.setValue(column, v.isNull() ? ifNull : v);
    });
}

void runOrStop(db::Connection& db, const QString& statement)
{
    try {
        db::Recordset rs;
        rs.open(statement, db, db::CursorType::Dynamic, db::LockType::Optimistic);
    } catch (const db::DbError& e) {
        throw e.asDatabaseLevel();
    }
}

void requireRecord(db::Recordset& record)
{
    if (record.eof())
        throw db::DbError(db::err::NoCurrentRow, QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."),
                          db::DbError::Kind::Field, {}, QStringLiteral("kaynakta artık yok"));
}

void deleteAll(db::Recordset& record)
{
    while (!record.eof()) {
        try {
            record.deleteCurrent();
        } catch (const db::DbError& e) {
            throw e.asDatabaseLevel();
        }
        if (!record.eof()) record.moveNext();  // an emptied recordset has nowhere to move
    }
}

int companyPeriod(db::Connection& company)
{
    db::Recordset rs;
    rs.open(QStringLiteral("Select DONEM from SIRKET"), company, db::CursorType::Static, db::LockType::ReadOnly);
    const QString text = rs.eof() ? QString() : vb::joined(rs.value(QStringLiteral("DONEM"))).trimmed();
    bool year = false;
    const int period = text.toInt(&year);
    if (year && period >= 1 && period < 9999) return period;
    const QString cause = rs.eof() ? QStringLiteral("SIRKET holds no company record, so the company has no period")
                                   : QStringLiteral("SIRKET.DONEM is not a year: '%1'").arg(text);
    throw db::DbError(db::err::TypeMismatch, QStringLiteral("Type mismatch: '%1'").arg(text), db::DbError::Kind::Database,
                      company.file()->path(), cause);
}

db::Value openingDate(db::Connection& target) { return db::Value(QDate(companyPeriod(target), 1, 1)); }

}  // namespace belmo::transfers
