// The native windows driven as an operator drives them: BM_CLICK on the
// buttons, a tab picked on the news window's strip, message boxes answered
// from a timer while they wait. Here the Install button starts a stand-in run
// that reports as a finished run does, so that the views are seen in every
// state; the real program clicked through a real run is wizard_run_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "demo_installation.h"
#include "platform/own_executable.h"
#include "platform/registry.h"
#include "startup/database_paths.h"
#include "startup/install_registry.h"
#include "startup/register_log.h"
#include "startup/start_sequence.h"
#include "support/desktop_doubles.h"
#include "support/fakes.h"
#include "support/journal.h"
#include "screenshot.h"
#include "views/win32/desktop.h"
#include "views/win32/gauge.h"
#include "views/win32/news_window.h"
#include "views/win32/wizard_window.h"
#include "wizard/install_run.h"
#include "window_watch.h"
#include "wine_test_support.h"

#include <commctrl.h>  // after windows.h

namespace kv {
namespace {

using test::Click;
using test::MessageBoxContent;
using test::Read;
using test::Wait;
using test::WinPath;

using win32::WindowText;

/* The wizard window over the wizard's logic, with the built program as its
** own executable (it carries 7.0.12.0) and an installation in a temporary folder. */
struct Win32WizardFixture {
  std::string dir = test::FreshTempFolder("kvviews");
  test::FixedClock clock;
  test::RecordingDialog logDialog;
  Installation installation;
  std::unique_ptr<RegisterLog> log;
  std::unique_ptr<Registry> registry = OpenEnvironmentRegistry();
  std::unique_ptr<OwnExecutable> executable = OpenBundledExecutable(WinPath(KV_UPGRADE_EXE), true);
  std::vector<NewsEntry> news{NewsTable().begin(), NewsTable().end()};
  int runs = 0;
  win32::Win32WizardWindow window;
  std::unique_ptr<WizardForm> form;

  Win32WizardFixture() {
    installation.folders = DeriveFolders(dir + "prog", dir + "base", 2026);
    installation.databases.base = installation.folders.data + "Base\\Base.fdb";
    installation.databases.director = installation.folders.data + "Director\\Director.fdb";
    RealFileSystem().CreateDirs(installation.folders.info);
    // The user's recorded version is 7.0.0 whatever other tests of the prefix recorded.
    WriteUserSetting(*registry, "", "ServicePack", 0);
    WriteUserSetting(*registry, "", "Build", 0);
    log = std::make_unique<RegisterLog>(RegisterLog::Setup{kApplicationTitle, WinPath(KV_UPGRADE_EXE),
                                                            installation.folders.info,
                                                            installation.folders.registerLog},
                                        RealFileSystem(), clock, logDialog);
  }

  void Open() {
    form = std::make_unique<WizardForm>(WizardServices{
        window, *log, *registry, *executable, WinPath(KV_UPGRADE_EXE), installation,
        [](const std::string& path) -> std::optional<VersionRecord> {
          if (path.ends_with("Base.fdb")) return VersionRecord{700, 9, 4};
          if (path.ends_with("Director.fdb")) return VersionRecord{700, 11, 0};
          return std::nullopt;
        },
        [this](const FileVersion&) {
          // What a run shows on its way and at its end; the windows must keep answering meanwhile.
          ++runs;
          window.SetBusyCursor(true);
          window.SetButton2Enabled(false);
          window.SetGaugeMax(549);
          for (int pack = 1; pack <= 12; ++pack) {
            window.ZapisLabel(" Установка Service Pack " + std::string(pack < 10 ? "0" : "") + std::to_string(pack));
            window.ZapisMemo3("Service Pack " + std::to_string(pack) + "\tустановлен");
            window.SetGaugeProgress(pack * 549 / 12);
          }
          window.ZapisMemo3("Файлы программы заменены");
          window.ZapisMemo3("Обновление версии 7.00 успешно завершено");
          window.ZapisLabel("");
          window.SetButton2Enabled(true);
          window.SetBusyCursor(false);
        },
        news});
    window.Attach(*form);
    form->FormCreate();
    window.ShowCentred();
    Wait(100);
  }

