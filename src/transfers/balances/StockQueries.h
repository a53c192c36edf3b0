#pragma once

#include <QString>

namespace belmo::db {
class Connection;
}

namespace belmo::services {
struct Fragments;
class ViewSet;
}

// The statements of the stock panel: views built in the source (SMZN + user code + slot),
// three without lots and two with them, and the loader over them. The query tests and the
// benchmark run the same text.
namespace belmo::transfers {

// Without lots. View 1: quantity on hand per card, unit and warehouse under main account
// 153, with the warehouse as "code name" (DP) and its code. View 2: average, highest and
// lowest purchase price per warehouse and card. View 3: the same prices per card over every
// warehouse, for stock in a warehouse the card was never bought into (moved there).
QString stockQuantityView();
QString stockPriceView();
QString stockCardPriceView();

// With lots. View 1: plain average purchase price per lot, card and warehouse. View 2:
// quantity on hand per card, lot, barcode, warehouse and unit of cards in groups under 153.
QString stockLotPriceView();
QString stockLotQuantityView();

// `views` is the views' name without the slot digit (SMZN + user code); positiveOnly is the
// "Bakiyesizleri Gizle" box.
//
// Without lots, fifteen columns: tick, code, name, group, description, quantity, unit,
// key, key, average, highest and lowest price, value, warehouse ("code name"), warehouse
// code. Every live card is listed, once per unit and warehouse it has stock in, with that
// warehouse's prices, or the card's prices over every warehouse where the warehouse has
// none of its own. Then the key, and the quantity, the average price and the value as
// numbers (Kart, HamMiktar, HamFiyat, HamTutar).
QString stockLoader(const services::Fragments& f, const QString& views, bool positiveOnly);
// With lots, fourteen columns: tick, lot, code, name, group, description, quantity, unit,
// key, average price, value, warehouse ("code name"), key, warehouse code; then the key, and
// the quantity, the average price and the value as numbers (Kart, HamMiktar, HamFiyat,
// HamTutar).
QString stockLotLoader(const services::Fragments& f, const QString& views, bool positiveOnly);

// Drops the views of `views` in the source and makes them again, the three without lots or
// the two with them.
void buildStockViews(db::Connection& source, const services::ViewSet& views, bool lots);

}  // namespace belmo::transfers
