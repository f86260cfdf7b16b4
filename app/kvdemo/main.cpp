/*
** kvdemo: creates a demo installation in a folder, at a chosen level, for the
** wizard to upgrade.
**
**   kvdemo FOLDER [--level L] [--installation N] [--no-forced-writes]
*/
#include <charconv>
#include <iostream>

#include "demo_installation.h"
#include "migration/fb/error.h"

namespace {

bool ParseInt(const std::string& text, int& out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

int Usage(const std::string& why) {
  std::cerr << "kvdemo: " << why << "\n"
            << "usage: kvdemo FOLDER [--level L] [--installation N] [--no-forced-writes]\n";
  return 64;
}

}  // namespace

int main(int argc, char** argv) {
  kv::demo::DemoOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "--level" || a == "--installation") && i + 1 < argc) {
      int n = 0;
      if (!ParseInt(argv[++i], n) || n < (a == "--level" ? 0 : 1)) return Usage("bad number for " + a);
      if (a == "--level") {
        options.level = n;
      } else {
        options.installation = n;
        options.numbered = true;
      }
    } else if (a == "--no-forced-writes") {
      options.forcedWrites = false;
    } else if (!a.empty() && a[0] != '-' && options.folder.empty()) {
      options.folder = a;
    } else {
      return Usage("unexpected argument \"" + a + "\"");
    }
  }
  if (options.folder.empty()) return Usage("no folder given");
  if (options.level > 12) return Usage("the catalogue ends at level 12");
  try {
    auto client = kv::fb::Client::Load();
    kv::demo::DemoInstallation demo = kv::demo::CreateDemoInstallation(*client, options);
    std::cout << "Demo installation at level " << options.level << " in " << options.folder << "\n";
    for (const std::string& db : demo.databases) std::cout << "  " << db << "\n";
    std::cout << "export KV_REGISTRY='" << demo.registryPath << "'\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "kvdemo: " << e.what() << "\n";
    return 1;
  }
}
