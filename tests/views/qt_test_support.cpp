/*
** Window test helpers and the test program's entry: one QApplication on the
** offscreen platform for every test.
*/
#include "qt_test_support.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <cstdlib>
#include <filesystem>

namespace kv::test {

void Screenshot(QWidget* w, const std::string& name) {
  std::filesystem::create_directories(KV_SCREENSHOT_DIR);
  const QString path = QString::fromStdString(std::string(KV_SCREENSHOT_DIR) + "/" + name + ".png");
  EXPECT_TRUE(w->grab().save(path)) << path.toStdString();
}

std::string MemoText(QWidget* root, const char* name) {
  auto* memo = Find<QPlainTextEdit>(root, name);
  return memo ? memo->toPlainText().toStdString() : std::string();
}

}  // namespace kv::test

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
