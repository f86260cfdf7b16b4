/*
** The schema toolkit: the guarded operations of TDM1 (declared in context.h,
** made in toolkit.cpp) and what each of them finds and completes when a crash
** cut an earlier run short.
**
** A crash between two commits of an operation leaves the first one's work;
** the operation's rerun finds it in the system tables and completes it. A
** crash (a kill, a power cut) inside the engine's own page writes of one
** commit is another matter: the engine writes part of a schema change in its
** system transaction, which no rollback undoes, before the mark that commits
** the user's transaction. These are the states that leaves, found by killing
** the engine before each of its page writes inside the commit of every kind of
** change the catalogue makes (tests/migration/crash_safety_test.cpp), with
** what the operation that made the change does about each:
**
**   CREATE TABLE   the relation's pages, and from the middle of the commit its
**                  first record format, stay behind under a relation number
**                  that no table holds. The next CREATE TABLE gets that number
**                  again and comes out listed without a record format: its
**                  columns are listed but no statement knows them ("Column
**                  unknown"). aaTableAdd checks every table it creates and
**                  every table it finds: one listed without a format is dropped
**                  and made again, which gives it a fresh number.
**   key set        CREATE GENERATOR, SET GENERATOR and CREATE TRIGGER commit
**                  together or not at all. A table that has its format but not
**                  its set (a crash between the two commits of aaTableAdd) gets
**                  it completed, the generator starting at the largest key; a
**                  set in place whose generator stands below the largest key
**                  (a generator listed without its value) is moved up to it, so
**                  that no key is given twice.
**   ADD, DROP,     a second record format of the same number stays behind
**   ALTER COLUMN   beside the one the rerun makes; the engine reads the table
**                  through either, and a backup and restore drops it. Nothing
**                  to repair: the rerun adds, drops or retypes the column as
**                  usual, and a column is never listed outside the format.
**   column rename  the rename itself commits whole. The key set that fills the
**                  renamed column cannot stay on while the column is renamed
**                  ("referenced in BI_T"), so aaColumnPereName never drops it:
**                  the trigger's body becomes a placeholder that names the
**                  rename, the column is renamed, and the body fills the new
**                  column. A rerun that finds the placeholder finishes the
**                  rename it names; the generator keeps its value throughout.
**   CREATE INDEX   the index is built before the commit mark: killed, it is
**                  not listed, and its half-built pages stay behind unused. An
**                  index listed but inactive is made active again (rebuilt) by
**                  aaIndexAdd.
**   DROP TABLE     the table's pages are freed before the commit mark: killed,
**                  the table stays listed over freed pages, and reading it
**                  stops the engine ("missing pointer page"). aaTableDelete
**                  never reads the table it drops; its rerun drops it.
**   SET GENERATOR  the value is written at once, before the commit mark.
**
** Every operation counts one step only when its change is in place and sound,
** repaired included; one that cannot complete it counts nothing, and the pack
** frame then writes no level over that database's work, so the next run
** repeats the visit.
*/
#pragma once

#include <string>

namespace kv {

/* The body of a key trigger while its table's column is renamed from oldName
** to newName (in upper case): the rename's only record of itself. */
std::string RenamePlaceholderBody(const std::string& oldName, const std::string& newName);

}  // namespace kv
