#pragma once

#include <QString>

namespace belmo::services {
struct Fragments;
}

// The statements of the stock panel: two views built in the source (SMZN + user code + 1
// and 2) in one of two pairs, and the loader over them. The query tests and the benchmark
// run the same text.
namespace belmo::transfers {

// Without lots. View 1: quantity on hand per card, unit and warehouse under main account
// 153, with the warehouse as "code name" (DP) and its code. View 2: average, highest and
// lowest purchase price per warehouse and card.
QString stockQuantityView();
QString stockPriceView();

// With lots. View 1: plain average purchase price per lot, card and warehouse. View 2:
// quantity on hand per card, lot, barcode, warehouse and unit of cards in groups under 153.
QString stockLotPriceView();
QString stockLotQuantityView();

// `views` is the views' name without the slot digit (SMZN + user code); positiveOnly is the
// "Bakiyesizleri Gizle" box.
//
// Without lots, fourteen columns: tick, code, name, group, description, quantity, unit,
// key, key, average, highest and lowest price, value, warehouse. Every live card is listed,
// once per unit and warehouse it has stock in, with that warehouse's prices.
QString stockLoader(const services::Fragments& f, const QString& views, bool positiveOnly);
// With lots, thirteen columns: tick, lot, code, name, group, description, quantity, unit,
// key, average price, value, warehouse, key.
QString stockLotLoader(const services::Fragments& f, const QString& views, bool positiveOnly);

}  // namespace belmo::transfers