  HWND Get(const char* name) const { return window.Form().Get(name); }
  bool Visible(const char* name) const { return ::IsWindowVisible(Get(name)) != FALSE; }
  void Shot(const char* name) { EXPECT_TRUE(test::Screenshot(window.Form().Root(), name)) << name; }
};

// Windows asks every top-level window whether the session may end; while the
// run holds its session guard the wizard says no (the question comes from
// another thread, as the system's does, and is answered by the run's pumping).
TEST(Win32Wizard, WhileTheRunHoldsTheSessionTheWizardRefusesToLetItEnd) {
  Win32WizardFixture f;
  f.Open();
  HWND root = f.window.Form().Root();
  auto ask = [&] {
    std::atomic<bool> answered = false;
    DWORD_PTR answer = 99;
    std::thread system([&] {
      if (!::SendMessageTimeoutW(root, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer))
        answer = 98;
      answered = true;
    });
    for (int i = 0; i < 500 && !answered; ++i) {
      f.window.PumpMessages();
      ::Sleep(10);
    }
    system.join();
    return answer;
  };
  {
    CriticalSection run(&f.window.Session(), kSessionEndReason);
    {
      CriticalSection files(&f.window.Session(), kSessionEndReason);  // sections nest
      EXPECT_EQ(ask(), static_cast<DWORD_PTR>(FALSE));
    }
    EXPECT_EQ(ask(), static_cast<DWORD_PTR>(FALSE));
  }
  EXPECT_EQ(ask(), static_cast<DWORD_PTR>(TRUE));
}

// The same wizard at the DPI of the prefix it runs in (KV_EXPECTED_DPI; 96
// when unset): every length and font scaled, so it looks as at 96, only sharper.
TEST(Win32Dpi, TheWizardIsLaidOutAsAt96dpiAtTheScreensDpi) {
  const char* named = std::getenv("KV_EXPECTED_DPI");
  const int screenDpi = named && *named ? std::atoi(named) : 96;
  HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(::GetDeviceCaps(screen, LOGPIXELSY), screenDpi) << "the program sees the screen as a DPI-unaware one";
  ::ReleaseDC(nullptr, screen);

  Win32WizardFixture f;
  f.Open();
  HWND root = f.window.Form().Root();
  auto placed = [&](const char* name) {
    RECT r;
    ::GetWindowRect(f.Get(name), &r);
    ::MapWindowPoints(HWND_DESKTOP, root, reinterpret_cast<POINT*>(&r), 2);
    return std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top};
  };
  auto laidOutFor = [&](int dpi) {
    SCOPED_TRACE(std::to_string(dpi) + " dpi");
    auto px = [&](int length) { return ::MulDiv(length, dpi, 96); };
    RECT client;
    ::GetClientRect(root, &client);
    EXPECT_EQ(client.right, px(558));
    EXPECT_EQ(client.bottom, px(466));
    // Buttons keep their bounds, the banner is docked at the top, the picture stands in it.
    EXPECT_EQ(placed("Button2"), (std::vector<LONG>{px(558 - 75 - 8), px(466 - 41 + 8), px(75), px(25)}));
    EXPECT_EQ(placed("Panel1"), (std::vector<LONG>{0, 0, px(558), px(81)}));
    EXPECT_EQ(placed("Image1")[2], px(72));
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(f.Get("Memo1"), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -px(13));
    // The logic still speaks in the design's pixels.
    EXPECT_EQ(f.window.Button3Width(), 75);
    f.window.SetButton3Width(150);
    EXPECT_EQ(placed("Button3")[2], px(150));
    f.window.SetButton3Width(75);
  };
  laidOutFor(screenDpi);
  EXPECT_TRUE(test::Screenshot(root, "win32-wizard-" + std::to_string(screenDpi) + "dpi"));

  // Dragged to a monitor of the other DPI: the system proposes the new frame.
  const int other = screenDpi == 96 ? 144 : 96;
  RECT frame{0, 0, ::MulDiv(558, other, 96), ::MulDiv(466, other, 96)};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(root, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(root, GWL_EXSTYLE)));
  ::OffsetRect(&frame, 10 - frame.left, 10 - frame.top);
  ::SendMessageW(root, WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&frame));
  laidOutFor(other);
}

// The failure paths of the window boundary: what a handler or a failed
// construction does must stay inside the form.
struct HandlerFault {};

class ThrowingEvents final : public win32::FormEvents {
 public:
  void Clicked(std::string_view) override { throw HandlerFault{}; }
};

