// Loading shared libraries at run time.
#include "platform/dynamic_library.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(DynamicLibrary, AMissingLibraryIsAnErrorNamingEveryCandidate) {
  std::string error;
  EXPECT_EQ(LoadDynamicLibrary({"libkv-missing-one.so.9", "libkv-missing-two.so"}, error), nullptr);
  EXPECT_NE(error.find("libkv-missing-one.so.9"), std::string::npos) << error;
  EXPECT_NE(error.find("libkv-missing-two.so"), std::string::npos) << error;

  auto libc = LoadDynamicLibrary({"libkv-missing-one.so.9", "libc.so.6"}, error);
  ASSERT_NE(libc, nullptr);
  EXPECT_NE(libc->Symbol("strlen"), nullptr);
  EXPECT_EQ(libc->Symbol("kv_no_such_symbol"), nullptr);
}

}  // namespace
}  // namespace kv
