#include "services/Fragments.h"

#include "db/DbError.h"
#include "db/VbConvert.h"
#include "services/NumberFormats.h"

#include <QStringList>

#include <optional>

namespace belmo::services {

using namespace Qt::Literals::StringLiterals;

QString Fragments::conditional(const QString& c1, const QString& v1, const QString& c2, const QString& v2) const
{
    return QStringList{KosulBas, KosulIlk, c1, KosulDeger, v1, KosulSonraki, c2, KosulDeger, v2, KosulSon}.join(u' ');
}

namespace {

// The opening and closing piece of an amount, quantity or price in each dialect.
struct Pair {
    QString bas, son;
};
Pair accessNumber(const QString& format) { return {u"FORMAT("_s, u",'"_s + format + u"')"_s}; }
// On a company server the schema belmo formats as FORMAT does on a file: the same pattern gives
// the same text on either.
Pair serverNumber(const QString& format) { return {u"belmo.format("_s, u",'"_s + format + u"')"_s}; }

// Every formatted pair of the fragments with the format and decimals it is built from.
template <typename Build>
void fillNumberPairs(Fragments& f, const NumberFormats& n, Build build)
{
    const struct {
        QString Fragments::*bas;
        QString Fragments::*son;
        const QString& format;
        const QString& decimals;
    } pairs[] = {
        {&Fragments::TutarBas, &Fragments::TutarSon, n.TutarFormat, n.TutarKurus},
        {&Fragments::Dvz1TutarBas, &Fragments::Dvz1TutarSon, n.Dvz1TutarFormat, n.Dvz1TutarKurus},
        {&Fragments::Dvz2TutarBas, &Fragments::Dvz2TutarSon, n.Dvz2TutarFormat, n.Dvz2TutarKurus},
        {&Fragments::MiktarBas, &Fragments::MiktarSon, n.MiktarFormat, n.MiktarKurus},
        {&Fragments::FiyatBas, &Fragments::FiyatSon, n.FiyatFormat, n.FiyatKurus},
        {&Fragments::Dvz1FiyatBas, &Fragments::Dvz1FiyatSon, n.Dvz1FiyatFormat, n.Dvz1FiyatKurus},
        {&Fragments::Dvz2FiyatBas, &Fragments::Dvz2FiyatSon, n.Dvz2FiyatFormat, n.Dvz2FiyatKurus},
    };
    for (const auto& p : pairs) {
        const Pair built = build(p.format, p.decimals);
        f.*p.bas = built.bas;
        f.*p.son = built.son;
    }
}

// The server type as a number: unset counts as 0; Null or a text that is no number is none.
std::optional<double> serverType(const db::Value& v)
{
    if (v.isEmpty()) return 0.0;
    if (v.isNull()) return std::nullopt;
    try {
        return vb::CDbl(v);
    } catch (const db::DbError&) {
        return std::nullopt;
    }
}

}  // namespace

Fragments accessFragments(const NumberFormats& formats)
{
    Fragments f;
    f.KirpBas = u"TRIM("_s;
    f.KirpSon = u")"_s;
    f.AltMetin = u"MID"_s;
    f.Tekil = u"DISTINCTROW"_s;
    f.KirpFonk = u"TRIM"_s;
    f.SayiFonk = u"CDBL"_s;
    fillNumberPairs(f, formats, [](const QString& format, const QString&) { return accessNumber(format); });
    f.Ondalik4Bas = u"FORMAT("_s;
    f.Ondalik4Son = u",'###,##0.0000')"_s;
    f.TarihMetinBas = u"format("_s;
    f.TarihMetinSon = u",'DD.MM.YYYY')"_s;
    f.MetinTarihBas = u"cdate("_s;
    f.MetinTarihSon = u")"_s;
    f.KosulBas = u"SWITCH("_s;
    f.KosulIlk = QString();
    f.KosulDeger = u","_s;
    f.KosulSonraki = u","_s;
    f.KosulSon = u")"_s;
    return f;
}

Fragments serverFragments(const NumberFormats& formats)
{
    Fragments f;
    f.KirpBas = u"LTRIM(RTRIM("_s;
    f.KirpSon = u"))"_s;
    f.AltMetin = u"SUBSTRING"_s;
    f.Tekil = u"DISTINCT"_s;
    f.KirpFonk = QString();
    f.SayiFonk = u"belmo.cdbl"_s;  // the current-account loader sorts by the number of a code
    fillNumberPairs(f, formats, [](const QString& format, const QString&) { return serverNumber(format); });
    f.Ondalik4Bas = u"belmo.format("_s;
    f.Ondalik4Son = u",'###,##0.0000')"_s;
    f.TarihMetinBas = u"to_char("_s;
    f.TarihMetinSon = u"::timestamp,'DD.MM.YYYY')"_s;  // a bound value has no type of its own
    f.MetinTarihBas = u"belmo.cdate("_s;  // day.month.year or ISO, as a file reads it
    f.MetinTarihSon = u")"_s;
    f.KosulBas = u"CASE"_s;
    f.KosulIlk = u"WHEN"_s;
    f.KosulDeger = u"THEN"_s;
    f.KosulSonraki = u"WHEN"_s;
    f.KosulSon = u"END"_s;
    return f;
}

void SQLCEVIR(const db::Value& SqlSunucu, const NumberFormats& formats, Fragments& sql)
{
    const std::optional<double> type = serverType(SqlSunucu);
    if (type == 1.0) sql = serverFragments(formats);
    else if (type == 0.0 || type == -1.0) sql = accessFragments(formats);
}

}  // namespace belmo::services
