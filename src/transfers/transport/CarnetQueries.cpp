#include "transfers/transport/CarnetQueries.h"

#include "db/Recordset.h"
#include "services/Fragments.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;

db::Query carnetLoader(const services::Fragments& f, const QString& period, bool teslimColumn)
{
    const QString columns =
        u"Select '',ID,Karne_No,format(Bas_Trh,'dd.mm.yyyy'),format(Bit_Trh,'dd.mm.yyyy'),format(Ver_Trh,'dd.mm.yyyy'),format(iade_Trh,'dd.mm.yyyy'),Plaka,Dorse_Plaka,Sofor,Gidis,"_s;
    const QString where = u" where Bit_Trh>="_s + f.TarihMetinBas + u"?"_s + f.TarihMetinSon;
    const QList<db::Value> firstDay = {u"01.01."_s + period};
    if (teslimColumn) return {columns + u"Teslim from Karne_Tanim "_s + where + u" AND Teslim=0"_s, firstDay};
    return {columns + u"0 from Karne_Tanim "_s + where, firstDay};
}

}  // namespace belmo::transfers
