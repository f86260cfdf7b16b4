// The register log's lines, captions and codes.
#include "startup/register_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/text_codec.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace kv {
namespace {

using test::FixedClock;
using test::ReadFile;
using test::RecordingDialog;
using test::TempDir;

struct LogFixture {
  TempDir dir;
  FixedClock clock;
  RecordingDialog dialog;
  RegisterLog log{{kApplicationTitle, "/opt/kv/Версия/700/kvupgrade", dir / "Info/", dir / "Info/Register 2026.log"},
                  RealFileSystem(), clock, dialog};

  std::string Bytes() { return ReadFile(dir / "Info/Register 2026.log"); }
};

TEST(RegisterLog, ExampleLinesByteForByte) {
  LogFixture f;
  f.log.ReportCode(0);  // creates the Info folder
  f.log.ReportCode(11);
  f.clock.Set({2026, 12, 7, 9, 15, 3});
  f.log.ReportCode(113);
  f.clock.Set({2026, 12, 7, 9, 40, 10});
  f.log.ReportCode(9);
  EXPECT_EQ(f.Bytes(),
            "\r\n"
            " 000: *07.12.2026 09:15:02\r\n"
            "upgrade 7.10 d 011: *07.12.2026 09:15:02\r\n"
            " 113: *07.12.2026 09:15:03\r\n" +
                Utf8ToAnsi("Закрытие программы") + " upgrade 7.10 d 009: *07.12.2026 09:40:10\r\n");
  EXPECT_TRUE(f.dialog.messages.empty());
}

TEST(RegisterLog, CaptionsPaddingAndMidnight) {
  LogFixture f;
  RealFileSystem().CreateDirs(f.dir / "Info/");
  f.clock.Set({2027, 1, 2, 0, 0, 0});
  f.log.ReportCode(1);
  f.log.ReportCode(7);
  f.log.ReportCode(99);
  f.log.ReportCode(503);   // not in the table: the title
  f.log.ReportCode(1000);  // wider than three digits: unpadded
  f.log.ReportCode(4000);  // starts a block like 0
  f.log.ReportCode(801);   // caption with the count
  f.log.ReportCode(9901);
  EXPECT_EQ(AnsiToUtf8(f.Bytes()),
            "Запуск программы: /opt/kv/Версия/700/kvupgrade 001: *02.01.2027\r\n"
            "upgrade 7.10 d 007: *02.01.2027\r\n"
            "upgrade 7.10 d 099: *02.01.2027\r\n"
            "upgrade 7.10 d 503: *02.01.2027\r\n"
            "upgrade 7.10 d 1000: *02.01.2027\r\n"
            "\r\nupgrade 7.10 d 4000: *02.01.2027\r\n"
            "Склад обновлён. № 0 801: *02.01.2027\r\n"
            "-0 9901: *02.01.2027\r\n");
}

TEST(RegisterLog, DetailNumberShowsItsMessageOnceForCodes101To104) {
  LogFixture f;
  RealFileSystem().CreateDirs(f.dir / "Info/");
  f.log.SetDetail(5);
  f.log.ReportCode(101);
  f.log.ReportCode(101);
  ASSERT_EQ(f.dialog.messages.size(), 1u);
  EXPECT_EQ(f.dialog.messages[0], "Произошла ошибка. Код: 101-5\r\rПроверьте по таблице кодов");
  EXPECT_EQ(AnsiToUtf8(f.Bytes()), " 5 101: *07.12.2026 09:15:02\r\n 0 101: *07.12.2026 09:15:02\r\n");
}

TEST(RegisterLog, UncreatableInfoFolderSuppressesBlockStartsOtherCodesFail) {
  TempDir dir;
  FixedClock clock;
  RecordingDialog dialog;
  test::WriteFile(dir / "file", "x");  // a file where a folder should be
  RegisterLog log({kApplicationTitle, "/p", dir / "file/Info/", dir / "file/Info/Register 2026.log"},
                  RealFileSystem(), clock, dialog);
  EXPECT_NO_THROW(log.ReportCode(0));
  EXPECT_THROW(log.ReportCode(11), FileError);
}

TEST(RegisterLog, PadCodeKeepsTheSignInFront) {
  EXPECT_EQ(PadCode(0), "000");
  EXPECT_EQ(PadCode(-5), "-005");
  EXPECT_EQ(PadCode(12345), "12345");
}

}  // namespace
}  // namespace kv
