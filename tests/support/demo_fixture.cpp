#include "support/demo_fixture.h"

#include <filesystem>
#include <map>
#include <memory>

#include "support/fb_test_db.h"
#include "platform/paths.h"
#include "support/schema_snapshot.h"

namespace kv::test {
namespace {

struct Template {
  TempDir dir;
  demo::DemoInstallation demo;
};

/* The template of a level and installation, built on first use. */
const Template& TemplateFor(int level, int installation, bool numbered) {
  static std::map<std::tuple<int, int, bool>, std::unique_ptr<Template>> templates;
  auto& slot = templates[{level, installation, numbered}];
  if (!slot) {
    slot = std::make_unique<Template>();
    demo::DemoOptions o{slot->dir.Path(), level, installation, numbered, false};
    slot->demo = demo::CreateDemoInstallation(TestClient(), o);
  }
  return *slot;
}

}  // namespace

DemoFixture::DemoFixture(int level, int installation, bool numbered)
    : options{dir.Path(), level, installation, numbered, false},
      demo(demo::WriteDemoFiles(options)),
      services_{TestClient(), demo.installation, dialog, RealFileSystem(), version, progress} {
  const Template& t = TemplateFor(level, installation, numbered);
  for (size_t i = 0; i < demo.databases.size(); ++i) {
    std::filesystem::create_directories(std::filesystem::path(demo.databases[i]).parent_path());
    std::filesystem::copy_file(t.demo.databases[i], demo.databases[i],
                               std::filesystem::copy_options::overwrite_existing);
  }
}

std::string DemoFixture::Level(const std::string& path) const {
  return QueryValue(path, "SELECT COALESCE(ServicePack, -1) || '/' || COALESCE(Build, -1) FROM kv_Setting");
}

std::string DemoFixture::Snapshot() const {
  const DatabasePaths& p = paths();
  std::string out;
  for (const std::string* path :
       {&p.base, &p.config, &p.orders, &p.serverOrders, &p.director, &p.price, &p.stockMan, &p.optima, &p.system})
    out += "== " + FileNameOf(*path) + "\n" + SchemaSnapshot(*path);
  return out;
}

}  // namespace kv::test
