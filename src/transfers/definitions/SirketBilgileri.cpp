#include "transfers/definitions/SirketBilgileri.h"

#include "app/Session.h"
#include "db/Connection.h"
#include "db/JetDialect.h"
#include "db/Recordset.h"
#include "db/VbConvert.h"
#include "services/Dialogs.h"
#include "services/Errors.h"
#include "transfers/RecordWriting.h"

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using db::CursorType;
using db::LockType;
using db::Recordset;
using db::Value;
using services::skip;

namespace {

// A column copied from the source's first row, with what the target gets when the source
// holds Null (Null itself for the columns copied as they are).
struct Copied {
    const char* column;
    Value ifNull;
};

const Value kText = QString();

// The company record's columns in the order they are written. SIRKETCODE, DONEM and the
// document counters are written apart.
const Copied kCompany[] = {
    {"SIRKETAD", Value()},       {"Adres", kText},         {"il", kText},           {"VD", kText},
    {"VN", kText},               {"AKTIVE", Value()},      {"LOGO", kText},         {"Fax", kText},
    {"Web", kText},              {"Email", kText},         {"Lot_Kullan", Value()}, {"UNVAN", kText},
    {"TAMUNVAN", kText},         {"Tel1", kText},          {"Tel2", kText},         {"U_Net", kText},
    {"icmal_Belge", kText},      {"icmal_Belge_No", kText}, {"Yetki_Belgesi", kText}, {"Yetki_No", kText},
    {"Yetki_Tarihi", Value()},   {"icmal_Tur", 0},         {"BaForm_Lmt", 8000},    {"BsForm_Lmt", 8000},
    {"Sicil_No", kText},         {"Muh_Adi", kText},       {"Muh_SoyAdi", kText},   {"Muh_Vn", kText},
    {"Muh_Tck", kText},          {"Muh_Tel", kText},       {"Muh_eposta", kText},
};

const Copied kMoney[] = {
    {"TUTARKURUS", 2},      {"FIYATKURUS", 4},      {"DVZ1TUTARKURUS", 2}, {"DVZ1FIYATKURUS", 4},
    {"DVZ2TUTARKURUS", 2},  {"DVZ2FIYATKURUS", 4},  {"MIKTARKSR", 4},      {"PARABIRIM", u"TL"_s},
    {"DVZ1BIRIM", u"USD"_s}, {"DVZ2BIRIM", u"EURO"_s}, {"Shw_Dvz1", 0},      {"Shw_Dvz2", 0},
};

template <std::size_t N>
void copyAll(Recordset& to, Recordset& from, const Copied (&columns)[N])
{
    for (const Copied& c : columns) copy(to, from, QString::fromLatin1(c.column), c.ifNull);
}

void openBoth(Recordset& from, Recordset& to, const QString& sql, db::Connection& source, db::Connection& target)
{
    from.open(sql, source, CursorType::Dynamic, LockType::Optimistic);
    to.open(sql, target, CursorType::Dynamic, LockType::Optimistic);
}

}  // namespace

SirketBilgileri::SirketBilgileri(console::StepHost& host) : Step(host, console::StepId::SirketBilgileri) {}

// Everything but the company record itself is carried statement by statement: a part
// that fails is left out and the rest goes on. A company record that cannot be saved is
// listed, and as the step's only record it leaves the step not finished.
void SirketBilgileri::menuAction()
{
    transfer({.writes = {u"SIRKET"_s, u"PARATANIM"_s, u"Evr"_s, u"BRM"_s},
              .completion = {{u"Şirket bilgileri Aktarıldı."_s, u"Belmo"_s}}},
             [this](console::Transfer& t) {
                 if (!companyRecord(t)) {
                     session().dialogs().message(u"Belmo yapılacak şirket bilgileri alınamadı."_s, u"Belmo"_s);
                     t.stop();
                 }
                 skip([&] { moneySettings(t.source(), t.target()); });
                 skip([&] { numberingSeries(t.source(), t.target()); });
                 skip([&] { units(t.source(), t.target()); });
             });
}

// False when the source has no company record to carry; nothing has been written then.
bool SirketBilgileri::companyRecord(console::Transfer& t)
{
    db::Connection& source = t.source();
    db::Connection& target = t.target();
    Recordset from;
    bool readable = false;
    skip([&] {
        from.open(u"Select * from SIRKET"_s, source, CursorType::Dynamic, LockType::Optimistic);
        readable = !from.eof();
    });
    if (!readable) return false;
    // The new period follows the closing one; a source without one stops the step here,
    // before anything is written.
    const int period = companyPeriod(source);

    Recordset to;
    skip([&] {
        to.open(u"Select * from SIRKET"_s, target, CursorType::Dynamic, LockType::Optimistic);
        if (to.eof()) {
            to.addNew();
            copy(to, from, u"SIRKETCODE"_s);
        }
    });
    if (!to.isOpen()) return true;
    copyAll(to, from, kCompany);
    assign(to, u"DONEM"_s, period + 1);
    assign(to, u"Ftr_Bas"_s, 1);
    assign(to, u"Fis_Bas"_s, 1);
    t.row(u"SIRKET"_s, [&] { to.update(); });
    return true;
}

void SirketBilgileri::moneySettings(db::Connection& source, db::Connection& target)
{
    Recordset from, to;
    openBoth(from, to, u"Select * from PARATANIM"_s, source, target);
    if (to.eof()) to.addNew();
    copyAll(to, from, kMoney);
    to.update();
}

// The target's counters continue from the source's; series only the target has stay.
void SirketBilgileri::numberingSeries(db::Connection& source, db::Connection& target)
{
    Recordset from;
    from.open(u"Select * from Evr"_s, source, CursorType::Dynamic, LockType::Optimistic);
    for (; !from.eof(); from.moveNext()) {
        skip([&] {
            const QString prefix = vb::CStr(from.value(u"On_Taki"_s));
            Recordset to;
            to.open(u"Select * from Evr where On_Taki=?"_s, target, CursorType::Dynamic, LockType::Optimistic, {prefix});
            if (to.eof()) to.addNew();
            copy(to, from, u"On_Taki"_s);
            copy(to, from, u"Evr_No"_s);
            to.update();
        });
    }
}

// The units are replaced, not merged.
void SirketBilgileri::units(db::Connection& source, db::Connection& target)
{
    Recordset from, to;
    openBoth(from, to, u"Select * from BRM"_s, source, target);
    deleteAll(to);
    for (; !from.eof(); from.moveNext()) {
        skip([&] {
            to.addNew();
            copy(to, from, u"Birim"_s);
            copy(to, from, u"Carpan"_s);
            to.update();
        });
    }
}

}  // namespace belmo::transfers
