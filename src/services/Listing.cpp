#include "services/Listing.h"

#include <algorithm>

namespace belmo::services {

void Listing::relist(const QString& part, const QString& chequeList)
{
    parts.insert(part);
    if (part == QLatin1String("cari")) accounts.clear();
    if (part == QLatin1String("stok")) stock.clear();
    if (part == QLatin1String("siparis")) orders.clear();
    if (part == QLatin1String("taksit")) instalments.clear();
    if (part == QLatin1String("cek"))
        std::erase_if(cheques, [&](const ListedCheque& c) { return c.list == chequeList; });
}

}  // namespace belmo::services
