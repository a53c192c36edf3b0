#pragma once

// Shared ground of the query tests: the dialect fragments with their Access values, the
// per-user temporary views, and a company database to fill with a few hand-made rows.
#include "support/TestCompany.h"

#include "db/DbError.h"
#include "services/Fragments.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <initializer_list>
#include <utility>

namespace belmo::test {

using namespace Qt::Literals::StringLiterals;

// The user the temporary views are named for: CMZN051, SMZN052, CK053 ...
inline const QString kUserCode = u"05"_s;

// Decimals of the source company's money settings, one per number format. The defaults
// differ between amounts, prices and quantities, so that each formatted column shows
// which format it was written with.
struct Decimals {
    int tutar = 2;
    int dvz1Tutar = 2;
    int dvz2Tutar = 2;
    int fiyat = 4;
    int miktar = 3;
};

// The query fragments the loaders put around expressions, with their Access values, as the
// login fills them for these decimals.
using services::Fragments;
Fragments accessFragments(const Decimals& decimals = {});

// "CREATE VIEW " / "DROP VIEW " + prefix + user code + slot, issued through a dynamic,
// optimistic recordset open as the steps do. The steps ignore every error of these two;
// here the error number comes back (0 when the statement ran), so that a test can tell
// which of two definitions took effect.
QString viewName(const QString& prefix, int slot);
qint32 createView(db::Connection& con, const QString& prefix, int slot, const QString& query);
qint32 dropView(db::Connection& con, const QString& prefix, int slot);

// The error number of opening a statement as a static, read-only recordset; 0 when it opens.
qint32 openError(db::Connection& con, const db::Query& sql);

// Rows in a fixed order, for statements that request none.
QList<QStringList> sorted(QList<QStringList> rows);

class QueryTest : public ::testing::Test {
protected:
    TestCompany co;
    Fragments f = accessFragments();

    using Columns = std::initializer_list<std::pair<const char*, db::Value>>;

    // Inserts a document header and returns the number the database gave it.
    qint64 header(Columns columns);
    void insert(const QString& table, Columns columns) { co.insert(table, columns); }
    // The rows of a statement; with `shown`, only the first that many columns of each: a
    // loader's grid columns without the raw values after them.
    QList<QStringList> rows(const db::Query& sql, int shown = -1)
    {
        QList<QStringList> all = co.rows(sql);
        if (shown >= 0)
            for (QStringList& r : all) r = r.mid(0, shown);
        return all;
    }

    // Drops and creates a view the way a panel rebuilds it; the creation must succeed.
    void rebuildView(const QString& prefix, int slot, const QString& query);
};

}  // namespace belmo::test
