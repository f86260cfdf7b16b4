/*
** zlib streams through the system's zlib.
*/
#include "platform/zlib_codec.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace kv {
namespace {

std::string Reason(const z_stream& z, int rc) {
  if (z.msg != nullptr) return z.msg;
  return "zlib error " + std::to_string(rc);
}

}  // namespace

std::string DeflateBest(std::string_view bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string out(size, '\0');
  int rc = compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                     reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()),
                     Z_BEST_COMPRESSION);
  if (rc != Z_OK) throw ZlibError("cannot compress: zlib error " + std::to_string(rc));
  out.resize(size);
  return out;
}

void InflateStreamTraits::Close(z_stream* z) const {
  inflateEnd(z);
  delete z;
}

ZlibInflater::ZlibInflater() {
  auto z = std::make_unique<z_stream>();
  int rc = inflateInit(z.get());
  if (rc != Z_OK) throw ZlibError("cannot start inflating: " + Reason(*z, rc));
  z_.Reset(z.release());
}

std::size_t ZlibInflater::Inflate(std::string_view input, const Sink& sink) {
  z_stream* const z = z_.Get();
  char out[65536];
  std::size_t used = 0;
  while (!finished_ && used < input.size()) {
    const std::size_t piece = std::min<std::size_t>(input.size() - used, UINT_MAX);
    z->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data() + used));
    z->avail_in = static_cast<uInt>(piece);
    // Drain everything this piece yields before taking more input.
    do {
      z->next_out = reinterpret_cast<Bytef*>(out);
      z->avail_out = sizeof out;
      int rc = inflate(z, Z_NO_FLUSH);
      if (rc == Z_STREAM_END) {
        finished_ = true;
      } else if (rc == Z_NEED_DICT) {
        throw ZlibError("not a package stream: it needs a preset dictionary");
      } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
        throw ZlibError(Reason(*z, rc));
      }
      const std::size_t produced = sizeof out - z->avail_out;
      if (produced > 0) sink(std::string_view(out, produced));
      if (rc == Z_BUF_ERROR && produced == 0) break;  // no progress possible: input used up
    } while (!finished_ && (z->avail_in > 0 || z->avail_out == 0));
    const std::size_t consumed = piece - z->avail_in;
    if (consumed == 0 && !finished_) throw ZlibError("inflating makes no progress");
    used += consumed;
  }
  return used;
}

}  // namespace kv
