/*
** The version record: the one row of kv_Setting with Version, ServicePack and
** Build that every database keeps of its own level.
*/
#include "migration/context.h"

namespace kv {
namespace {

constexpr std::int32_t kGeneration = 700;

}  // namespace

/* Reads one column of the version record in the read transaction, which
** stays open for the next read; a failed read ends it with a commit. */
std::optional<std::int32_t> TDM1::ReadSettingColumn(const char* column) {
  try {
    return ReadInt({std::string("SELECT ") + column, "FROM kv_Setting"});
  } catch (const fb::Error&) {
    // A database without the record is not one of the installation's: no level.
    EndReadQuietly();
    return std::nullopt;
  }
}

std::int32_t TDM1::control_Version() {
  const OperationBoundary boundary(*this);
  if (!ConnectionAlive()) return -1;
  if (ReadSettingColumn("Version") != kGeneration) return -1;
  if (!bbColumnControl("kv_Setting", "ServicePack")) return 0;
  return ReadSettingColumn("ServicePack").value_or(-1);
}

bool TDM1::control_Build(std::int32_t version, std::int32_t servicePack, std::int32_t build) {
  const OperationBoundary boundary(*this);
  if (!ConnectionAlive()) return false;
  if (ReadSettingColumn("Version") != version) return false;
  if (!bbColumnControl("kv_Setting", "ServicePack")) return false;
  if (ReadSettingColumn("ServicePack") != servicePack) return false;
  if (!bbColumnControl("kv_Setting", "Build")) return false;
  return ReadSettingColumn("Build") == build;
}

void TDM1::aaWrite_ServicePack(std::int32_t n) {
  const OperationBoundary boundary(*this);
  if (WriteDiscipline({"UPDATE kv_Setting", "SET ServicePack = :p0, Build = :p1"}, {n, 0})) StepProgress(1);
}

void TDM1::aaWrite_Build(std::int32_t n) {
  const OperationBoundary boundary(*this);
  if (WriteDiscipline({"UPDATE kv_Setting", "SET Build = :p0"}, {n})) StepProgress(1);
}

bool TDM1::aaRead_ServicePack(const std::string& path, std::int32_t& version, std::int32_t& servicePack,
                              std::int32_t& build) {
  if (!OpenDataBase(path)) return false;
  try {
    fb::Statement st = Run(ReadTransaction(), {"SELECT Version, ServicePack, Build", "FROM kv_Setting"}, {});
    // Without a row every field reads as 0, as an empty result set's fields do.
    const bool row = st.Fetch();
    version = row ? st.AsInt32(0) : 0;
    servicePack = row ? st.AsInt32(1) : 0;
    build = row ? st.AsInt32(2) : 0;
    st.CloseCursor();
    CommitRead();
  } catch (const fb::Error& e) {
    RollbackRead();
    ReportFailure(e);
    CloseDataBase();
    return false;
  }
  CloseDataBase();
  return true;
}

}  // namespace kv