constexpr form::Element kBrokenElements[] = {
    {.name = "Panel1", .kind = form::Kind::Panel, .bounds = {0, 0, 100, 40}},
    {.name = "Label1", .kind = form::Kind::Label, .parent = "Missing", .bounds = {0, 0, 100, 20}},
};
constexpr form::Form kBroken{.name = "TFormKvBroken", .caption = "broken", .width = 100, .height = 60,
                             .font = {"Tahoma", 11}, .elements = kBrokenElements};
constexpr form::Element kButtonElements[] = {
    {.name = "Button1", .kind = form::Kind::Button, .bounds = {10, 10, 80, 25}, .caption = "OK"},
};
constexpr form::Form kButtonForm{.name = "TFormKvButton", .caption = "button", .width = 100, .height = 60,
                                 .font = {"Tahoma", 11}, .elements = kButtonElements};

TEST(Win32Boundary, AFailedFormLeavesNoWindowAndAHandlerErrorComesOutOfTheLoopNotTheProcedure) {
  win32::FormEvents quiet;
  EXPECT_THROW(win32::FormWindow(kBroken, quiet), std::out_of_range);
  EXPECT_FALSE(::FindWindowW(L"TFormKvBroken", nullptr)) << "the root window outlived its form";

  ThrowingEvents throwing;
  win32::FormWindow form(kButtonForm, throwing);
  HWND button = form.Get("Button1");
  // Sent from outside any loop: the procedure returns, the error waits for the form's loop.
  EXPECT_NO_THROW(Click(button));
  EXPECT_THROW(form.RunUntilClosed(), HandlerFault);
  // Dispatched by the loop itself, and the window still answers afterwards.
  ::PostMessageW(button, BM_CLICK, 0, 0);
  EXPECT_THROW(form.RunUntilClosed(), HandlerFault);
  ::PostMessageW(button, BM_CLICK, 0, 0);
  EXPECT_THROW(form.PumpPending(), HandlerFault);
  EXPECT_TRUE(form.Open());
}

