// The start's environment checks on a real service and real windows under
// Wine: the maintenance service run by the service control manager, and the
// windows of other programs, which close on request or do not.
#include <gtest/gtest.h>

#include "platform/scope_exit.h"
#include "platform/service_status.h"
#include "startup/environment_check.h"
#include "support/journal.h"
#include "wine_test_support.h"

namespace kv {
namespace {

using Strings = std::vector<std::string>;

/* The checks with the real service manager and window list; pauses, messages
** and the register log are the test's. */
struct Desk {
  std::string dir = test::FreshTempFolder("kvcheck");
  test::Journal journal;
  test::JournalDialog dialog{journal};
  test::JournalClock clock{journal};
  std::unique_ptr<WindowList> windows = OpenTopLevelWindows();
  RegisterLog log{{kApplicationTitle, "C:\\kvupgrade.exe", dir, dir + "Register 2026.log"},
                  RealFileSystem(), clock, dialog};
  EnvironmentServices env{SystemServices(), *windows, dialog, clock, log};

  bool Check() { return CheckEnvironment(env); }
  std::string Log() const {
    return RealFileSystem().FileExists(dir + "Register 2026.log") ? RealFileSystem().ReadFile(dir + "Register 2026.log")
                                                                  : "";
  }
};

struct ServiceTraits {
  using Handle = SC_HANDLE;
  static Handle None() { return nullptr; }
  BOOL Close(Handle h) const { return ::CloseServiceHandle(h); }
};
using UniqueService = UniqueHandle<ServiceTraits>;

/* Asks the service manager until the service is in state, for up to 10 s. */
ServiceQuery AwaitService(ServiceQuery state) {
  ServiceQuery now = SystemServices().Query(kMaintenanceService);
  for (int i = 0; i < 100 && now != state; ++i) {
    ::Sleep(100);
    now = SystemServices().Query(kMaintenanceService);
  }
  return now;
}

TEST(Win32Environment, TheMaintenanceServiceHoldsTheStartWhileTheServiceManagerReportsItRunning) {
  const UniqueService manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  ASSERT_TRUE(manager);
  const std::wstring name = win32::Wide(kMaintenanceService);
  const std::wstring command = L"\"" + win32::Wide(test::WinPath(KV_TEST_SERVICE_EXE)) + L"\" " + name;
  UniqueService service(::CreateServiceW(manager.Get(), name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                         SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                         command.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(service) << win32::ErrorText(::GetLastError());
  ScopeExit remove([&] {
    SERVICE_STATUS status{};
    ::ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
    ::DeleteService(service.Get());
  });
  EXPECT_EQ(SystemServices().Query(kMaintenanceService), ServiceQuery::Stopped) << "installed, not started";

  ASSERT_TRUE(::StartServiceW(service.Get(), 0, nullptr)) << win32::ErrorText(::GetLastError());
  ASSERT_EQ(AwaitService(ServiceQuery::Running), ServiceQuery::Running);
  {
    Desk d;
    EXPECT_FALSE(d.Check());
    EXPECT_EQ(d.clock.pauses, std::vector<int>(kServicePolls, 100));
    EXPECT_EQ(d.dialog.messages, Strings{"Выполняется обслуживание.\rПопробуйте запустить программу позже"});
  }

  SERVICE_STATUS status{};
  ASSERT_TRUE(::ControlService(service.Get(), SERVICE_CONTROL_STOP, &status));
  ASSERT_EQ(AwaitService(ServiceQuery::Stopped), ServiceQuery::Stopped);
  {
    Desk d;
    EXPECT_TRUE(d.Check());
    EXPECT_TRUE(d.clock.pauses.empty());
  }

  remove.Release();
  ASSERT_TRUE(::DeleteService(service.Get()));
  service.Reset();  // the manager removes it once no handle is open
  EXPECT_EQ(SystemServices().Query(kMaintenanceService), ServiceQuery::Unavailable);
  EXPECT_EQ(SystemServices().Query("NoSuchServiceHere"), ServiceQuery::Unavailable);
}

TEST(Win32Environment, OtherProgramsWindowsStopTheStartUnlessTheToolClosesOnRequest) {
  const std::string line = " *07.12.2026 09:15:02\r\n";
  {
    Desk d;
    test::HelperWindow app(test::WinPath(KV_HELPER_WINDOW_EXE), "TFormKV", "Квенира 7.00", false);
    ASSERT_TRUE(app.Shown());
    EXPECT_FALSE(d.Check());
    EXPECT_EQ(d.dialog.messages, Strings{"Закройте программу: 'КВЕНИРА'"});
    EXPECT_EQ(d.Log(), "upgrade 7.10 d 011:" + line);
  }
  {
    Desk d;
    test::HelperWindow tool(test::WinPath(KV_HELPER_WINDOW_EXE), "TFormTonic", "Тоник 7.00", false);
    ASSERT_TRUE(tool.Shown());
    EXPECT_TRUE(d.Check());
    EXPECT_FALSE(d.windows->FindWindow("TFormTonic", std::nullopt)) << "closed before the check went on";
    EXPECT_TRUE(d.journal.empty());
    EXPECT_EQ(d.Log(), "upgrade 7.10 d 012:" + line);
  }
  {
    Desk d;
    test::HelperWindow tool(test::WinPath(KV_HELPER_WINDOW_EXE), "TFormTonic", "Тоник 7.00", true);
    ASSERT_TRUE(tool.Shown());
    EXPECT_FALSE(d.Check());
    // The lookups after the close request are counted, not paused between.
    EXPECT_EQ(d.journal, Strings{"message: Закройте программу: 'ТОНИК'"});
    EXPECT_TRUE(d.windows->FindWindow("TFormTonic", "Тоник 7.00"));
    EXPECT_EQ(d.Log(), "upgrade 7.10 d 012:" + line);
  }
}

}  // namespace
}  // namespace kv
