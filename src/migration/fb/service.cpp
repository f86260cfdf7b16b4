/*
** Service manager attachment and the server version query.
*/
#include "migration/fb/service.h"

#include <chrono>
#include <thread>

#include <cstdint>
#include <exception>

#include "migration/fb/api.h"
#include "migration/fb/error.h"

namespace kv::fb {

ServiceManager::ServiceManager(const Client& client, const std::vector<std::string>& params)
    : client_(client), handle_({&client.api()}) {
  std::string spb{static_cast<char>(isc_spb_version), static_cast<char>(isc_spb_current_version)};
  for (const std::string& line : params) {
    auto eq = line.find('=');
    std::string name = line.substr(0, eq);
    std::string value = eq == std::string::npos ? "" : line.substr(eq + 1);
    char tag = name == "user_name" ? isc_spb_user_name : name == "password" ? isc_spb_password : 0;
    if (!tag) throw Error("unknown service parameter \"" + name + "\"", 0);
    if (value.size() > 255) throw Error("service parameter too long", 0);
    spb += tag;
    spb += static_cast<char>(value.size());
    spb += value;
  }
  // File names in the requests are UTF-8, as every text of the program.
  spb += static_cast<char>(isc_spb_utf8_filename);
  spb += static_cast<char>(0);
  static const char kService[] = "service_mgr";
  const Api& api = client.api();
  api.Checked(api.isc_service_attach, 0, kService, handle_.Put(), static_cast<unsigned short>(spb.size()),
              spb.data());
}

std::string ServiceManager::ServerVersion() {
  const char request[] = {isc_info_svc_server_version};
  char result[1024] = {};
  const Api& api = client_.api();
  api.Checked(api.isc_service_query, handle_.Addr(), nullptr, 0, nullptr, sizeof request, request, sizeof result,
              result);
  if (result[0] != isc_info_svc_server_version) throw Error("the server did not report its version", 0);
  auto length = static_cast<size_t>(api.isc_vax_integer(result + 1, 2));
  if (length > sizeof result - 3) throw Error("malformed server version reply", 0);
  return std::string(result + 3, length);
}

namespace {

void AddString(std::string& spb, char tag, const std::string& value) {
  if (value.size() > 65535) throw Error("service parameter too long", 0);
  spb += tag;
  spb += static_cast<char>(value.size() & 0xFF);
  spb += static_cast<char>((value.size() >> 8) & 0xFF);
  spb += value;
}

void AddNumber(std::string& spb, char tag, std::uint32_t value) {
  spb += tag;
  for (int i = 0; i < 4; ++i) spb += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

bool IsServiceFailureLine(std::string_view line) {
  for (std::string_view mark : {"ERROR:", "Done with volume", "Press return to reopen"})
    if (line.find(mark) != std::string_view::npos) return true;
  return false;
}

void ServiceManager::Backup(const std::string& database, const std::string& file, const LineSink& lines) {
  std::string spb(1, static_cast<char>(isc_action_svc_backup));
  AddString(spb, isc_spb_dbname, database);
  AddString(spb, isc_spb_bkp_file, file);
  spb += static_cast<char>(isc_spb_verbose);
  RunAction(spb, "backup of " + database, "closing file, committing, and finishing", lines);
}

void ServiceManager::Restore(const std::string& file, const std::string& database, bool replace,
                             const LineSink& lines) {
  std::string spb(1, static_cast<char>(isc_action_svc_restore));
  AddString(spb, isc_spb_bkp_file, file);
  AddString(spb, isc_spb_dbname, database);
  AddNumber(spb, isc_spb_options, replace ? isc_spb_res_replace : isc_spb_res_create);
  spb += static_cast<char>(isc_spb_verbose);
  RunAction(spb, "restore of " + database, "finishing, closing, and going home", lines);
}

void ServiceManager::RunAction(const std::string& action, const std::string& what, std::string_view finished,
                               const LineSink& lines) {
  // File names in the requests are UTF-8, as every text of the program.
  const std::string& spb = action;
  const Api& api = client_.api();
  api.Checked(api.isc_service_start, handle_.Addr(), nullptr, static_cast<unsigned short>(spb.size()), spb.data());
  // The verbose output is read line by line until the service has none left;
  // a failure of the action comes back as the status of a query.
  std::vector<std::string> tail, failures;
  bool ended = false;
  auto joined = [](const std::vector<std::string>& text) {
    std::string out;
    for (const std::string& line : text) out += "\n" + line;
    return out;
  };
  const char request[] = {isc_info_svc_line};
  for (;;) {
    char result[4096] = {};
    try {
      api.Checked(api.isc_service_query, handle_.Addr(), nullptr, 0, nullptr, sizeof request, request,
                  sizeof result, result);
    } catch (const Error& e) {
      throw Error("the " + what + " failed: " + e.what() + joined(failures.empty() ? tail : failures), e.SqlCode(),
                  e.Codes());
    }
    if (result[0] != isc_info_svc_line) throw Error("the " + what + ": malformed reply of the service", 0);
    const auto length = static_cast<std::size_t>(api.isc_vax_integer(result + 1, 2));
    if (length > sizeof result - 4) throw Error("the " + what + ": malformed reply of the service", 0);
    if (length == 0 && result[3] == isc_info_end) break;
    std::string line(result + 3, length);
    if (IsServiceFailureLine(line) && failures.size() < 10) failures.push_back(line);
    ended = ended || line.find(finished) != std::string::npos;
    if (lines) {
      // Reading on is what lets the service end; a listener's fault must not stop it.
      try {
        lines(line);
      } catch (const std::exception&) {
      }
    }
    tail.push_back(std::move(line));
    if (tail.size() > 5) tail.erase(tail.begin());
  }
  WaitUntilStopped();
  // The service reports success for some failures: it may write them out, or
  // (the embedded engine) prompt on the process's own console for another
  // volume and simply stop. Either way its closing line is missing.
  if (!failures.empty()) throw Error("the " + what + " failed:" + joined(failures), 0);
  if (!ended) throw Error("the " + what + " stopped before its end; its last lines:" + joined(tail), 0);
}

void ServiceManager::WaitUntilStopped() {
  // The output ends before the engine's service thread does; a process that
  // shuts the engine down while that thread still runs crashes. So the
  // service is asked until it says it no longer runs (for at most ten seconds).
  const Api& api = client_.api();
  const char request[] = {isc_info_svc_running};
  for (int i = 0; i < 500; ++i) {
    char result[64] = {};
    if (!api.Unchecked(api.isc_service_query, handle_.Addr(), nullptr, 0, nullptr, sizeof request, request,
                       sizeof result, result) ||
        result[0] != isc_info_svc_running)
      return;
    if (api.isc_vax_integer(result + 1, 4) == 0) return;  // the item and a 4-byte flag
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace kv::fb
