// The check for running programs and services that must not run during an upgrade.
#include "startup/environment_check.h"

#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>

#include "support/desktop_doubles.h"
#include "support/journal.h"
#include "support/temp_dir.h"

namespace kv {
namespace {

using test::FakeWindow;
using Strings = std::vector<std::string>;

struct Desk {
  test::TempDir dir;
  test::Journal journal;
  test::JournalDialog dialog{journal};
  test::JournalClock clock{journal};
  test::FakeWindowList windows{journal};
  test::ScriptedServices services;
  RegisterLog log{{kApplicationTitle, "/opt/kvupgrade", dir / "Info/", dir / "Info/Register 2026.log"},
                  RealFileSystem(), clock, dialog};
  EnvironmentServices env{services, windows, dialog, clock, log};

  Desk() { RealFileSystem().CreateDirs(dir / "Info/"); }

  bool Check() { return CheckEnvironment(env); }

  /* Codes of the register log's lines, in order. */
  std::vector<int> Codes() const {
    std::vector<int> out;
    if (!RealFileSystem().FileExists(dir / "Info/Register 2026.log")) return out;
    const std::string text = test::ReadFile(dir / "Info/Register 2026.log");
    static const std::regex code(" (\\d{3,}): \\*");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), code); it != std::sregex_iterator(); ++it)
      out.push_back(std::stoi((*it)[1]));
    return out;
  }
};

TEST(EnvironmentCheck, MaintenanceServiceIsPolledUpTo30Times100MsApart) {
  {
    Desk d;  // no such service
    EXPECT_TRUE(d.Check());
    EXPECT_EQ(d.services.names, Strings{"DODUVed"});
    EXPECT_TRUE(d.clock.pauses.empty());
  }
  {
    Desk d;  // running for 5 polls, then stopped
    d.services.script.assign(5, ServiceQuery::Running);
    d.services.rest = ServiceQuery::Stopped;
    EXPECT_TRUE(d.Check());
    EXPECT_EQ(d.clock.pauses, std::vector<int>(5, 100));
    EXPECT_EQ(d.services.names.size(), 6u);
  }
  {
    Desk d;  // running throughout: nothing else is looked at
    d.services.rest = ServiceQuery::Running;
    d.windows.Add({"TFormKV", "Квенира 7.00"});
    EXPECT_FALSE(d.Check());
    EXPECT_EQ(d.clock.pauses, std::vector<int>(30, 100));
    EXPECT_EQ(d.dialog.messages, Strings{"Выполняется обслуживание.\rПопробуйте запустить программу позже"});
    EXPECT_EQ(d.windows.finds, 0);
    EXPECT_TRUE(d.Codes().empty());
  }
}

TEST(EnvironmentCheck, AFailingServiceQueryCountsAsNotRunning) {
  struct Broken final : ServiceStatus {
    ServiceQuery Query(std::string_view) override { throw std::runtime_error("no service manager"); }
  } broken;
  EXPECT_FALSE(QueryServiceState(broken, "DODUVed"));
  test::ScriptedServices services;
  services.script = {ServiceQuery::Running, ServiceQuery::Stopped, ServiceQuery::Unavailable};
  EXPECT_TRUE(QueryServiceState(services, "DODUVed"));
  EXPECT_FALSE(QueryServiceState(services, "DODUVed"));
  EXPECT_FALSE(QueryServiceState(services, "DODUVed"));
}

TEST(EnvironmentCheck, MainApplicationByClassOrByAnUnownedExactTitle) {
  struct Case {
    FakeWindow window;
    bool stops;
  };
  const Case cases[] = {
      {{"TFormKV", "Квенира 7.00"}, true},
      {{"TFormKV", "Квенира 7.12"}, false},
      {{"Other", "kv700_d"}, true},
      {{"Other", "kv700_h"}, true},
      {{"Other", "kv700_free"}, true},
      {{"Other", "Квенира 7"}, true},
      {{"Other", "kv700_d", 7}, false},                // owned by another window
      {{"Other", "Kv700_d"}, false},                   // other letter case
      {{"Other", "kv700_d "}, false},                  // whole title only
      {{"TApplication", "kv700_d", 0, true}, false},   // the program's own application window
  };
  for (const Case& c : cases) {
    Desk d;
    d.windows.Add({"Other", ""});
    d.windows.Add(c.window);
    EXPECT_EQ(d.Check(), !c.stops) << c.window.title;
    if (c.stops) {
      EXPECT_EQ(d.dialog.messages, Strings{"Закройте программу: 'КВЕНИРА'"});
      EXPECT_EQ(d.Codes(), std::vector<int>{11});
    } else {
      EXPECT_TRUE(d.dialog.messages.empty()) << c.window.title;
      EXPECT_TRUE(d.Codes().empty());
    }
  }
}

