#pragma once

#include <QList>

namespace belmo::app {

struct MainAccount {
    int number;
    const char* name;  // UTF-8
};

// The main accounts of the uniform chart of accounts that a new company starts with.
inline const QList<MainAccount>& mainAccounts()
{
    static const QList<MainAccount> accounts = {
        {100, "Kasa"}, {101, "Alınan Çekler"}, {102, "Bankalar"}, {103, "Verilen Çekler ve Ödeme Emirleri (-)"},
        {108, "Diğer Hazır Değerler"}, {120, "Alıcılar"}, {121, "Alacak Senetleri"},
        {126, "Verilen Depozito ve Teminatlar"}, {136, "Diğer Çeşitli Alacaklar"}, {150, "İlk Madde ve Malzeme"},
        {151, "Yarı Mamuller"}, {152, "Mamuller"}, {153, "Ticari Mallar"}, {157, "Diğer Stoklar"},
        {159, "Verilen Sipariş Avansları"}, {190, "Devreden KDV"}, {191, "İndirilecek KDV"},
        {253, "Tesis, Makine ve Cihazlar"}, {254, "Taşıtlar"}, {255, "Demirbaşlar"},
        {257, "Birikmiş Amortismanlar (-)"}, {300, "Banka Kredileri"}, {320, "Satıcılar"}, {321, "Borç Senetleri"},
        {335, "Personele Borçlar"}, {340, "Alınan Sipariş Avansları"}, {360, "Ödenecek Vergi ve Fonlar"},
        {361, "Ödenecek Sosyal Güvenlik Kesintileri"}, {391, "Hesaplanan KDV"}, {500, "Sermaye"},
        {570, "Geçmiş Yıllar Karları"}, {590, "Dönem Net Karı"}, {600, "Yurtiçi Satışlar"}, {601, "Yurtdışı Satışlar"},
        {610, "Satıştan İadeler (-)"}, {611, "Satış İskontoları (-)"}, {620, "Satılan Mamuller Maliyeti (-)"},
        {621, "Satılan Ticari Mallar Maliyeti (-)"}, {642, "Faiz Gelirleri"}, {646, "Kambiyo Karları"},
        {656, "Kambiyo Zararları (-)"}, {760, "Pazarlama Satış ve Dağıtım Giderleri"},
        {770, "Genel Yönetim Giderleri"}, {780, "Finansman Giderleri"},
    };
    return accounts;
}

}  // namespace belmo::app
