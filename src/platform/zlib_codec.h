/*
** zlib streams: the format of the program-file packages the wizard carries.
**
** Packing happens at build time, whole files at once; unpacking happens on the
** operator's machine piece by piece, so a package never sits inflated in memory.
*/
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/unique_handle.h"

struct z_stream_s;

namespace kv {

/* An inflating zlib stream: its state is ended and its memory freed on close. */
struct InflateStreamTraits {
  using Handle = z_stream_s*;
  static Handle None() { return nullptr; }
  void Close(Handle z) const;
};

class ZlibError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/* Compresses bytes into one zlib stream at the best compression level
** (header bytes 78 DA). Throws ZlibError when zlib fails. */
std::string DeflateBest(std::string_view bytes);

/* One zlib stream, inflated as its bytes arrive. Owns the zlib state. */
class ZlibInflater {
 public:
  /* Throws ZlibError when zlib cannot set up its state. */
  ZlibInflater();
  ZlibInflater(const ZlibInflater&) = delete;
  ZlibInflater& operator=(const ZlibInflater&) = delete;

  using Sink = std::function<void(std::string_view)>;

  /* Inflates the next piece of the stream, handing each inflated chunk to sink
  ** in order. Returns how many bytes of input belong to the stream: all of
  ** them, unless the stream ended inside input. Throws ZlibError when the
  ** bytes are not a valid zlib stream (bad header, data or checksum). */
  std::size_t Inflate(std::string_view input, const Sink& sink);

  /* True once the end of the stream, checksum included, has been read. */
  bool Finished() const { return finished_; }

 private:
  UniqueHandle<InflateStreamTraits> z_;
  bool finished_ = false;
};

}  // namespace kv
