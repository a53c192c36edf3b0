#include "db/ConnectionString.h"

#include "db/DbError.h"

#include <QRegularExpression>

namespace belmo::db {

namespace {

QString unquote(QString v)
{
    v = v.trimmed();
    if (v.size() >= 2 && (v.front() == u'\'' || v.front() == u'"') && v.back() == v.front()) {
        const QChar q = v.front();
        v = v.mid(1, v.size() - 2).replace(QString(2, q), QString(q));
    }
    return v;
}

QString quote(const QString& value, QChar q) { return q + QString(value).replace(q, QString(2, q)) + q; }

}  // namespace

ConnectionString ConnectionString::parse(const QString& text)
{
    ConnectionString cs;
    QString key, value;
    QChar quote;
    bool inValue = false;
    auto flush = [&] {
        const QString k = key.trimmed().toLower();
        const QString v = unquote(value);
        if (k == u"provider") cs.provider = v;
        else if (k == u"data source") cs.dataSource = v;
        else if (k == u"jet oledb:database password") cs.password = v;
        else if (k == u"server") cs.host = v;
        else if (k == u"port") cs.port = v.toInt();
        else if (k == u"user id") cs.user = v;
        else if (k == u"password") cs.password = v;
        else if (k == u"database") cs.database = v;
        else if (k == u"mode") cs.readOnly = v.compare(u"Read", Qt::CaseInsensitive) == 0;
        key.clear();
        value.clear();
        inValue = false;
    };
    for (const QChar c : text) {
        if (!inValue) {
            if (c == u'=') inValue = true;
            else if (c == u';') flush();
            else key += c;
            continue;
        }
        if (!quote.isNull()) {
            // A doubled quote stays inside the value: the first closes, the second reopens.
            if (c == quote) quote = QChar();
            value += c;
        } else if ((c == u'\'' || c == u'"') && (value.trimmed().isEmpty() || (value.trimmed().startsWith(c) && value.endsWith(c)))) {
            quote = c;
            value += c;
        } else if (c == u';') {
            flush();
        } else {
            value += c;
        }
    }
    flush();
    const QString p = cs.provider.toLower();
    if (p == u"postgresql") {
        if (cs.host.isEmpty() || cs.database.isEmpty())
            throw DbError(err::Unspecified, QStringLiteral("The connection string names no Server or no Database."));
        cs.onServer = true;
        cs.dataSource = (cs.port > 0 ? cs.host + u':' + QString::number(cs.port) : cs.host) + u'/' + cs.database;
        return cs;
    }
    if (!p.startsWith(u"microsoft.jet.oledb") && !p.startsWith(u"microsoft.ace.oledb"))
        throw DbError(err::ProviderNotFound,
                      QStringLiteral("Provider cannot be found: '%1'.").arg(cs.provider));
    if (cs.dataSource.isEmpty())
        throw DbError(err::Unspecified, QStringLiteral("The connection string names no Data Source."));
    return cs;
}

QString ConnectionString::forJetFile(const QString& path, const QString& password)
{
    // The documented form leaves a plain path as it is.
    const bool plain = !path.contains(u';') && !path.contains(u'"') && !path.contains(u'\'') && path == path.trimmed();
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + (plain ? path : quote(path, u'"'))
        + QStringLiteral(";Persist Security Info=false;Jet OLEDB:Database Password=") + quote(password, u'\'');
}

QString ConnectionString::forServer(const QString& host, int port, const QString& user, const QString& password,
                                   const QString& database)
{
    return QStringLiteral("Provider=PostgreSQL;Server=%1;Port=%2;User ID=%3;Password=%4;Database=%5")
        .arg(quote(host, u'"'), QString::number(port), quote(user, u'"'), quote(password, u'\''), quote(database, u'"'));
}

QString ConnectionString::readOnlyForm(const QString& connectionString) { return connectionString + QStringLiteral(";Mode=Read"); }

bool isPlainCode(const QString& code)
{
    static const QRegularExpression plain(QRegularExpression::anchoredPattern(QStringLiteral("[\\p{L}\\p{Nd}_\\-]{1,50}")));
    return plain.match(code).hasMatch();
}

}  // namespace belmo::db
