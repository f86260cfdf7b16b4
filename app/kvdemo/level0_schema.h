/*
** Level-0 schema and sample rows of the demo installation's databases: what a
** 7.00 installation holds before its first service pack. Every table and column
** that a later pack alters, retypes, renames, reads or drops is here; nothing
** that a pack creates or adds is, so every pack really applies its change.
*/
#pragma once

#include <span>
#include <string_view>

namespace kv::demo {

enum class DemoDatabase {
  Base,
  Config,
  Optima,
  System,
  Orders,
  ServerOrders,  // same schema and rows as Orders
  Director,
  Price,
  StockMan,
  OrdersTemp,  // the three temporary Orders files: only the version record
};

/* Statements that build the level-0 schema and sample rows of one database, in
** order. Each is one SQL dialect 3 statement without a terminator; execute and
** commit each on its own (DDL must be committed before DML uses it), as the
** database's owner, on a database created with DEFAULT CHARACTER SET WIN1251.
** Texts are UTF-8 (some rows hold Cyrillic): attach with lc_ctype UTF8.
** Trigger bodies contain PSQL semicolons; they are part of one statement.
** The span refers to static data and stays valid for the program's life. */
std::span<const std::string_view> Level0Statements(DemoDatabase db);

}  // namespace kv::demo
