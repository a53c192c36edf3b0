#pragma once

#include "db/FieldType.h"
#include "db/Schema.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// Names on a company server. The server folds a bare name to lower case and finds a quoted one
// only as spelt, where Jet finds a name whatever its case: the tables and columns of a company
// database are made with lower-case names, the rewrite lowers a bracketed or quoted name of a
// statement too, and the names a recordset shows are spelt again here as declared (or as the
// statement spells them).
namespace belmo::db::pg {

// A name between double quotes, any quote inside doubled.
QString quotedName(const QString& name);
// A name as the server keeps a bare one: ASCII letters lowered, others as they are.
QString folded(const QString& name);

// The declared spelling of a table of the schema, and of one of its columns; `name` itself
// when the schema has none such.
QString tableSpelling(const QString& table);
QString columnSpelling(const QString& table, const QString& column);
// How a statement spells a result column the server named `name`: the alias given with AS,
// or else the word of the text that folds to it; empty when the column is an expression
// without a name of its own.
QString resultSpelling(QStringView sql, const QString& name, bool fromTable);

// The field type of a column of the server's type `typeName`.
FieldType fieldTypeOf(const QString& typeName);

}  // namespace belmo::db::pg
