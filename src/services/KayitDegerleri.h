#pragma once

#include "db/Value.h"

namespace belmo::services {

// The posting values: one member per column the writers put into Kayit, Cari_H and Stok_H.
// A step fills them before each call of KAYITEKLE, CARIHAREKETEKLE or STOKHAREKETEKLE, and
// they keep their values between calls. Members are variants and are written unchanged
// unless the writer names a conversion; a member never assigned is Empty and leaves the
// column Null.
struct KayitDegerleri {
    using Value = db::Value;

    // Document header (Kayit).
    Value Tarih;
    Value B_Hs, B_Gr, STKB_MID, B_MID;  // debit side; STKB_MID only in posting mode 3
    Value A_Hs, A_Gr, STKA_MID, A_MID;  // credit side; STKA_MID only in posting mode 3
    Value Evrak_Kodu, Evrak_No, islem_Kod;
    // Output of the writers: the number the new header was expected to get (largest + 1).
    // Lines are linked to the number the database actually gave the header.
    Value Kayit_No;

    // Current-account line (Cari_H).
    Value Aciklama, islem_Dvz, Doviz_Kuru, iskonto_Oran, iskonto, Vade, B_Fiyat;
    Value Tutar_Ytl, Tutar_Dvz1;
    double Tutar_Dvz2 = 0;
    Value Alis_Kyt_No;
    Value KDV;  // also written into the stock line

    // Stock line (Stok_H).
    Value Lot_No, Stok_Kodu;
    Value Giren1, Cikan1, Birim1;
    Value Giren2, Cikan2, Birim2;
    Value Aciklama1, Aciklama2, Depo_Kodu;
};

}  // namespace belmo::services
