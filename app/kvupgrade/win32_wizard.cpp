/*
** The Win32 wizard's creation and message loop.
*/
#include "win32_wizard.h"

namespace kv {

Win32Wizard::Win32Wizard(Installation& installation, RegisterLog& log, Registry& registry, const fb::Client& client,
                         const std::string& ownPath, RunLog& runLog, RunSafety safety, MigrationObserver* report)
    : wizard_(window_, installation, log, registry, client, ownPath, SystemClock(), RealFileSystem(), runLog, nullptr,
              std::move(safety), report, &window_.Session()) {
  window_.Attach(wizard_.Form());
  wizard_.Form().FormCreate();
}

int Win32Wizard::RunMessageLoop() {
  window_.ShowCentred();
  window_.RunUntilClosed();
  return wizard_.ExitStatus();
}

}  // namespace kv