TEST(Win32Splash, ShowsEachStatusOfTheStartSequenceOverItsGauge) {
  const std::string base = test::FreshTempFolder("kvsplash");
  RealFileSystem().CreateDirs(base + "prog");
  RealFileSystem().CreateDirs(base + "base");
  const std::wstring key = L"SOFTWARE\\Velmor\\Квенира\\7.00";
  ASSERT_TRUE(test::SetMachineString(key, L"DirProgram", win32::Wide(base + "prog\\"), KEY_WOW64_32KEY));
  ASSERT_TRUE(test::SetMachineString(key, L"DirBase", win32::Wide(base + "base\\"), KEY_WOW64_32KEY));
  ASSERT_TRUE(test::SetMachineString(key, L"typeInstall", L"d", KEY_WOW64_32KEY));
  test::Journal journal;
  test::FixedScreen screen;
  win32::Win32SplashOperations splash;
  test::JournalDialog journalDialog{journal};
  test::FixedClock clock;
  test::RecordingProcesses processes{journal, base + "base\\Версия\\700\\kvupgrade.exe"};
  std::unique_ptr<Registry> registry = OpenEnvironmentRegistry();
  std::vector<std::string> steps;
  auto look = [&](const char* shot) {
    HWND w = ::FindWindowW(L"TFormZastavka7", nullptr);
    ASSERT_TRUE(w && ::IsWindowVisible(w));
    EXPECT_TRUE(::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(::GetWindowLongW(w, GWL_STYLE) & WS_CAPTION);
    RECT r;
    ::GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 384);
    EXPECT_EQ(r.bottom - r.top, 133);
    HWND panel = ::GetWindow(w, GW_CHILD);
    std::string status;
    int gauge = -1;
    for (HWND c = ::GetWindow(panel, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
      wchar_t cls[32] = {};
      ::GetClassNameW(c, cls, 32);
      if (std::wstring(cls) == win32::kGaugeClass) gauge = win32::GaugeProgress(c);
      else if (::GetDlgCtrlID(c) == 100 + 3) status = WindowText(c);  // Label3, the fourth element
    }
    steps.push_back(status + " " + std::to_string(gauge));
    if (shot) {
      EXPECT_TRUE(test::Screenshot(w, shot));
    }
  };
  StartServices services{screen, splash, journalDialog, RealFileSystem(), processes, clock, *registry,
                         [&](RegisterLog&) {
                           look("win32-splash");
                           return true;
                         },
                         [&](const InstallFolders& folders, const InstallationParams& params, RegisterLog& log) {
                           look(nullptr);
                           return SetDatabasePaths(folders, params, log);
                         },
                         [&](Installation&, RegisterLog&) -> std::unique_ptr<MainWindow> {
                           look(nullptr);
                           throw std::runtime_error("the wizard could not be created");
                         }};
  const StartResult r = RunMainSequence(CommandLine{}, services);
  EXPECT_EQ(r.outcome, StartOutcome::ChecksFailed);
  EXPECT_EQ(steps, (std::vector<std::string>{"проверка программ 1", "проверка установок 2", "загрузка ... 3"}));
  EXPECT_FALSE(::FindWindowW(L"TFormZastavka7", nullptr)) << "the splash is closed";
}

TEST(Win32Program, WindowedStartShowsTheSplashAndNamesTheMissingClientInAMessageBox) {
  const std::string root = test::FreshTempFolder("kvwindowed") + "Установка Квениры";
  const demo::DemoInstallation demo = demo::WriteDemoFiles({root, 0, 1, false, false});
  const std::wstring key = L"SOFTWARE\\Velmor\\Квенира\\7.00";
  ASSERT_TRUE(test::SetMachineString(key, L"DirProgram", win32::Wide(root + "\\prog"), KEY_WOW64_32KEY));
  ASSERT_TRUE(test::SetMachineString(key, L"DirBase", win32::Wide(root + "\\base"), KEY_WOW64_32KEY));
  ASSERT_TRUE(test::SetMachineString(key, L"typeInstall", L"d", KEY_WOW64_32KEY));

  std::wstring command = L"\"" + win32::Wide(WinPath(KV_UPGRADE_EXE)) + L"\"";
  const test::NoFirebirdClient noClient;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  win32::UniqueKernelHandle launcher(pi.hProcess), thread(pi.hThread);

  // The launcher hands over to its copy in the version folder; the copy shows
  // the splash while it checks, then says why it cannot go on.
  bool splashSeen = false;
  HWND box = nullptr;
  for (int i = 0; i < 3000 && !box; ++i) {
    HWND splash = ::FindWindowW(L"TFormZastavka7", nullptr);
    if (splash && ::IsWindowVisible(splash) && !splashSeen) {
      splashSeen = true;
      EXPECT_TRUE(test::Screenshot(splash, "win32-program-splash"));
    }
    for (HWND w = ::FindWindowW(L"#32770", nullptr); w; w = ::FindWindowExW(nullptr, w, L"#32770", nullptr)) {
      DWORD pid = 0;
      ::GetWindowThreadProcessId(w, &pid);
      if (pid != ::GetCurrentProcessId() && ::IsWindowVisible(w)) box = w;
    }
    ::Sleep(20);
  }
  ASSERT_TRUE(box) << "no message box from the program";
  EXPECT_TRUE(splashSeen);
  const MessageBoxContent content = Read(box);
  EXPECT_NE(content.text.find("fbclient.dll"), std::string::npos) << content.text;
  wchar_t ownerClass[32] = {};
  ::GetClassNameW(::GetWindow(box, GW_OWNER), ownerClass, 32);
  EXPECT_EQ(std::wstring(ownerClass), L"TFormZastavka7") << "the message box is not the splash's";
  EXPECT_TRUE(test::Screenshot(box, "win32-program-no-client"));
  DWORD pid = 0;
  ::GetWindowThreadProcessId(box, &pid);
  win32::UniqueKernelHandle copy(::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  ASSERT_TRUE(copy);
  Click(::GetDlgItem(box, IDOK));

  DWORD status = 99;
  ASSERT_EQ(::WaitForSingleObject(copy.Get(), 30000), WAIT_OBJECT_0);
  ::GetExitCodeProcess(copy.Get(), &status);
  EXPECT_EQ(status, 1u) << "the wizard could not be created";
  ASSERT_EQ(::WaitForSingleObject(launcher.Get(), 30000), WAIT_OBJECT_0);
  ::GetExitCodeProcess(launcher.Get(), &status);
  EXPECT_EQ(status, 0u) << "the launcher ends once its copy has taken over";
  EXPECT_TRUE(RealFileSystem().FileExists(demo.installation.folders.version + "kvupgrade.exe"));
  EXPECT_FALSE(::FindWindowW(L"TFormZastavka7", nullptr));
}

}  // namespace
}  // namespace kv
