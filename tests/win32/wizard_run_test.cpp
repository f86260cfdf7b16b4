// The real kvupgrade.exe in its windows on the virtual display, clicked
// through a whole run as an operator clicks: the start page with the
// databases' builds, the agreement, Install, the packs with the memo and the
// green gauge, the finished page, the news window, Exit. Screenshots of each
// go to build/screenshots (win32-run-*.png). The program is another process:
// its buttons are clicked by posted BM_CLICK (a sent one would wait for the
// whole run), its texts read with a timeout while it is busy.
#include <gtest/gtest.h>

#include <functional>

#include "platform/file_system.h"
#include "platform/scope_exit.h"
#include "screenshot.h"
#include "wine_installation.h"
#include "wine_test_support.h"
#include "wizard/wizard_forms.h"

namespace kv {
namespace {

/* A control of the wizard in another process, by its name in the form
** description: the views number the controls by their place in it. */
HWND Control(HWND root, std::string_view name) {
  const form::Form& f = WizardFormDescription();
  int id = -1;
  for (std::size_t i = 0; i < f.elements.size(); ++i)
    if (f.elements[i].name == name) id = static_cast<int>(i) + 100;
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  ::EnumChildWindows(
      root,
      [](HWND w, LPARAM p) {
        auto* s = reinterpret_cast<Search*>(p);
        if (::GetDlgCtrlID(w) != s->id) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND Gauge(HWND root) { return ::FindWindowExW(::GetParent(Control(root, "Memo3")), nullptr, L"KvGauge", nullptr); }

/* The text of a window of a busy process; "" when it does not answer in time. */
std::string TextOf(HWND w) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return "";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  if (!::SendMessageTimeoutW(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             2000, &got))
    return "";
  text.resize(got);
  return win32::Utf8(text);
}

void Click(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

/* A visible top-level window of this class in another process; null when none. */
HWND ForeignWindow(const wchar_t* className) {
  for (HWND w = ::FindWindowW(className, nullptr); w; w = ::FindWindowExW(nullptr, w, className, nullptr)) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    if (pid != ::GetCurrentProcessId() && ::IsWindowVisible(w)) return w;
  }
  return nullptr;
}

/* Polls every 50 ms until done() holds or ms have passed; answers the
** program's message boxes meanwhile (each is a failure: a run that succeeds
** shows none). */
bool WaitFor(const std::function<bool()>& done, int ms) {
  for (int waited = 0; waited < ms; waited += 50) {
    if (done()) return true;
    if (HWND box = ForeignWindow(L"#32770")) {
      HWND text = ::FindWindowExW(box, nullptr, L"Static", nullptr);
      while (text && win32::WindowText(text).empty()) text = ::FindWindowExW(box, text, L"Static", nullptr);
      ADD_FAILURE() << "a message box: " << (text ? win32::WindowText(text) : "");
      test::Screenshot(box, "win32-run-message-box");
      ::PostMessageW(::FindWindowExW(box, nullptr, L"Button", nullptr), BM_CLICK, 0, 0);
    }
    ::Sleep(50);
  }
  return done();
}

/* The share of the gauge's middle row that is drawn green, from the screen. */
double GreenShare(HWND root, const test::Image& image) {
  HWND gauge = Gauge(root);
  RECT r;
  ::GetClientRect(gauge, &r);
  ::MapWindowPoints(gauge, root, reinterpret_cast<POINT*>(&r), 2);
  const int y = (r.top + r.bottom) / 2;
  int green = 0, all = 0;
  for (int x = r.left + 2; x < r.right - 2 && x < image.width; ++x, ++all) {
    const std::uint8_t* p = &image.rgb[3 * (static_cast<std::size_t>(y) * image.width + x)];
    green += p[1] >= 100 && p[0] < 80 && p[2] < 80;
  }
  return all ? static_cast<double>(green) / all : 0;
}

TEST(WineWizard, TheRealProgramIsClickedThroughAWholeRun) {
  test::WineInstallation w(test::LinuxDemo("N1"));
  std::wstring line = test::CommandLine(test::TestedProgram(KV_UPGRADE_EXE), {});
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  const win32::UniqueKernelHandle launcher(pi.hProcess), thread(pi.hThread);

  // The copy in the version folder shows the wizard once the start page is read.
  HWND root = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (root = ForeignWindow(L"TFormUpgrade1")) != nullptr; }, 120000));
  DWORD pid = 0;
  ::GetWindowThreadProcessId(root, &pid);
  const win32::UniqueKernelHandle program(
      ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid));
  ASSERT_TRUE(program);
  // A test that stops early ends the program too (it would hold the test's output open).
  const ScopeExit ended([&] {
    if (::WaitForSingleObject(program.Get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(program.Get(), 99);
  });
  ASSERT_TRUE(WaitFor([&] { return TextOf(Control(root, "Memo1")).find("Нажмите кн. Далее") != std::string::npos; },
                      60000));
  const std::string memo1 = TextOf(Control(root, "Memo1"));
  EXPECT_NE(memo1.find("Текущая сборка: \t7.0.0\r\nНовая сборка: \t7.12.0"), std::string::npos) << memo1;
  for (const char* build : {"Base.fdb:       сборка (7.00.000)", "StockMan.fdb:   сборка (7.00.000)",
                            "Price.fdb:      сборка (7.00.000)"})
    EXPECT_NE(memo1.find(build), std::string::npos) << memo1;
  EXPECT_TRUE(test::SaveScreenshot(*test::CaptureClient(root, false), "win32-run-1-start"));

  Click(Control(root, "Button1"));
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(Control(root, "TabSheet2")); }, 10000));
  Click(Control(root, "CheckBox1"));
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(Control(root, "Button1")); }, 10000));
  // The page is shown last, after the lines its handler writes (which let
  // messages through): a click before that would reach the same handler again.
  Click(Control(root, "Button1"));
  ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(Control(root, "TabSheet3")); }, 10000));
  ::WaitForInputIdle(program.Get(), 10000);
  EXPECT_EQ(TextOf(Control(root, "Button1")), "Установить");

  // Install: the backup is named in the memo, the packs run one by one on the
  // status line and the gauge goes green from the left. Exit is disabled
  // while the run goes on.
  Click(Control(root, "Button1"));
  HWND exit = Control(root, "Button2");
  ASSERT_TRUE(WaitFor([&] { return !::IsWindowEnabled(exit); }, 30000)) << "the run did not start";
  bool shotDuringPacks = false;
  const bool runEnded = WaitFor(
      [&] {
        if (::IsWindowEnabled(exit)) return true;
        if (shotDuringPacks || TextOf(Control(root, "Label2")).find("Service Pack") == std::string::npos) return false;
        const std::optional<test::Image> image = test::CaptureClient(root, false);
        const double green = image ? GreenShare(root, *image) : 0;
        if (green > 0.1 && green < 0.9) shotDuringPacks = test::SaveScreenshot(*image, "win32-run-2-install");
        return false;
      },
      900000);
  ASSERT_TRUE(runEnded) << "the run did not end";
  const std::string memo3 = TextOf(Control(root, "Memo3"));
  ASSERT_NE(memo3.find("Обновление версии 7.00 успешно завершено"), std::string::npos) << memo3;
  EXPECT_TRUE(shotDuringPacks) << "no screenshot with the gauge partly green";
  // At its end the run empties the status line and the gauge.
  EXPECT_EQ(TextOf(Control(root, "Label2")), "");
  const std::optional<test::Image> done = test::CaptureClient(root, false);
  ASSERT_TRUE(done);
  EXPECT_EQ(GreenShare(root, *done), 0);
  EXPECT_TRUE(test::SaveScreenshot(*done, "win32-run-3-finished"));

  // The news window over the wizard, then Exit.
  Click(Control(root, "Button3"));
  HWND news = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (news = ForeignWindow(L"TFormUpgrade2")) != nullptr; }, 10000));
  EXPECT_FALSE(::IsWindowEnabled(root)) << "the news window is modal";
  EXPECT_TRUE(test::SaveScreenshot(*test::CaptureClient(news, false), "win32-run-4-news"));
  ::PostMessageW(news, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return !ForeignWindow(L"TFormUpgrade2"); }, 10000));
  Click(Control(root, "Button2"));
  ASSERT_EQ(::WaitForSingleObject(program.Get(), 30000), WAIT_OBJECT_0);
  DWORD status = 99;
  ::GetExitCodeProcess(program.Get(), &status);
  EXPECT_EQ(status, 0u);

  EXPECT_EQ(test::FirstDifference(
                w.Snapshot(), RealFileSystem().ReadFile(test::WinPath(KV_TEST_DATA_DIR "/catalogue_level12.txt"))),
            "");
  EXPECT_EQ(test::UserValue(L"ServicePack"), 12u);
}

}  // namespace
}  // namespace kv
