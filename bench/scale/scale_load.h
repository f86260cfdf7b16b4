/*
** The large installation of the scale benchmark: how many rows each table
** gets, and the isql-fb scripts that load them into the level-0 demo
** databases, with the schema each data step finds when it runs (the columns
** that earlier steps of its pack add, the set_workshop of z_SP_10_1).
*/
#pragma once

#include <cstdint>
#include <string>

namespace kv::bench {

struct ScaleRows {
  std::int64_t paid;        // o_Paid, half of them with an empty payment kind
  std::int64_t razmer;      // p_Razmer rows of vid "A", each with its Product row
  std::int64_t stockMan;    // StockMan
  std::int64_t price;       // PRICE (distinct KodMaterial) and PRICEHISTORY
  std::int64_t stockColor;  // STOCK_COLOR, nine in ten without k_Factor
  std::int64_t tint;        // k_Price
  std::int64_t normHours;   // O_K
};

/* The row counts at a scale (1: a million o_Paid rows). */
ScaleRows RowsAtScale(double scale);

/* The loading scripts of the databases that hold the large tables. */
std::string OrdersLoad(const ScaleRows& rows);
std::string StockManLoad(const ScaleRows& rows);
std::string BaseLoad(const ScaleRows& rows);
std::string PriceLoad(const ScaleRows& rows);

}  // namespace kv::bench
