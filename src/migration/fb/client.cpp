/*
** Loading the client library and interpreting its status vectors.
*/
#include "migration/fb/client.h"

#include <clocale>
#include <vector>

#include "migration/fb/api.h"
#include "migration/fb/error.h"

namespace kv::fb {

Client::Client(std::unique_ptr<DynamicLibrary> library, std::unique_ptr<ClientStats> stats, std::unique_ptr<Api> api)
    : library_(std::move(library)), stats_(std::move(stats)), api_(std::move(api)) {}

Client::~Client() {
  // The embedded engine runs threads of its own: they must end before the
  // library goes, or the process crashes on its way out.
  api_->fb_shutdown(5000, fb_shutrsn_app_stopped);
}

std::unique_ptr<Client> Client::Load() {
  std::string error;
#ifdef _WIN32
  auto library = LoadDynamicLibrary({"fbclient.dll", "gds32.dll"}, error);
#else
  // The engine turns file names into the process's character set for its
  // services; the program's texts are UTF-8, so that is what the process uses.
  if (!std::setlocale(LC_CTYPE, "C.UTF-8")) std::setlocale(LC_CTYPE, "");
  auto library = LoadDynamicLibrary({"libfbclient.so.2", "libfbclient.so"}, error);
#endif
  if (!library)
    throw ClientUnavailable("Не удаётся загрузить клиентскую библиотеку Firebird (" + error +
                            ").\rУстановите клиент Firebird на этот компьютер.");
  auto stats = std::make_unique<ClientStats>();
  auto api = std::make_unique<Api>();
#define KV_FB_RESOLVE(name, kind)                                                                    \
  api->name.fn = reinterpret_cast<decltype(api->name.fn)>(library->Symbol(#name));                   \
  if (!api->name.fn) throw ClientUnavailable("В клиентской библиотеке Firebird нет функции " #name); \
  api->name.totals = &(*stats)[ClientCall::kind];
  KV_FB_ENTRY_POINTS(KV_FB_RESOLVE)
#undef KV_FB_RESOLVE
  return std::unique_ptr<Client>(new Client(std::move(library), std::move(stats), std::move(api)));
}

std::string ErrorText(const Api& api, const ISC_STATUS* status) {
  std::string text;
  const ISC_STATUS* cursor = status;
  char buf[1024];
  while (api.fb_interpret(buf, sizeof buf, &cursor) > 0) {
    if (!text.empty()) text += "\n";
    text += buf;
  }
  return text.empty() ? "unknown Firebird error" : text;
}

namespace {

/* The error codes of a status vector, outermost first. */
std::vector<long> ErrorCodes(const ISC_STATUS* status) {
  std::vector<long> codes;
  // Each argument is its kind and one value, a counted string two.
  for (int i = 0; i + 1 < ISC_STATUS_LENGTH && status[i] != isc_arg_end; i += status[i] == isc_arg_cstring ? 3 : 2)
    if (status[i] == isc_arg_gds) codes.push_back(static_cast<long>(status[i + 1]));
  return codes;
}

}  // namespace

void Check(const Api& api, const ISC_STATUS* status) {
  if (Failed(status)) throw Error(ErrorText(api, status), api.isc_sqlcode(status), ErrorCodes(status));
}

void Detach(AttachmentHandle& attachment) {
  const Api& api = *attachment.traits().api;
  ApiHandle h = attachment.Release();
  api.Checked(api.isc_detach_database, &h);
}

// The clean-up call of each handle kind.
#define KV_FB_CLOSE(kind, ...) \
  template <>                  \
  void ClientHandleTraits<HandleKind::kind>::Close(ApiHandle h) const { api->Unchecked(__VA_ARGS__); }
KV_FB_CLOSE(Attachment, api->isc_detach_database, &h)
KV_FB_CLOSE(Transaction, api->isc_rollback_transaction, &h)
KV_FB_CLOSE(Statement, api->isc_dsql_free_statement, &h, DSQL_drop)
KV_FB_CLOSE(Service, api->isc_service_detach, &h)
KV_FB_CLOSE(Blob, api->isc_close_blob, &h)
#undef KV_FB_CLOSE

}  // namespace kv::fb
