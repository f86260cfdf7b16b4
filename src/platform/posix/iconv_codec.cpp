/*
** Windows-1251 conversion on POSIX through iconv.
*/
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/text_codec.h"
#include "platform/unique_handle.h"

namespace kv {
namespace {

struct IconvTraits {
  using Handle = iconv_t;
  static Handle None() { return reinterpret_cast<iconv_t>(-1); }
  void Close(Handle cd) const { iconv_close(cd); }
};

/* One iconv conversion descriptor. */
class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (!cd_) throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
  }

  /* Converts text; an input sequence that cannot be converted becomes '?' and
  ** the conversion resumes after it (skip bytes as given by skipInvalid). */
  template <class Skip>
  std::string Convert(std::string_view text, Skip skipInvalid) {
    std::string out;
    out.reserve(text.size() * 2);
    iconv(cd_.Get(), nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buf[1024];
    while (inLeft > 0) {
      char* outPtr = buf;
      size_t outLeft = sizeof buf;
      size_t rc = iconv(cd_.Get(), &in, &inLeft, &outPtr, &outLeft);
      out.append(buf, static_cast<size_t>(outPtr - buf));
      if (rc != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: an unconvertible or truncated sequence.
      size_t skip = skipInvalid(std::string_view(in, inLeft));
      out.push_back('?');
      in += skip;
      inLeft -= skip;
    }
    return out;
  }

 private:
  UniqueHandle<IconvTraits> cd_;
};

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
  IconvHandle cd("WINDOWS-1251", "UTF-8");
  return cd.Convert(utf8, Utf8SequenceLength);
}

std::string AnsiToUtf8(std::string_view ansi) {
  IconvHandle cd("UTF-8", "WINDOWS-1251");
  return cd.Convert(ansi, [](std::string_view) { return size_t{1}; });
}

}  // namespace kv
