#pragma once

#include <QString>

namespace belmo::db {
class Value;
}

namespace belmo::services {

struct NumberFormats;

// The text pieces the query builders put around expressions, so that one query text serves
// Access and server company databases. A Bas/Son pair wraps an expression:
// Bas + expression + Son. The amount, quantity and price pairs copy the number formats of
// the moment they are filled.
struct Fragments {
    QString KirpBas, KirpSon;  // trimmed text
    QString AltMetin;          // substring function
    QString Tekil;             // distinct keyword
    QString KirpFonk;          // trim function
    QString SayiFonk;          // text to number
    QString TutarBas, TutarSon, Dvz1TutarBas, Dvz1TutarSon, Dvz2TutarBas, Dvz2TutarSon;
    QString MiktarBas, MiktarSon;
    QString FiyatBas, FiyatSon, Dvz1FiyatBas, Dvz1FiyatSon, Dvz2FiyatBas, Dvz2FiyatSon;
    QString Ondalik4Bas, Ondalik4Son;      // four decimals
    QString TarihMetinBas, TarihMetinSon;  // date to text day.month.year
    QString MetinTarihBas, MetinTarihSon;  // text to date
    QString KosulBas, KosulIlk, KosulDeger, KosulSonraki, KosulSon;  // multi-way conditional

    // A two-way conditional as the loaders write it: KosulBas, KosulIlk, c1, KosulDeger, v1,
    // KosulSonraki, c2, KosulDeger, v2, KosulSon, joined by single blanks.
    QString conditional(const QString& c1, const QString& v1, const QString& c2, const QString& v2) const;
};

// The values for Access company databases, the ones the program runs with.
Fragments accessFragments(const NumberFormats& formats);
// The values for company databases on a server, run through the server's rewrite (the
// functions of the schema belmo and the server's own).
Fragments serverFragments(const NumberFormats& formats);

// Fills the fragments after the login: server values when SqlSunucu is 1, Access values
// when it is 0 or -1 (unset counts as 0); any other server type leaves them as they are.
void SQLCEVIR(const db::Value& SqlSunucu, const NumberFormats& formats, Fragments& sql);

}  // namespace belmo::services
