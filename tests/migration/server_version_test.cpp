// The server's version number and the warning for an old server.
#include "migration/server_version.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace kv {
namespace {

TEST(ServerVersion, LastWordTimesTenRoundedHalfToEven) {
  EXPECT_EQ(ParseFirebirdVersion("WI-V2.1.3.18185 Firebird 2.1"), 21);
  EXPECT_EQ(ParseFirebirdVersion("WI-V2.5.2.26540 Firebird 2.5"), 25);
  EXPECT_EQ(ParseFirebirdVersion("LI-V3.0.11.33637 Firebird 3.0"), 30);
  EXPECT_EQ(ParseFirebirdVersion("x 2.45"), 24);   // 24.5 to the even neighbour
  EXPECT_EQ(ParseFirebirdVersion("x 2.35"), 24);   // 23.5 to the even neighbour
  EXPECT_EQ(ParseFirebirdVersion("x 2.451"), 25);  // above the half
  EXPECT_EQ(ParseFirebirdVersion("x 3"), 30);
  EXPECT_EQ(ParseFirebirdVersion("x .5"), 5);
  EXPECT_EQ(ParseFirebirdVersion("x 2.5e0"), 25);
  EXPECT_EQ(ParseFirebirdVersion("LI-V2.1.7"), std::nullopt);  // no blank, not a number
  EXPECT_EQ(ParseFirebirdVersion("Firebird 3.0 "), std::nullopt);
  EXPECT_EQ(ParseFirebirdVersion("x 3.0.1"), std::nullopt);
  EXPECT_EQ(ParseFirebirdVersion(""), std::nullopt);
  EXPECT_THROW(ParseFirebirdVersion("x 1e20"), std::out_of_range);
}

TEST(ServerVersion, OldServersAreWarnedAndAskedOthersNot) {
  {
    FirebirdVersionState state;
    test::RecordingDialog dialog;
    dialog.answers = {false};
    EXPECT_FALSE(AcceptServerVersion("WI-V2.1.3.18185 Firebird 2.1", state, dialog));
    EXPECT_EQ(state.FirebirdVersion, 21);
    ASSERT_EQ(dialog.messages.size(), 1u);
    EXPECT_EQ(dialog.messages[0],
              "У Вас устаревшая версия Firebird 2.1\r\rНовую версию Firebird 2.5 можно приобрести у разработчика\r"
              "БЕСПЛАТНО (т.е. на халяву)\r\rPS. Работоспособность программы \"Квенира\"\r"
              "на старом Firebird не гарантируется");
    EXPECT_EQ(dialog.questions, std::vector<std::string>{"Продолжить установку?"});
  }
  for (auto [text, stored] : {std::pair{"x 2.45", 24}, std::pair{"x 1", 10}}) {
    FirebirdVersionState state;
    test::RecordingDialog dialog;
    EXPECT_TRUE(AcceptServerVersion(text, state, dialog));  // answered Yes
    EXPECT_EQ(state.FirebirdVersion, stored);
    EXPECT_NE(dialog.messages.at(0).find(stored == 24 ? "Firebird 2.4\r" : "Firebird 1\r"), std::string::npos);
  }
  for (auto [text, stored] : {std::pair{"x 2.5", 25}, std::pair{"LI-V2.1.7", -1}, std::pair{"x 0", 0}}) {
    FirebirdVersionState state;
    test::RecordingDialog dialog;
    EXPECT_TRUE(AcceptServerVersion(text, state, dialog));
    EXPECT_EQ(state.FirebirdVersion, stored);
    EXPECT_TRUE(dialog.messages.empty() && dialog.questions.empty());
  }
}

}  // namespace
}  // namespace kv
