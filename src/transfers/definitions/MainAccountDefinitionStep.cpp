#include "transfers/definitions/MainAccountDefinitionStep.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;

MainAccountDefinitionStep::MainAccountDefinitionStep(console::StepHost& host, console::StepId id,
                                                     const QString& caption, const QString& completion,
                                                     Columns columns)
    : AddIfMissingStep(host, id, caption, columns.table, {{completion, QString()}}), columns_(std::move(columns))
{
}

void MainAccountDefinitionStep::readRows(console::RowReader& reader)
{
    rows_.read(reader, [this](console::RowReader& r) {
        return Row{r.text(columns_.code), r.text(columns_.name), r.value(u"HamAnaHs")};
    });
}

db::Query MainAccountDefinitionStep::lookup(int row) const
{
    return {u"Select * from "_s + columns_.table + u" where "_s + columns_.code + u"=? and Ana_Hs=? AND Sil= 0 "_s,
            {rows_[row].code, rows_[row].mainAccount}};
}

void MainAccountDefinitionStep::fill(db::Recordset& record, int row) const
{
    assign(record, columns_.code, rows_[row].code);
    assign(record, columns_.name, rows_[row].name);
    assign(record, u"Ana_Hs"_s, rows_[row].mainAccount);
}

}  // namespace belmo::transfers
