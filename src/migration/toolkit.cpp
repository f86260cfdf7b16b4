/*
** The schema toolkit: guarded, repeatable schema changes. Each operation asks
** the system tables first and counts one progress step when its change was
** applied or was already in place, none when a statement failed. What each
** completes after a crash is listed in toolkit.h.
*/
#include "migration/toolkit.h"

#include <algorithm>

#include "migration/column_type.h"
#include "migration/context.h"
#include "migration/fb/error.h"
#include "platform/text_util.h"

namespace kv {
namespace {

const Lines kGeneratorCount = {"SELECT COUNT(*)", "FROM RDB$GENERATORS", "WHERE RDB$GENERATOR_NAME=:p0"};
const Lines kTriggerSource = {"SELECT RDB$TRIGGER_SOURCE FROM RDB$TRIGGERS", "WHERE RDB$TRIGGER_NAME=:p0"};

/* The key trigger's body that fills key, as the key generator set has it. */
Lines KeyTriggerBody(const std::string& table, const std::string& key) {
  return {"AS", "BEGIN", "IF (NEW." + key + " IS NULL) THEN NEW." + key + " = GEN_ID(GEN_" + table + ",1);", "END"};
}

Lines AlterTriggerBody(const std::string& table, Lines body) {
  body.insert(body.begin(), "ALTER TRIGGER BI_" + table);
  return body;
}

}  // namespace

std::string RenamePlaceholderBody(const std::string& oldName, const std::string& newName) {
  return "/* kvupgrade: key column renamed " + oldName + " to " + newName + " */";
}

/* An existence test: a count above 0, from the system tables, in the read
** transaction, which stays open for the next read. A failed read ends it with
** a commit (not a rollback), is reported and reads as absent. */
bool TDM1::ExistenceTest(const Lines& lines, const Params& params) {
  try {
    return SystemInt(ReadTransaction(), lines, params) > 0;
  } catch (const fb::Error& e) {
    EndReadQuietly();
    ReportFailure(e);
    return false;
  }
}

bool TDM1::bbColumnControl(const std::string& table, const std::string& column) {
  const OperationBoundary boundary(*this);
  return ExistenceTest({"SELECT Count(*)", "FROM RDB$RELATION_FIELDS", "WHERE RDB$RELATION_NAME=:p0 AND RDB$FIELD_NAME=:p1"},
                       {AsciiUpper(table), AsciiUpper(column)});
}

bool TDM1::bbTableControl(const std::string& table) {
  const OperationBoundary boundary(*this);
  return ExistenceTest({"SELECT COUNT(*)", "FROM RDB$RELATIONS", "WHERE (RDB$RELATION_NAME = :p0)"}, {AsciiUpper(table)});
}

/* Drops the trigger and the generator of a table's key in the current write
** transaction; either may be missing already, which is no error. */
void TDM1::DropKeyGeneratorSet(const std::string& table) {
  try {
    ExecuteWrite({"DROP TRIGGER BI_" + table});
  } catch (const fb::Error&) {
  }
  try {
    ExecuteWrite({"DROP GENERATOR GEN_" + table});
  } catch (const fb::Error&) {
  }
}

/* The key generator, its start value and the before-insert trigger that fills
** the key, in the current write transaction (not committed here). */
void TDM1::CreateKeyGeneratorSet(const std::string& table, const std::string& key, std::int32_t start) {
  ExecuteWrite({"CREATE GENERATOR GEN_" + table});
  ExecuteWrite({"SET GENERATOR GEN_" + table + " TO " + std::to_string(start)});
  Lines trigger = {"CREATE TRIGGER BI_" + table + " FOR " + table, "ACTIVE BEFORE INSERT POSITION 0"};
  for (std::string& line : KeyTriggerBody(table, key)) trigger.push_back(std::move(line));
  ExecuteWrite(trigger);
}

bool TDM1::TableWithoutFormat(const std::string& table) {
  const OperationBoundary boundary(*this);
  return ExistenceTest({"SELECT COUNT(*)", "FROM RDB$RELATIONS",
                        "WHERE RDB$RELATION_NAME = :p0 AND RDB$FORMAT IS NULL AND RDB$VIEW_BLR IS NULL"},
                       {AsciiUpper(table)});
}

bool TDM1::KeyGeneratorSetInPlace(const std::string& table) {
  const OperationBoundary boundary(*this);
  return ExistenceTest(kGeneratorCount, {"GEN_" + table}) &&
         ExistenceTest({"SELECT COUNT(*)", "FROM RDB$TRIGGERS", "WHERE RDB$TRIGGER_NAME = :p0"}, {"BI_" + table});
}

/* Creates table t; one that comes out listed without a record format (the
** engine gave it a relation number that a creation killed inside its commit
** left pages or a format for) is dropped and made once more, which gives it a
** fresh number. False, reported, when no sound table could be made. */
bool TDM1::CreateTable(const std::string& t, const std::string& definitions) {
  for (int attempt = 1;; ++attempt) {
    if (!WriteDiscipline({"CREATE TABLE " + t + " (" + AsciiUpper(definitions) + ")"})) return false;
    if (!TableWithoutFormat(t)) return true;
    if (attempt == 2) {
      NoteFailure(fb::Error("table " + t + " was created twice without a record format", 0));
      return false;
    }
    if (!DropTableAndKeySet(t)) return false;
  }
}

/* Drops table t with whatever part of its key set is there, in two commits. */
bool TDM1::DropTableAndKeySet(const std::string& t) {
  return WriteDiscipline([&] { DropKeyGeneratorSet(t); }) && WriteDiscipline({"DROP TABLE " + t});
}

/* The key set of an existing table t with its key column k: completed when a
** crash left the table without it, moved up to the largest key when its
** generator stands below it. False, reported, when that failed. */
bool TDM1::CompleteKeyGeneratorSet(const std::string& t, const std::string& k, std::int32_t start) {
  if (!KeyGeneratorSetInPlace(t))
    return WriteDiscipline([&] {
      const std::int32_t largest = ReadIntInWrite({"SELECT COALESCE(MAX(" + k + "), 0)", "FROM " + t});
      DropKeyGeneratorSet(t);  // whichever half is there
      CreateKeyGeneratorSet(t, k, std::max(start, largest));
    });
  return WriteDiscipline([&] {
    const std::int32_t largest = ReadIntInWrite({"SELECT COALESCE(MAX(" + k + "), 0)", "FROM " + t});
    if (ReadIntInWrite({"SELECT GEN_ID(GEN_" + t + ", 0) FROM RDB$DATABASE"}) < largest)
      ExecuteWrite({"SET GENERATOR GEN_" + t + " TO " + std::to_string(largest)});
  });
}

void TDM1::aaTableAdd(const std::string& table, const std::string& definitions, const std::string& key,
                      std::int32_t start) {
  const OperationBoundary boundary(*this);
  const std::string t = AsciiUpper(table);
  if (bbTableControl(table)) {
    if (!TableWithoutFormat(t)) {
      // A run cut short between the table's commit and its key set's leaves
      // the table without the set.
      if (!key.empty() && bbColumnControl(table, key) && !CompleteKeyGeneratorSet(t, AsciiUpper(key), start))
        return;
      StepProgress(1);
      return;
    }
    // Listed without a record format: it holds no row and cannot be read. A
    // second CREATE is refused while it is listed, so it is dropped first.
    if (!DropTableAndKeySet(t)) return;
  }
  if (!CreateTable(t, definitions)) return;
  if (!key.empty()) {
    // When the set fails, the table stays.
    if (!WriteDiscipline([&] { CreateKeyGeneratorSet(t, AsciiUpper(key), start); })) return;
  }
  StepProgress(1);
}

void TDM1::aaTableGeneratorAdd(const std::string& table, const std::string& key, std::int32_t start) {
  const OperationBoundary boundary(*this);
  if (!bbTableControl(table) || TrimBlanks(key).empty()) {
    StepProgress(1);
    return;
  }
  const std::string t = AsciiUpper(table);
  const std::string k = AsciiUpper(key);
  try {
    if (SystemInt(WriteTransaction(), kGeneratorCount, {"GEN_" + t}) > 0) {
      std::string source = SystemText(WriteTransaction(),
                                      {"SELECT RDB$TRIGGER_SOURCE", "FROM RDB$TRIGGERS", "WHERE RDB$TRIGGER_NAME=:p0"},
                                      {"BI_" + t});
      if (AsciiUpper(source).find(k) != std::string::npos) {
        // In place; the write transaction stays open for the next operation to end.
        writeLeftOpen_ = true;
        StepProgress(1);
        return;
      }
    }
    CreateKeyGeneratorSet(t, k, start);
    CommitWrite();
    StepProgress(1);
  } catch (const fb::Error& e) {
    RollbackWrite();
    ReportFailure(e);
  }
}

void TDM1::aaTableDelete(const std::string& table) {
  const OperationBoundary boundary(*this);
  if (!bbTableControl(table)) {
    StepProgress(1);
    return;
  }
  const std::string t = AsciiUpper(table);
  bool setDropped = false;
  const bool committed = WriteDiscipline([&] {
    if (SystemInt(WriteTransaction(), kGeneratorCount, {"GEN_" + t}) > 0) {
      DropKeyGeneratorSet(t);
      setDropped = true;
    } else {
      // Without a generator set the look-up changed nothing, so the table
      // goes in its transaction: the one change gets the one commit.
      ExecuteWrite({"DROP TABLE " + t});
    }
  });
  if (!committed || (setDropped && !WriteDiscipline({"DROP TABLE " + t}))) return;
  StepProgress(1);
}

void TDM1::ccTableRowNULL(const std::string& table) {
  const OperationBoundary boundary(*this);
  WriteDiscipline({"DELETE", "FROM " + table});
  StepProgress(1);
}

void TDM1::aaColumnAdd(const std::string& table, const std::string& column, const std::string& typeCode,
                       std::int32_t position) {
  const OperationBoundary boundary(*this);
  if (bbColumnControl(table, column)) {
    StepProgress(1);
    return;
  }
  const Lines add = {"ALTER TABLE " + table, "ADD " + column + " " + ColumnTypeSql(typeCode)};
  if (position >= 1) {
    // Added and placed in one commit where the engine accepts both together, so
    // that a run cut short between them never leaves the column at the end: a
    // rerun sees the column and would not place it again.
    try {
      ExecuteWrite(add);
      ExecuteWrite({"ALTER TABLE " + table, "ALTER COLUMN " + column, "POSITION " + std::to_string(position)});
      CommitWrite();
      StepProgress(1);
      return;
    } catch (const fb::Error&) {
      RollbackWrite();  // and the two commits below, as always; their failure is reported
    }
  }
  if (!WriteDiscipline(add)) return;
  if (position >= 1) bbColumnPereNumber(table, column, position);
  StepProgress(1);
}

void TDM1::aaColumnDelete(const std::string& table, const std::string& column) {
  const OperationBoundary boundary(*this);
  if (!bbColumnControl(table, column)) {
    StepProgress(1);
    return;
  }
  if (WriteDiscipline({"ALTER TABLE " + table, "DROP " + column})) StepProgress(1);
}

void TDM1::aaColumnPereType(const std::string& table, const std::string& column, const std::string& typeCode) {
  const OperationBoundary boundary(*this);
  if (!bbColumnControl(table, column)) {
    StepProgress(1);
    return;
  }
  if (WriteDiscipline({"ALTER TABLE " + table, "ALTER COLUMN " + column + " TYPE " + ColumnTypeSql(typeCode)}))
    StepProgress(1);
}

void TDM1::bbColumnPereNumber(const std::string& table, const std::string& column, std::int32_t position) {
  const OperationBoundary boundary(*this);
  if (!bbColumnControl(table, column)) return;
  WriteDiscipline({"ALTER TABLE " + table, "ALTER COLUMN " + column, "POSITION " + std::to_string(position)});
}

void TDM1::aaColumnPereName(const std::string& table, const std::string& oldName, const std::string& newName) {
  const OperationBoundary boundary(*this);
  const std::string t = AsciiUpper(table);
  const std::string placeholder = RenamePlaceholderBody(AsciiUpper(oldName), AsciiUpper(newName));
  const Lines placeholderBody = {"AS", "BEGIN", placeholder, "END"};
  // The key trigger's body when it is this rename's placeholder: the rename
  // was cut short after the trigger let go of the old column.
  auto placeholderInPlace = [&] {
    try {
      return SystemText(ReadTransaction(), kTriggerSource, {"BI_" + t}).find(placeholder) != std::string::npos;
    } catch (const fb::Error& e) {
      EndReadQuietly();
      ReportFailure(e);
      return false;
    }
  };
  if (!bbColumnControl(table, oldName)) {
    // Taken as done; a rename cut short after the column got its new name
    // gets the key trigger back on the new column.
    if (bbColumnControl(table, newName) && placeholderInPlace() &&
        !WriteDiscipline(AlterTriggerBody(t, KeyTriggerBody(t, newName))))
      return;
    StepProgress(1);
    return;
  }
  // Does the key generator set fill the old column? The engine refuses to
  // rename a column its trigger uses, so the trigger's body lets go of it for
  // the rename (a placeholder that names the rename) and takes the new column
  // after; the generator and its value are never touched, so that a crash
  // between the steps cannot lose the table's key numbering.
  bool serves = false;
  if (!WriteDiscipline([&] {
        if (SystemInt(WriteTransaction(), kGeneratorCount, {"GEN_" + t}) < 1) return;
        const std::string source = AsciiUpper(SystemText(WriteTransaction(), kTriggerSource, {"BI_" + t}));
        serves = source.find(AsciiUpper(oldName)) != std::string::npos;
        if (serves && source.find(AsciiUpper(placeholder)) == std::string::npos)
          ExecuteWrite(AlterTriggerBody(t, placeholderBody));
      }))
    return;

  if (!WriteDiscipline({"ALTER TABLE " + table, "ALTER COLUMN " + oldName + " TO " + newName})) {
    // The column keeps its old name: so does the trigger.
    if (serves) WriteDiscipline(AlterTriggerBody(t, KeyTriggerBody(t, oldName)));
    return;
  }
  if (!serves) {
    StepProgress(1);
    return;
  }
  if (WriteDiscipline(AlterTriggerBody(t, KeyTriggerBody(t, newName)))) StepProgress(1);
}

void TDM1::aaIndexAdd(const std::string& table, const std::string& column, const std::string& kind) {
  const OperationBoundary boundary(*this);
  const std::string name = AsciiUpper(table) + "_" + AsciiUpper(column);
  try {
    if (SystemInt(ReadTransaction(), {"SELECT Count (*)", "FROM RDB$INDICES", "WHERE RDB$INDEX_NAME = :p0"}, {name}) >=
        1) {
      // Listed but inactive: the engine keeps its definition and no entries.
      if (SystemInt(ReadTransaction(),
                    {"SELECT COALESCE(RDB$INDEX_INACTIVE, 0)", "FROM RDB$INDICES", "WHERE RDB$INDEX_NAME = :p0"},
                    {name}) != 0)
        WriteDiscipline({"ALTER INDEX " + name + " ACTIVE"});
      return;
    }
  } catch (const fb::Error& e) {
    EndReadQuietly();
    ReportFailure(e);
    return;
  }
  WriteDiscipline({"CREATE " + kind + " INDEX " + name, "ON " + AsciiUpper(table), "(" + AsciiUpper(column) + ")"});
}

}  // namespace kv
