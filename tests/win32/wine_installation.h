/*
** Installations for the Windows program's end-to-end runs under Wine: folders
** and files written by the demo code in a folder whose path has spaces and
** Cyrillic letters, the databases copied from a demo the Linux kvdemo made
** (the level-0 databases the Linux end-to-end tests start from), recorded in
** Wine's registry as the main application's 32-bit installer records them,
** the user's recorded build cleared. With the run of the built kvupgrade.exe,
** its output kept, and the databases read through the stand-in client.
*/
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "demo_installation.h"
#include "platform/win32/wide.h"

namespace kv::test {

/* The folder of a demo the Linux kvdemo made before the tests ("N1": number
** 1; "N2": number 2, numbered), as Wine shows it. */
std::string LinuxDemo(const std::string& name);

class WineInstallation {
 public:
  /* A new installation in a fresh folder (under the temporary folder, or
  ** under parent when given) with the databases of linuxDemo, made for
  ** installation number (numbered as given). It becomes the installation of
  ** the registry (one per Wine prefix). */
  WineInstallation(const std::string& linuxDemo, int number = 1, bool numbered = false,
                   const std::string& parent = "");

  const Installation& installation() const { return demo_.installation; }
  /* The folder holding everything, with a trailing separator. */
  const std::string& folder() const { return folder_; }

  /* The nine databases the packs upgrade, in the order of the snapshots. */
  std::vector<std::string> Databases() const;
  /* Their schemas, as the Linux end-to-end snapshot writes them. */
  std::string Snapshot() const;
  /* Their schemas and every row. */
  std::string Contents() const;
  /* "ServicePack/Build" of a database. */
  std::string Level(const std::string& database) const;
  /* The bytes of every file in the program folder, by name. */
  std::vector<std::pair<std::string, std::string>> ProgramFiles() const;

 private:
  std::string folder_;
  demo::DemoInstallation demo_;
};

/* A per-user registry value of the installed build (ServicePack, Build) as a
** DWORD; nullopt when it is missing. */
std::optional<DWORD> UserValue(const wchar_t* name);

/* The program file kvupgrade.exe carries as the resource of this type and
** name, inflated. */
std::string CarriedFile(const std::string& type, const std::string& name);

struct UpgradeRun {
  int status = -1;
  std::string out, err;  // out starts with a line break, so every line is "\n" + line + "\n"
  bool Printed(const std::string& line) const { return out.find("\n" + line + "\n") != std::string::npos; }
};

/* Runs the built kvupgrade.exe with args to its end (it copies itself into
** the installation's version folder and waits for the copy). */
UpgradeRun RunUpgrade(const std::vector<std::string>& args);

/* A command line of program and args, quoted as the C runtime splits it. */
std::wstring CommandLine(const std::string& program, const std::vector<std::string>& args);

/* "" when the texts are equal, else the first line where they differ, from
** each (a short message where a whole snapshot would drown the report). */
std::string FirstDifference(const std::string& actual, const std::string& expected);

/* The Unix path of a Windows path, as Wine maps it; "" when it has none. */
std::string UnixPath(const std::string& windows);

/* Whole file, read by its UTF-8 path; "" when it cannot be read. */
std::string ReadWholeFile(const std::string& path);

/* The files of a folder whose names start with prefix, sorted, as full paths. */
std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix);

}  // namespace kv::test
