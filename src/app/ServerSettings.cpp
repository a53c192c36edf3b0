#include "app/ServerSettings.h"

#include "db/CompanyCopy.h"
#include "db/Connection.h"
#include "db/ConnectionString.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/SmallRoutines.h"

#include <algorithm>

namespace belmo::app {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kNoAnswer = u"Server Cevap Vermedi. Lütfen Ayarlarınızı Kontrol Ediniz."_s;

QString readRow(db::Connection& config, int id)
{
    db::Recordset rs;
    rs.open(u"Select Tema_Adi from config where ID=?"_s, config, db::CursorType::Static, db::LockType::ReadOnly, {id});
    return rs.eof() || rs.value(0).isNull() ? QString() : vb::CStr(rs.value(0));
}

void writeRow(db::Connection& config, int id, const QString& value)
{
    db::Recordset rs;
    rs.open(u"Select * from config where ID=?"_s, config, db::CursorType::Dynamic, db::LockType::Optimistic, {id});
    if (rs.eof()) rs.addNew();
    rs.setValue(u"ID"_s, id);
    rs.setValue(u"Tema_Adi"_s, services::TIRNAKSIL(value).trimmed());
    rs.update();
}

}  // namespace

ServerSettings ServerSettings::load(db::Connection& config)
{
    ServerSettings s;
    s.useServer = readRow(config, kEngine).trimmed() == u"1";
    s.host = readRow(config, kHost);
    s.user = readRow(config, kUser);
    s.password = readRow(config, kPassword);
    s.port = parsePort(readRow(config, kPort)).value_or(0);
    return s;
}

void ServerSettings::save(db::Connection& config) const
{
    const std::pair<int, QString> rows[] = {{kHost, host},
                                            {kUser, user},
                                            {kPassword, password},
                                            {kPort, port > 0 ? QString::number(port) : QString()},
                                            {kEngine, useServer ? u"1"_s : u"0"_s}};
    config.beginTrans();
    try {
        for (const auto& [id, value] : rows) writeRow(config, id, value);
        config.commitTrans();
    } catch (...) {
        config.rollbackTrans();
        throw;
    }
}

QString ServerSettings::companyConnection(const QString& code) const
{
    return db::ConnectionString::forServer(host, port, user, password, code);
}

QStringList ServerSettings::companies() const
{
    db::PgClient client(server(), u"postgres"_s, std::make_shared<db::PoolSettings>());
    const db::PgRows rows = client.execute(u"SELECT datname FROM pg_database WHERE NOT datistemplate AND datname <> 'postgres'"_s);
    QStringList codes;
    for (const QList<db::Value>& row : rows.rows)
        if (const QString name = vb::CStr(row.at(0)); db::isPlainDatabaseCode(name) && !db::isWorkingDatabase(name))
            codes << name;
    std::sort(codes.begin(), codes.end());
    return codes;
}

bool serverDidNotAnswer(const db::DbError& e) { return e.description() == kNoAnswer; }

std::optional<int> parsePort(const QString& text)
{
    if (text.trimmed().isEmpty()) return 0;
    bool ok = false;
    const int port = text.trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 65535) return std::nullopt;
    return port;
}

}  // namespace belmo::app
