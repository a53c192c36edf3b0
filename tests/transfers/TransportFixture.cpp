#include "TransportFixture.h"

namespace belmo::test {

using namespace Qt::Literals::StringLiterals;
using console::StepId;

TransportTest::TransportTest()
{
    put(target(), u"SIRKET"_s, {{"SIRKETCODE", "HEDEF"}, {"DONEM", "2011"}});
    openTransportWindow();
}

transfers::NAKLIYAT& TransportTest::openTransportWindow()
{
    t.console()->entry(console::MenuItem::Kind::Transport).button.click();
    n = dynamic_cast<transfers::NAKLIYAT*>(t.program.transport());
    if (!n) throw std::logic_error("the transport window did not open");
    return *n;
}

console::PreviewStep& TransportTest::preview(StepId id)
{
    auto* step = dynamic_cast<console::PreviewStep*>(n->step(id));
    if (!step) throw std::logic_error("not a step with a panel");
    return *step;
}

console::PreviewStep& TransportTest::open(StepId id)
{
    press(id);
    console::PreviewStep& step = preview(id);
    EXPECT_EQ(n->panels.front(), &step.frame);
    return step;
}

void TransportTest::start(StepId id, console::PreviewStep* step)
{
    if (const QString warning = warningOf(id); !warning.isEmpty())
        t.dialogs.expectQuestion(warning + u"\rDevam edilsin mi?"_s, {}, true);
    const console::Message done = completionOf(id);
    t.dialogs.expectMessage(done.text, done.title);
    (step ? *step : preview(id)).basla.click();
}

qint64 TransportTest::driver(db::Connection& con, const QString& table, const QString& name, int sil)
{
    put(con, table, {{"Ad_Soyad", name}, {"Ev_Tel", "0212 555 00 00"}, {"Prim_Oran", 1.5}, {"Sil", sil}});
    return con.lastInsertId();
}

QString warningOf(StepId id)
{
    switch (id) {
    case StepId::GuzergahYd: return u"Hedef veritabanındaki uluslararası güzergah bilgileri silinecek."_s;
    case StepId::MasrafYi: return u"Hedef Veritabanındaki Yurtiçi masraf tanımları silinecektir."_s;
    case StepId::MasrafYd: return u"Hedef Veritabanındaki Uluslararası masraf tanımları silinecektir."_s;
    case StepId::SoforYi:
    case StepId::SoforYd: return u"Hedef veritabanındaki Şoför Tanımları silinecek"_s;
    case StepId::Karneler: return u"Hedef veritabanındaki Karne Tanımları silinecek"_s;
    default: return {};
    }
}

console::Message completionOf(StepId id)
{
    switch (id) {
    case StepId::SoforYi: return {u"Yurtiçi Nakliyat Şoför Tanımları Belmoi Tamamlandı."_s};
    case StepId::SoforYd: return {u"Uluslararası Nakliyat Şoför Belmoleri Tamamlandı."_s};
    case StepId::AracYi: return {u"Yurtiçi Nakliyat Araç Tanımları Aktarıldı."_s, u"Belmo"_s};
    case StepId::AracYd: return {u"Uluslararası Nakliyat Araç Tanımları Aktarıldı."_s, u"Belmo"_s};
    case StepId::Sehirler: return {u"Şehir Tanımları Belmo İşlemi Tamamlandı."_s};
    case StepId::Ulkeler: return {u"Ülke Tanımları Belmo İşlemi Tamamlandı."_s};
    case StepId::GuzergahYi: return {u"Yurtiçi Güzergah Verileri Belmo işlemi tamamlandı."_s};
    case StepId::GuzergahYd: return {u"Uluslararası Güzergah Verileri Belmo işlemi tamamlandı."_s};
    case StepId::MasrafYi: return {u"Yurtiçi Nakliyat Masraf Tanimları Belmo işlemi tamamlandı."_s};
    case StepId::MasrafYd: return {u"Uluslararası Nakliyat Masraf Tanimları Belmo işlemi tamamlandı."_s};
    case StepId::Karneler: return {u"Karne Tanımları Belmo İşlemi Tamamlandı."_s};
    default: throw std::logic_error("not a transport step");
    }
}

}  // namespace belmo::test
