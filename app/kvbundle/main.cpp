/*
** kvbundle: the build step that makes kvupgrade carry its version record and
** the program files it installs.
**
**   kvbundle append EXE --version A.B.C.D [--package TYPE NAME FILE]...
**       packs every FILE as one zlib stream at the best compression and appends
**       the bundle to EXE, replacing the one it carries (so a rerun is harmless)
**   kvbundle list EXE
**       prints the version record and the resources EXE carries
**   kvbundle standin OUT SIZE NAME
**       writes a deterministic stand-in program file of SIZE bytes
**   kvbundle pack IN OUT
**       writes IN as one zlib stream at the best compression: a package as the
**       Windows program carries it in a PE resource
*/
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/own_executable.h"
#include "platform/resource_bundle.h"
#include "platform/zlib_codec.h"
#include "standin.h"

namespace {

constexpr int kUsageError = 64;

int Usage() {
  std::cerr << "usage: kvbundle append EXE --version A.B.C.D [--package TYPE NAME FILE]...\n"
               "       kvbundle list EXE\n"
               "       kvbundle standin OUT SIZE NAME\n"
               "       kvbundle pack IN OUT\n";
  return kUsageError;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open \"" + path + "\"");
  std::ostringstream s;
  s << in.rdbuf();
  if (!in && !in.eof()) throw std::runtime_error("cannot read \"" + path + "\"");
  return std::move(s).str();
}

int Append(const std::vector<std::string>& args) {
  if (args.empty()) return Usage();
  const std::string& exe = args[0];
  bool haveVersion = false;
  std::vector<kv::BundleEntry> entries;
  for (std::size_t i = 1; i < args.size();) {
    if (args[i] == "--version" && i + 1 < args.size()) {
      kv::FileVersion v;
      if (!kv::ParseFileVersion(args[i + 1], v)) {
        std::cerr << "kvbundle: bad version \"" << args[i + 1] << "\"\n";
        return kUsageError;
      }
      entries.insert(entries.begin(), {std::string(kv::kVersionResourceType),
                                       std::string(kv::kVersionResourceName), kv::EncodeFileVersion(v)});
      haveVersion = true;
      i += 2;
    } else if (args[i] == "--package" && i + 3 < args.size()) {
      entries.push_back({args[i + 1], args[i + 2], kv::DeflateBest(ReadWhole(args[i + 3]))});
      i += 4;
    } else {
      return Usage();
    }
  }
  if (!haveVersion) return Usage();
  kv::WriteBundle(exe, entries);
  return 0;
}

int List(const std::vector<std::string>& args) {
  if (args.size() != 1) return Usage();
  auto exe = kv::OpenBundledExecutable(args[0]);
  const kv::FileVersion v = exe->ReadOwnFileVersion(args[0]);
  std::cout << "version " << v.major << "." << v.minor << "." << v.servicePack << "." << v.build << "\n";
  kv::BundleReader reader(args[0]);
  for (const kv::BundleItem& item : reader.Items())
    std::cout << item.type << "/" << item.name << "\t" << item.size << " bytes at " << item.offset << "\n";
  return 0;
}

int StandIn(const std::vector<std::string>& args) {
  std::uint64_t size = 0;
  if (args.size() != 3) return Usage();
  const std::string& text = args[1];
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), size);
  if (ec != std::errc() || end != text.data() + text.size()) return Usage();
  const std::filesystem::path out(args[0]);
  if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path());
  const std::string bytes = kv::MakeStandIn(size, args[2]);
  std::ofstream file(out, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write \"" + args[0] + "\"");
  return 0;
}

int Pack(const std::vector<std::string>& args) {
  if (args.size() != 2) return Usage();
  const std::string packed = kv::DeflateBest(ReadWhole(args[0]));
  std::ofstream file(args[1], std::ios::binary | std::ios::trunc);
  file.write(packed.data(), static_cast<std::streamsize>(packed.size()));
  file.close();
  if (!file) throw std::runtime_error("cannot write \"" + args[1] + "\"");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  try {
    if (command == "append") return Append(args);
    if (command == "list") return List(args);
    if (command == "standin") return StandIn(args);
    if (command == "pack") return Pack(args);
    return Usage();
  } catch (const std::exception& e) {
    std::cerr << "kvbundle: " << e.what() << "\n";
    return 1;
  }
}
