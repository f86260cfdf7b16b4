// Windows-1251 conversion and the reading of eight-bit text files.
#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(TextCodec, Windows1251RoundTripAndSubstitution) {
  const std::string utf8 = "Закрытие программы Ёё №";
  const std::string ansi = Utf8ToAnsi(utf8);
  EXPECT_EQ(ansi, "\xC7\xE0\xEA\xF0\xFB\xF2\xE8\xE5 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB \xA8\xB8 \xB9");
  EXPECT_EQ(AnsiToUtf8(ansi), utf8);
  // Characters the code page lacks become '?', one per character.
  EXPECT_EQ(Utf8ToAnsi("a€b中c"), "a\x88" "b?c");
  EXPECT_EQ(Utf8ToAnsi("x\xFFy"), "x?y");  // a stray byte too
}

TEST(TextCodec, EightBitFilesAreReadAsUtf8OnlyWhenTheyAreUtf8) {
  EXPECT_EQ(EightBitToUtf8("plain"), "plain");
  EXPECT_EQ(EightBitToUtf8("\xEF\xBB\xBFпуть"), "путь");
  EXPECT_EQ(EightBitToUtf8("путь"), "путь");
  EXPECT_EQ(EightBitToUtf8("\xEF\xF3\xF2\xFC"), "путь");  // Windows-1251
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));                   // overlong
  EXPECT_FALSE(IsValidUtf8("\xD0"));                       // truncated
}

TEST(TextCodec, AnsiUpperChangesExactlyTheLettersOfTheCodePage) {
  EXPECT_EQ(AnsiUpper("/data/Версия/700/kvupgrade"), "/DATA/ВЕРСИЯ/700/KVUPGRADE");
  EXPECT_EQ(AnsiUpper("ёђѓєѕіїјљњћќўџґ"), "ЁЂЃЄЅІЇЈЉЊЋЌЎЏҐ");
  EXPECT_EQ(AnsiUpper("ЁЖ AZ"), "ЁЖ AZ");
  // Letters the code page lacks, and other scripts, stay as they are.
  EXPECT_EQ(AnsiUpper("ѐѝäß中"), "ѐѝäß中");
  EXPECT_EQ(AnsiUpper("a\xFF" "b"), "A\xFF" "B");  // a stray byte
}

}  // namespace
}  // namespace kv
