// The text sent to the server and the parameter block built from connection lines.
#include <gtest/gtest.h>

#include "migration/context.h"
#include "migration/fb/attachment.h"
#include "migration/fb/statement.h"

namespace kv {
namespace {

TEST(StatementText, LinesEndInCrLfAndParametersBecomePositional) {
  EXPECT_EQ(StatementText({"UPDATE kv_Setting", "SET ServicePack = :p0, Build = :p1"}),
            "UPDATE kv_Setting\r\nSET ServicePack = :p0, Build = :p1\r\n");

  auto sql = fb::ToPositional("UPDATE Product\r\nSET pOtkos=:p0\r\nWHERE NOM=:p1 and NumberProduct=:p2\r\n");
  EXPECT_EQ(sql.text, "UPDATE Product\r\nSET pOtkos=?\r\nWHERE NOM=? and NumberProduct=?\r\n");
  EXPECT_EQ(sql.order, (std::vector<int>{0, 1, 2}));

  // Repeated and reordered numbers; literals, identifiers and look-alikes stay.
  sql = fb::ToPositional("SELECT ':p0', \"a:p1\" FROM t WHERE a=:p1 OR b=:p0 OR c=:p1x OR d=x:p0 OR e=:P10");
  EXPECT_EQ(sql.text, "SELECT ':p0', \"a:p1\" FROM t WHERE a=? OR b=? OR c=:p1x OR d=x:p0 OR e=?");
  EXPECT_EQ(sql.order, (std::vector<int>{1, 0, 10}));
  EXPECT_EQ(fb::ToPositional("x = 'it''s :p0' AND y=:p0").order, std::vector<int>{0});
}

TEST(StatementText, ConnectionLinesBecomeTheParameterBlock) {
  const std::string dpb = fb::BuildDpb({"user_name=kv5.3", "password=0000001B"}, "UTF8");
  // version 1, then tag/length/value triples, the last saying the file name is UTF-8
  EXPECT_EQ(dpb, std::string("\x01\x1c\x05kv5.3\x1d\x08" "0000001B\x30\x04UTF8\x4d\x00", 26));
  EXPECT_THROW(fb::BuildDpb({"role=x"}, ""), std::exception);
}

}  // namespace
}  // namespace kv
