#pragma once

#include <QString>

namespace belmo::db {
class Connection;
}

namespace belmo::services {

// The number formats of the source company, filled after each login from its money
// settings (PARATANIM). The patterns are those of the Access FORMAT function; the program
// formats its own totals with the same patterns through vb::formatNumber, so a total and a
// formatted grid cell always agree. The *Kurus members hold the decimals as text.
struct NumberFormats {
    QString TutarFormat, Dvz1TutarFormat, Dvz2TutarFormat;
    QString FiyatFormat, Dvz1FiyatFormat, Dvz2FiyatFormat;
    QString MiktarFormat;

    QString TutarKurus, Dvz1TutarKurus, Dvz2TutarKurus;
    QString FiyatKurus, Dvz1FiyatKurus, Dvz2FiyatKurus;
    QString MiktarKurus;

    // The amount format of a currency: 0 TL, 1 the first and 2 the second foreign currency.
    const QString& amountFormat(int currency) const
    {
        const QString* formats[] = {&TutarFormat, &Dvz1TutarFormat, &Dvz2TutarFormat};
        return *formats[currency];
    }
};

// The pattern FORMATAYARLA gives a number of decimals: "##,###0." and one "0" per decimal;
// "##,###" for none (a zero amount then shows as empty text).
QString numberFormat(int decimals);

// Reads the first PARATANIM row of the source company into the formats. Any error
// ends it silently: the formats set before the failing column keep their new values, the
// rest keep the previous ones.
void FORMATAYARLA(db::Connection& source, NumberFormats& formats);

}  // namespace belmo::services
