/*
** The data steps of the catalogue.
*/
#include "migration/packs/data_steps.h"

#include <limits>

#include "migration/context.h"
#include "migration/fb/error.h"

namespace kv::packs {
namespace {

/* The message some data steps show for every installation: "Error", a line
** break, the failing statement's text. */
void ShowError(TDM1& dm, const fb::Error& e) {
  dm.NoteFailure(e);
  dm.dialog().ShowMessage("Error\r" + dm.CurrentStatementText());
}

/* Is the table empty? Asked before k_Price may go. */
bool TableEmpty(TDM1& dm, const std::string& table) {
  try {
    std::int32_t rows = dm.ReadInt({"SELECT COUNT(*)", "FROM (SELECT FIRST 1 1 AS X FROM " + table + ")"});
    dm.CommitRead();
    return rows == 0;
  } catch (const fb::Error& e) {
    dm.RollbackRead();
    dm.NoteFailure(e);
    return false;
  }
}

/* Copies every row of k_Price into k_Tonirovka; the transaction is committed
** whether or not the copy succeeded. True when the rows were committed. */
bool CopyTintRows(TDM1& dm) {
  bool copied = true;
  try {
    dm.ExecuteWrite({"INSERT", "INTO k_Tonirovka", "SELECT *", "FROM k_Price"});
  } catch (const fb::Error& e) {
    dm.NoteFailure(e);
    copied = false;
  }
  try {
    dm.CommitWrite();
  } catch (const fb::Error& e) {
    dm.NoteFailure(e);
    dm.RollbackWrite();
    copied = false;
  }
  return copied;
}

}  // namespace

Outcome ConvertOtkos(TDM1& dm) {
  struct Row {
    std::int32_t nom, product, razmer;
  };
  std::vector<Row> rows;
  try {
    fb::Transaction& tr = dm.ReadTransaction();
    std::int32_t count = 0;
    {
      fb::Statement st = dm.Prepare(tr, {"SELECT COUNT(*)", "FROM p_Razmer", "WHERE vid=:p0"});
      st.SetText(0, "A");
      st.Execute(tr);
      if (st.Fetch()) count = st.AsInt32(0);
    }
    if (count > 0) {
      fb::Statement st = dm.Prepare(tr, {"SELECT NOM,NumberProduct,Razmer", "FROM p_Razmer", "WHERE vid=:p0"});
      st.SetText(0, "A");
      st.Execute(tr);
      rows.reserve(static_cast<size_t>(count));
      while (st.Fetch()) rows.push_back({st.AsInt32(0), st.AsInt32(1), st.AsInt32(2)});
    }
    dm.CommitRead();
  } catch (const fb::Error& e) {
    dm.RollbackRead();
    ShowError(dm, e);
    return Outcome::Continue;
  }
  try {
    fb::Transaction& tr = dm.WriteTransaction();
    {
      // Prepared once, executed for every row.
      fb::Statement st = dm.Prepare(tr, {"UPDATE Product", "SET pOtkos=:p0", "WHERE NOM=:p1 and NumberProduct=:p2"});
      for (const Row& r : rows) {
        const std::int64_t otkos = std::int64_t{r.razmer} * 100;
        if (otkos > std::numeric_limits<std::int32_t>::max() || otkos < std::numeric_limits<std::int32_t>::min())
          throw fb::Error("Razmer " + std::to_string(r.razmer) + " is too large", 0);
        st.SetInt(0, static_cast<std::int32_t>(otkos));
        st.SetInt(1, r.nom);
        st.SetInt(2, r.product);
        st.Execute(tr);
      }
    }
    fb::Statement del = dm.Prepare(tr, {"DELETE", "FROM p_Razmer", "WHERE vid=:p0"});
    del.SetText(0, "A");
    del.Execute(tr);
    // All updates and the delete become visible together.
    dm.CommitWrite();
  } catch (const fb::Error& e) {
    dm.RollbackWrite();
    ShowError(dm, e);
  }
  return Outcome::Continue;
}

Outcome FillPaymentKind(TDM1& dm) {
  dm.WriteDiscipline({"UPDATE o_Paid", "SET VidPaid='C'", "WHERE VidPaid=''"});
  dm.StepProgress(1);
  return Outcome::Continue;
}

Outcome SetConfigLevel(TDM1& dm) {
  return dm.WriteDiscipline({"UPDATE set_Config", "SET aLevel=:p0"}, {1}) ? Outcome::Continue : Outcome::EndDatabase;
}

Outcome MoveTintTable(TDM1& dm) {
  if (!dm.bbTableControl("k_Tonirovka")) {
    dm.aaTableAdd("k_Tonirovka",
                  "Nom INT, NumberProduct SmallInt, NumberElement SmallInt, KodCapital SmallInt, "
                  "CostCapital NUMERIC(8,2)",
                  "", 0);
    if (!dm.bbTableControl("k_Price")) {
      dm.StepProgress(2);
      return Outcome::Continue;
    }
    // A failed copy is silent; the rest of this database's work is left out.
    if (!CopyTintRows(dm)) return Outcome::EndDatabase;
    dm.StepProgress(1);
    dm.aaTableDelete("k_Price");
    return Outcome::Continue;
  }
  dm.StepProgress(2);
  if (!dm.bbTableControl("k_Price")) {
    dm.StepProgress(1);
    return Outcome::Continue;
  }
  // k_Tonirovka is there from an earlier run. If that run's copy did not land,
  // the rows are still only in k_Price: copy them before the table goes, and
  // keep it when the copy fails again, rather than lose the tint prices.
  if (TableEmpty(dm, "k_Tonirovka") && !TableEmpty(dm, "k_Price") && !CopyTintRows(dm))
    return Outcome::EndDatabase;
  dm.aaTableDelete("k_Price");
  return Outcome::Continue;
}

Outcome ConvertQuantity(TDM1& dm) {
  dm.aaColumnAdd("StockMan", "Kolvo", "g", 4);
  if (dm.bbColumnControl("StockMan", "Quantity")) {
    try {
      fb::Transaction& tr = dm.WriteTransaction();
      fb::Statement st = dm.Prepare(tr, {"UPDATE StockMan", "SET Kolvo = Quantity * 10000"});
      st.Execute(tr);
      dm.CommitWrite();
    } catch (const fb::Error& e) {
      // Quantity and its values stay; the next run tries again.
      dm.RollbackWrite();
      ShowError(dm, e);
      return Outcome::EndPack;
    }
  }
  dm.StepProgress(1);
  dm.aaColumnDelete("StockMan", "Quantity");
  return Outcome::Continue;
}

namespace {

constexpr const char* kWorkshopColumns = "NumberMain INT, type_work VARCHAR(2), kolvo INT";

/* The nine fixed rows of set_workshop in one commit; counts 1 when committed.
** A failed insert still commits the rows inserted before it. */
void FillWorkshopRows(TDM1& dm) {
  static constexpr std::pair<const char*, std::int32_t> kRows[] = {
      {"A", 3}, {"B", 2}, {"C", 2}, {"D", 2}, {"E", 2}, {"F", 11}, {"G", 2}, {"Z1", 1000}, {"Z2", 1050},
  };
  bool inserted = true;
  try {
    fb::Transaction& tr = dm.WriteTransaction();
    fb::Statement st = dm.Prepare(tr, {"INSERT", "INTO set_workshop (type_work, kolvo)", "VALUES (:p0, :p1)"});
    for (auto [type, kolvo] : kRows) {
      st.SetText(0, type);
      st.SetInt(1, kolvo);
      st.Execute(tr);
    }
  } catch (const fb::Error& e) {
    dm.NoteFailure(e);
    inserted = false;  // the rows inserted before stay
  }
  try {
    dm.CommitWrite();
  } catch (const fb::Error& e) {
    dm.NoteFailure(e);
    dm.RollbackWrite();
    inserted = false;
  }
  if (inserted) dm.StepProgress(1);
}

}  // namespace

Outcome RebuildWorkshopTable(TDM1& dm) {
  if (dm.bbColumnControl("set_workshop", "type_work")) {
    // Made again already. A run cut short after that left it without its key
    // set or without its rows: the add completes the set, and an empty table
    // gets its rows. A table that holds rows is never filled again.
    dm.StepProgress(1);
    dm.aaTableAdd("set_workshop", kWorkshopColumns, "NumberMain", 0);
    if (TableEmpty(dm, "set_workshop"))
      FillWorkshopRows(dm);
    else
      dm.StepProgress(1);
    return Outcome::Continue;
  }
  dm.aaTableDelete("set_workshop");
  dm.aaTableAdd("set_workshop", kWorkshopColumns, "NumberMain", 0);
  FillWorkshopRows(dm);
  return Outcome::Continue;
}

Outcome FillColorFactor(TDM1& dm) {
  dm.WriteDiscipline({"UPDATE STOCK_COLOR", "SET k_Factor = 1000", "WHERE k_Factor IS NULL"});
  return Outcome::Continue;
}

Outcome ScaleNormHours(TDM1& dm) {
  if (dm.installation().params.number != 8) return Outcome::Continue;
  // The pack runs again on every later run at level 12, and hours of 1 to 9
  // are still below 1000 once scaled: a mark in the version record, committed
  // with the update, makes the correction happen exactly once.
  if (dm.bbColumnControl("kv_Setting", kNormHourMark)) return Outcome::Continue;
  try {
    fb::Transaction& tr = dm.WriteTransaction();
    dm.Prepare(tr, {"UPDATE O_K", "SET NORMHOUR = NORMHOUR * 100", "WHERE (NORMHOUR > 0) and (NORMHOUR < 1000)"})
        .Execute(tr);
    dm.Prepare(tr, {"ALTER TABLE kv_Setting", std::string("ADD ") + kNormHourMark + " SMALLINT"}).Execute(tr);
    dm.CommitWrite();
  } catch (const fb::Error& e) {
    dm.RollbackWrite();
    ShowError(dm, e);
  }
  return Outcome::Continue;
}

}  // namespace kv::packs