TEST(EnvironmentCheck, MaintenanceToolThatClosesOnRequestLetsTheUpgradeGoOn) {
  Desk d;
  d.windows.Add({"TApplication", "tonic700"});
  const WindowHandle app = d.windows.windows.back().handle;
  d.windows.Add({"TFormTonic", "Тоник 7.00", app});
  EXPECT_TRUE(d.Check());
  EXPECT_EQ(test::Starting(d.journal, "message: ").size(), 1u);
  // The title is shown first, then the tool's form is asked to close.
  EXPECT_EQ(d.journal, (Strings{"message: tonic700", "close request: Тоник 7.00"}));
  EXPECT_EQ(d.Codes(), std::vector<int>{12});
}

TEST(EnvironmentCheck, MaintenanceToolWithoutAWindowToCloseIsOnlyLogged) {
  Desk d;
  d.windows.Add({"Other", "Тоник 7.00"});
  EXPECT_TRUE(d.Check());
  EXPECT_TRUE(d.journal.empty());
  EXPECT_EQ(d.Codes(), std::vector<int>{12});
}

TEST(EnvironmentCheck, MaintenanceToolThatStaysOpenIsLookedFor100001TimesThenStops) {
  {
    Desk d;
    d.windows.Add({"TFormTonic", "Тоник 7.00", 0, false, /*closesOnRequest=*/false});
    d.windows.Add({"TFormSetup7", "setup 7.12 d"});  // never reached
    EXPECT_FALSE(d.Check());
    EXPECT_EQ(d.windows.closeRequests.size(), 1u);
    EXPECT_EQ(d.windows.findsAfterClose, 100001);
    EXPECT_TRUE(d.clock.pauses.empty());
    EXPECT_EQ(d.dialog.messages, Strings{"Закройте программу: 'ТОНИК'"});
    EXPECT_EQ(d.Codes(), std::vector<int>{12});
  }
  {
    // The second choice, any TForm301 window: each lookup tries both classes.
    Desk d;
    d.windows.Add({"TForm301", "Тоник 7.00", 0, false, false});
    EXPECT_FALSE(d.Check());
    EXPECT_EQ(d.windows.findsAfterClose, 2 * 100001);
    EXPECT_EQ(d.dialog.messages, Strings{"Закройте программу: 'ТОНИК'"});
  }
  {
    Desk d;
    d.windows.Add({"Other", "Тоник 7.00"});
    d.windows.Add({"TForm301", "Сервис"});
    EXPECT_TRUE(d.Check());
    EXPECT_EQ(d.journal, Strings{"close request: Сервис"});
  }
}

TEST(EnvironmentCheck, InstallerByClassAndTitleOrByUnownedTitle) {
  struct Case {
    FakeWindow window;
    bool stops;
  };
  const Case cases[] = {
      {{"TFormSetup7", "setup 7.12 d"}, true}, {{"TFormSetup7", "setup 7.12 h"}, true},
      {{"Other", "setup 7.00 h"}, true},       {{"Other", "setup 7.00 d"}, true},
      {{"TFormSetup7", "setup 7.11 d"}, false}, {{"Other", "setup 7.12 d"}, false},
      {{"Other", "setup 7.00 d", 3}, false},
  };
  for (const Case& c : cases) {
    Desk d;
    d.windows.Add(c.window);
    EXPECT_EQ(d.Check(), !c.stops) << c.window.className << " " << c.window.title;
    EXPECT_EQ(d.dialog.messages, c.stops ? Strings{"Закройте программу: setup 7.12"} : Strings{});
    EXPECT_EQ(d.Codes(), c.stops ? std::vector<int>{11} : std::vector<int>{});
  }
}

TEST(EnvironmentCheck, TheFirstFailingCheckInOrderDecides) {
  Desk d;
  d.windows.Add({"TFormSetup7", "setup 7.12 d"});
  d.windows.Add({"TFormTonic", "tonic700"});
  d.windows.Add({"Other", "kv700_h"});
  EXPECT_FALSE(d.Check());
  EXPECT_EQ(d.dialog.messages, Strings{"Закройте программу: 'КВЕНИРА'"});
  EXPECT_TRUE(d.windows.closeRequests.empty());
  EXPECT_EQ(d.Codes(), std::vector<int>{11});
}

}  // namespace
}  // namespace kv
