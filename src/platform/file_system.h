/*
** Files and folders as the program needs them.
**
** One interface so that logic stays free of OS headers and tests can stand in
** for situations a real file system will not produce on demand (a file in use).
** Operations named "Try..." report failure by their result; the others throw
** FileError with a message that names the path and the system's reason.
*/
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/* A file open for writing. Destroying it closes it (errors then ignored);
** Close() closes it and reports a failed flush. */
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual void Write(std::string_view bytes) = 0;
  virtual void Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirExists(const std::string& path) = 0;

  /* Creates the folder with all missing parents; true when it exists afterwards. */
  virtual bool CreateDirs(const std::string& path) = 0;

  /* Sets the file's attributes to none (on POSIX: makes it writable by its
  ** owner). Quietly does nothing when the file is missing or cannot be changed. */
  virtual void ClearAttributes(const std::string& path) = 0;

  /* Deletes the file; false when it could not be deleted (a missing file
  ** counts as deleted). */
  virtual bool TryDeleteFile(const std::string& path) = 0;

  /* Copies a file; fails (false) when the target exists or the copy fails.
  ** A failed copy leaves no partial target behind. */
  virtual bool TryCopyFile(const std::string& from, const std::string& to) = 0;

  /* Renames a file, replacing the target. Throws FileError. */
  virtual void RenameFile(const std::string& from, const std::string& to) = 0;

  /* Renames a file that could be replaced, keeping its attributes, replacing
  ** the target: false, with nothing changed, when it could not. On Windows a
  ** running program or a file another program holds open could not (though
  ** the system would rename a running program); anywhere, a protected file. */
  virtual bool TryMoveAside(const std::string& from, const std::string& to) = 0;

  /* Whole content of a file. Throws FileError. */
  virtual std::string ReadFile(const std::string& path) = 0;

  /* Opens the file for appending, creating it when missing, writes the bytes and
  ** closes it again. Throws FileError. */
  virtual void AppendToFile(const std::string& path, std::string_view bytes) = 0;

  /* Creates (or truncates) a file for writing. Throws FileError. */
  virtual std::unique_ptr<OutputFile> OpenForWrite(const std::string& path) = 0;
};

/* Deletes the file when it exists, clearing its attributes first.
** True when the file is absent afterwards. */
bool DeleteIfExists(FileSystem& fs, const std::string& path);

/* The machine's real file system. */
FileSystem& RealFileSystem();

}  // namespace kv
