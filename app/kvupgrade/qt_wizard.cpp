/*
** The Qt wizard's creation and message loop.
*/
#include "qt_wizard.h"

#include <QEventLoop>

namespace kv {

QtWizard::QtWizard(Installation& installation, RegisterLog& log, Registry& registry, const fb::Client& client,
                   const std::string& ownPath, RunLog& runLog, RunSafety safety, MigrationObserver* report)
    : wizard_(window_, installation, log, registry, client, ownPath, SystemClock(), RealFileSystem(), runLog, nullptr,
              std::move(safety), report, session_.get()) {
  window_.Attach(wizard_.Form());
  wizard_.Form().FormCreate();
}

int QtWizard::RunMessageLoop() {
  QEventLoop loop;
  window_.onClosed = [&loop] { loop.quit(); };
  window_.ShowCentred();
  loop.exec();
  window_.onClosed = nullptr;
  return wizard_.ExitStatus();
}

}  // namespace kv
