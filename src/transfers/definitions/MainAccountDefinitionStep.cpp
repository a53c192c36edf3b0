#include "transfers/definitions/MainAccountDefinitionStep.h"

#include "db/JetDialect.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;

MainAccountDefinitionStep::MainAccountDefinitionStep(console::StepHost& host, console::StepId id,
                                                     const QString& caption, const QString& completion,
                                                     Columns columns)
    : AddIfMissingStep(host, id, caption, columns.table, {{completion, QString()}}), columns_(std::move(columns))
{
}

db::Query MainAccountDefinitionStep::lookup(int row) const
{
    return {u"Select * from "_s + columns_.table + u" where "_s + columns_.code + u"=? and Ana_Hs=? AND Sil= 0 "_s,
            {cell(row, 2), db::jet::number(mainAccountOf(cell(row, 4)))}};
}

void MainAccountDefinitionStep::fill(db::Recordset& record, int row) const
{
    assign(record, columns_.code, cell(row, 2));
    assign(record, columns_.name, cell(row, 3));
    assignNumber(record, u"Ana_Hs"_s, mainAccountOf(cell(row, 4)));
}

}  // namespace belmo::transfers
