#include "db/ServerSql.h"

#include "db/JetDialect.h"

#include <QHash>

namespace belmo::db::pg {

namespace {

QString unquoted(const jet::Token& t)
{
    return t.kind == jet::Token::QuotedName && t.text.size() >= 2 ? t.text.mid(1, t.text.size() - 2) : t.text;
}

}  // namespace

QString quotedName(const QString& name) { return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"'; }

QString folded(const QString& name)
{
    QString out = name;
    for (QChar& c : out)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + 32);
    return out;
}

QString tableSpelling(const QString& table)
{
    for (const auto* tables : {&schema::companyTables(), &schema::configTables()})
        if (const schema::Table* t = schema::findTable(*tables, table)) return t->name;
    return table;
}

QString columnSpelling(const QString& table, const QString& column)
{
    for (const auto* tables : {&schema::companyTables(), &schema::configTables()})
        if (const schema::Table* t = schema::findTable(*tables, table))
            if (const schema::Column* c = t->column(column)) return c->name;
    return column;
}

QString resultSpelling(QStringView sql, const QString& name, bool fromTable)
{
    const QList<jet::Token> tokens = jet::tokenize(sql);
    QString word;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const jet::Token& t = tokens[i];
        if (t.kind != jet::Token::Word && t.kind != jet::Token::QuotedName) continue;
        const QString w = unquoted(t);
        if (folded(w) != name) continue;
        qsizetype before = i - 1;
        while (before >= 0 && tokens[before].kind == jet::Token::Space) --before;
        if (before >= 0 && tokens[before].kind == jet::Token::Word && tokens[before].text.compare(u"AS", Qt::CaseInsensitive) == 0)
            return w;
        // A column of no table (of a UNION) is named after the column it takes, as on a file;
        // a function's or a CASE's name is none the statement gave.
        qsizetype after = i + 1;
        while (after < tokens.size() && tokens[after].kind == jet::Token::Space) ++after;
        const bool call = after < tokens.size() && tokens[after].kind == jet::Token::LParen;
        if (word.isEmpty() && (fromTable || (!call && name != u"case"))) word = w;
    }
    return fromTable ? (word.isEmpty() ? name : word) : word;
}

FieldType fieldTypeOf(const QString& typeName)
{
    static const QHash<QString, FieldType> types = {
        {QStringLiteral("int2"), FieldType::Short},     {QStringLiteral("int4"), FieldType::Long},
        {QStringLiteral("int8"), FieldType::Long},      {QStringLiteral("float8"), FieldType::Double},
        {QStringLiteral("float4"), FieldType::Double},  {QStringLiteral("numeric"), FieldType::Double},
        {QStringLiteral("text"), FieldType::Text},      {QStringLiteral("varchar"), FieldType::Text},
        {QStringLiteral("bpchar"), FieldType::Text},    {QStringLiteral("metin"), FieldType::Text},
        {QStringLiteral("timestamp"), FieldType::Date}, {QStringLiteral("date"), FieldType::Date},
    };
    return types.value(typeName, FieldType::Unknown);
}

}  // namespace belmo::db::pg
