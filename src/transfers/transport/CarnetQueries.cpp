#include "transfers/transport/CarnetQueries.h"

#include "db/Recordset.h"
#include "services/Fragments.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;

db::Query carnetLoader(const services::Fragments& f, const QString& period, bool teslimColumn)
{
    const QString teslim = teslimColumn ? u"Teslim"_s : u"0"_s;
    const QString shown =
        u"Select '',ID,Karne_No,format(Bas_Trh,'dd.mm.yyyy'),format(Bit_Trh,'dd.mm.yyyy'),format(Ver_Trh,'dd.mm.yyyy'),format(iade_Trh,'dd.mm.yyyy'),Plaka,Dorse_Plaka,Sofor,Gidis,"_s
        + teslim;
    // The dates and the flag as stored, beside the grid's columns.
    const QString raw = u",Bas_Trh AS HamBas_Trh,Bit_Trh AS HamBit_Trh,Ver_Trh AS HamVer_Trh,iade_Trh AS HamIade_Trh,"_s
        + teslim + u" AS HamTeslim"_s;
    const QString where = u" where Bit_Trh>="_s + f.TarihMetinBas + u"?"_s + f.TarihMetinSon;
    const QList<db::Value> firstDay = {u"01.01."_s + period};
    return {shown + raw + u" from Karne_Tanim "_s + where + (teslimColumn ? u" AND Teslim=0"_s : QString()), firstDay};
}

}  // namespace belmo::transfers
