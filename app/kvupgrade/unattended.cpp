/*
** The unattended mode.
*/
#include "unattended.h"

#include <set>

#include "console_window.h"
#include "wizard_assembly.h"
#include "migration/fb/client.h"
#include "migration/fb/error.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/own_executable.h"
#include "platform/process.h"
#include "program_start.h"
#include "wizard/install_run.h"
#include "wizard/wizard_form.h"

namespace kv::console {
namespace {

class NoScreen final : public Screen {
 public:
  std::optional<ScreenSize> Size() override { return std::nullopt; }
};

/* The real time without the pauses. */
class WithoutPauses final : public Clock {
 public:
  explicit WithoutPauses(Clock& real) : real_(real) {}
  LocalDateTime Now() override { return real_.Now(); }
  void SleepMs(int) override {}

 private:
  Clock& real_;
};

/* Starting the relaunched copy waits for it, so that its status becomes ours. */
class WaitingProcesses final : public ProcessControl {
 public:
  explicit WaitingProcesses(ProcessControl& real) : real_(real) {}
  std::string OwnPath() override { return real_.OwnPath(); }
  bool Start(const std::string& path, const std::vector<std::string>& args) override {
    copyStatus = real_.RunAndWait(path, args);
    return copyStatus.has_value();
  }
  std::optional<int> RunAndWait(const std::string& path, const std::vector<std::string>& args) override {
    return real_.RunAndWait(path, args);
  }
  std::optional<int> copyStatus;

 private:
  ProcessControl& real_;
};

/* The wizard with its buttons pressed in order: Next, the agreement ticked,
** Next, Install. Created under the splash, which is when its start page is built. */
/* Every failure's reason on the error stream as it happens, for every
** installation (the windows show them to numbered installations only). */
class FailuresToStream final : public MigrationObserver {
 public:
  explicit FailuresToStream(std::ostream& err) : err_(err) {}
  void DatabaseUnopenable(const std::string& path, const std::string& reason) noexcept override {
    // Each attempt is logged; the console says it once per database and reason.
    Print([&] { return refusals_.insert(path + "\n" + reason).second ? DescribeRefusal(path, reason) : ""; });
  }
  void StatementFailed(const std::string& path, const std::string& text, const std::string& reason) noexcept override {
    Print([&] { return DescribeFailure(path, text, reason); });
  }

 private:
  /* Prints the line makeText() returns, unless it is empty. */
  template <class MakeText>
  void Print(MakeText makeText) noexcept {
    try {
      if (const std::string text = makeText(); !text.empty()) err_ << "kvupgrade: " << text << std::endl;
    } catch (const std::exception&) {
      // Out of memory, or a stream set to throw: the line is lost here, the run log still has it.
    }
  }
  std::ostream& err_;
  std::set<std::string> refusals_;
};

class ConsoleWizard final : public MainWindow {
 public:
  ConsoleWizard(Installation& installation, RegisterLog& log, Registry& registry, RunLog& runLog,
                std::unique_ptr<fb::Client> client, const std::string& ownPath, RunSafety safety,
                std::optional<std::chrono::seconds> lockTimeout, MigrationObserver& report, Clock& clock,
                std::ostream& out, std::ostream& err)
      : window_(out, err, clock),
        failures_(err),
        client_(std::move(client)),
        session_(OpenSessionGuard()),
        wizard_(window_, installation, log, registry, *client_, ownPath, clock, RealFileSystem(), runLog,
                &failures_, std::move(safety), &report, session_.get(), lockTimeout) {
    wizard_.Form().FormCreate();
  }

  int RunMessageLoop() override {
    WizardForm& form = wizard_.Form();
    form.FormActivate();
    if (form.UpgradeOffered()) {
      form.Button1Click();  // to the agreement
      form.CheckBox1Click();
      form.Button1Click();  // to the install page
      form.Button1Click();  // Install
    }
    form.FormClose();
    return wizard_.ExitStatus();
  }

 private:
  ConsoleWindow window_;
  FailuresToStream failures_;
  std::unique_ptr<fb::Client> client_;
  std::unique_ptr<SessionGuard> session_;
  WizardAssembly wizard_;
};

}  // namespace

int RunUnattended(const CommandLine& commandLine, const TestSwitches& switches, RunReport& report, std::ostream& out,
                  std::ostream& err) {
  WithoutPauses withoutPauses(SystemClock());
  Clock& clock = switches.skipPauses ? static_cast<Clock&>(withoutPauses) : SystemClock();
  RunSafety safety = SafetyFrom(commandLine, false);
  if (switches.skipConnectionCheck) safety.connections = ConnectionCheck::Skip;
  NoScreen screen;
  ConsoleSplash splash(out);
  ConsoleDialog dialog(err);
  WaitingProcesses processes(RealProcesses());
  ProgramDesktop desktop{screen, splash, dialog, processes,
                         [&](Installation& installation, RegisterLog& log, Registry& registry, RunLog& runLog) {
                           return std::make_unique<ConsoleWizard>(installation, log, registry, runLog,
                                                                  LoadClient(dialog), processes.OwnPath(), safety,
                                                                  switches.lockTimeout, report, clock, out, err);
                         },
                         [&] { return processes.copyStatus.value_or(kUnexpectedError); },
                         [&](const RunLog& runLog) { out << "Журнал выполнения: " << runLog.Path() << "\n"; },
                         &clock};
  return RunProgram(commandLine, desktop, report);
}

}  // namespace kv::console
