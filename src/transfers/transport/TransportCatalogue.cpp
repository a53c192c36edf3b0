#include "transfers/transport/TransportCatalogue.h"

#include "transfers/transport/AracTanimlari.h"
#include "transfers/transport/Guzergahlar.h"
#include "transfers/transport/KarneTanimlari.h"
#include "transfers/transport/MasrafTanimlari.h"
#include "transfers/transport/SoforTanimlari.h"
#include "transfers/transport/YerTanimlari.h"

#include <algorithm>

namespace belmo::transfers {

using namespace Qt::Literals::StringLiterals;
using console::StepId;

namespace {
template <typename S>
std::unique_ptr<console::Step> make(console::StepHost& host, StepId id, Side side)
{
    return std::make_unique<S>(host, id, side);
}
}  // namespace

QString heading(Side side) { return side == Side::Yurtici ? u"Yurtiçi Nakliyat"_s : u"Uluslararası Nakliyat"_s; }

const QList<TransportItem>& transportItems()
{
    constexpr Side yi = Side::Yurtici, yd = Side::Uluslararasi;
    static const QList<TransportItem> items = {
        {StepId::SoforYi, yi, u"Şoför Tanımları"_s, u"soforyi"_s, make<SoforTanimlari>},
        {StepId::AracYi, yi, u"Araç Tanımları"_s, u"aracyi"_s, make<AracTanimlari>, StepId::SoforYi},
        {StepId::Sehirler, yi, u"Şehir Tanımları"_s, u"sehir"_s, make<YerTanimlari>},
        {StepId::GuzergahYi, yi, u"Yurtiçi Güzergahlar"_s, u"guzergahyi"_s, make<Guzergahlar>},
        {StepId::MasrafYi, yi, u"Masraf Tanımları"_s, u"masrafyi"_s, make<MasrafTanimlari>},
        {StepId::SoforYd, yd, u"Şoför Tanımları"_s, u"soforyd"_s, make<SoforTanimlari>},
        {StepId::AracYd, yd, u"Araç Tanımları"_s, u"aracyd"_s, make<AracTanimlari>, StepId::SoforYd},
        {StepId::Ulkeler, yd, u"Ülke Tanımları"_s, u"ulke"_s, make<YerTanimlari>},
        {StepId::GuzergahYd, yd, u"Uluslararası Güzergahlar"_s, u"guzergahyd"_s, make<Guzergahlar>},
        {StepId::MasrafYd, yd, u"Masraf Tanımları"_s, u"masrafyd"_s, make<MasrafTanimlari>},
        {StepId::Karneler, yd, u"Karne Tanımları"_s, u"karne"_s, make<KarneTanimlari>},
    };
    return items;
}

const TransportItem& transportItem(StepId id)
{
    for (const TransportItem& item : transportItems())
        if (item.id == id) return item;
    Q_UNREACHABLE();
}

bool isTransportStep(StepId id)
{
    return std::any_of(transportItems().begin(), transportItems().end(), [id](const TransportItem& i) { return i.id == id; });
}

const TransportItem* findTransportStep(const QString& key)
{
    for (const TransportItem& item : transportItems())
        if (item.key.compare(key, Qt::CaseInsensitive) == 0) return &item;
    return nullptr;
}

}  // namespace belmo::transfers
