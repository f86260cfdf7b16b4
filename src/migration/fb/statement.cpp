/*
** Prepared statements over the DSQL calls of the client library.
*/
#include "migration/fb/statement.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "migration/fb/api.h"
#include "migration/fb/error.h"

namespace kv::fb {
namespace {

/* A descriptor area, allocated with the room the client library expects. */
struct DescriptorAreaTraits {
  using Handle = XSQLDA*;
  static Handle None() { return nullptr; }
  void Close(Handle p) const { std::free(p); }
};
using DaPtr = UniqueHandle<DescriptorAreaTraits>;

DaPtr AllocDa(int n) {
  if (n < 1) n = 1;
  auto* p = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(n)));
  if (!p) throw std::bad_alloc();
  p->version = SQLDA_VERSION1;
  p->sqln = static_cast<ISC_SHORT>(n);
  return DaPtr(p);
}

bool IsIdentChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
}

[[noreturn]] void Fail(const std::string& message) { throw Error(message, 0); }

std::string FormatScaled(std::int64_t value, int scale) {
  const bool negative = value < 0;
  // Unsigned magnitude: the lowest 64-bit value has no positive counterpart.
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  if (scale >= 0) {
    digits.append(static_cast<size_t>(scale), '0');
  } else {
    const size_t places = static_cast<size_t>(-scale);
    if (digits.size() <= places) digits.insert(0, places - digits.size() + 1, '0');
    digits.insert(digits.size() - places, ".");
  }
  if (negative) digits.insert(digits.begin(), '-');
  return digits;
}

}  // namespace

PositionalSql ToPositional(const std::string& text) {
  PositionalSql out;
  out.text.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\'' || c == '"') {
      // Copy a quoted literal or identifier whole (a doubled quote stays inside).
      size_t end = i + 1;
      while (end < text.size() && !(text[end] == c && (end + 1 >= text.size() || text[end + 1] != c)))
        end += (text[end] == c) ? 2 : 1;
      out.text.append(text, i, end - i + 1);
      i = end;
      continue;
    }
    if (c == ':' && i + 2 < text.size() && (text[i + 1] == 'p' || text[i + 1] == 'P') &&
        (i == 0 || !IsIdentChar(text[i - 1]))) {
      size_t j = i + 2;
      while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
      if (j > i + 2 && (j == text.size() || !IsIdentChar(text[j]))) {
        int number = 0;
        std::from_chars(text.data() + i + 2, text.data() + j, number);
        out.order.push_back(number);
        out.text.push_back('?');
        i = j - 1;
        continue;
      }
    }
    out.text.push_back(c);
  }
  return out;
}

struct Statement::Impl {
  const Api* api = nullptr;
  Attachment* attachment = nullptr;
  Transaction* executedIn = nullptr;
  std::string text;  // as given, for the client's observer
  std::vector<int> order;
  std::vector<ParamValue> values;
  DaPtr in, out;
  std::vector<std::vector<char>> outData;
  std::vector<short> outNull;
  bool cursorOpen = false;
  StatementHandle handle;  // last: dropped before the areas it was described into

  const XSQLVAR& Column(int column) const {
    if (column < 0 || column >= out->sqld) Fail("column " + std::to_string(column) + " is not in the result");
    return out->sqlvar[column];
  }
};

Statement::Statement(Transaction& tr, const std::string& text) : impl_(std::make_unique<Impl>()) {
  Impl& s = *impl_;
  s.attachment = &tr.attachment();
  s.api = &s.attachment->client().api();
  s.handle = StatementHandle({s.api});
  s.text = text;
  PositionalSql sql = ToPositional(text);
  if (sql.text.size() > 65535) Fail("statement text too long");
  s.order = std::move(sql.order);

  const Api& api = *s.api;
  api.Checked(api.isc_dsql_allocate_statement, s.attachment->handle(), s.handle.Put());

  s.out = AllocDa(1);
  api.Checked(api.isc_dsql_prepare, tr.handle(), s.handle.Addr(), static_cast<unsigned short>(sql.text.size()),
              sql.text.c_str(), SQL_DIALECT_V6, s.out.Get());
  if (s.out->sqld > s.out->sqln) {
    s.out = AllocDa(s.out->sqld);
    api.Checked(api.isc_dsql_describe, s.handle.Addr(), SQL_DIALECT_V6, s.out.Get());
  }
  s.outData.resize(static_cast<size_t>(s.out->sqld));
  s.outNull.resize(static_cast<size_t>(s.out->sqld));
  for (int i = 0; i < s.out->sqld; ++i) {
    XSQLVAR& v = s.out->sqlvar[i];
    size_t size = static_cast<size_t>(v.sqllen) + ((v.sqltype & ~1) == SQL_VARYING ? 2 : 0);
    s.outData[static_cast<size_t>(i)].assign(size == 0 ? 1 : size, 0);
    v.sqldata = s.outData[static_cast<size_t>(i)].data();
    v.sqlind = &s.outNull[static_cast<size_t>(i)];
  }

  s.in = AllocDa(static_cast<int>(s.order.size()));
  api.Checked(api.isc_dsql_describe_bind, s.handle.Addr(), SQL_DIALECT_V6, s.in.Get());
  if (s.in->sqld != static_cast<int>(s.order.size()))
    Fail("statement has " + std::to_string(s.in->sqld) + " parameters, text names " +
         std::to_string(s.order.size()));
  int highest = -1;
  for (int n : s.order) highest = std::max(highest, n);
  s.values.resize(static_cast<size_t>(highest + 1));

  const char items[] = {isc_info_sql_stmt_type};
  char info[16] = {};
  api.Checked(api.isc_dsql_sql_info, s.handle.Addr(), sizeof items, items, sizeof info, info);
  if (info[0] == isc_info_sql_stmt_type) {
    auto length = static_cast<short>(s.api->isc_vax_integer(info + 1, 2));
    long type = s.api->isc_vax_integer(info + 3, length);
    isQuery_ = type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
  }
}

Statement::~Statement() = default;

Statement::Statement(Statement&&) noexcept = default;

void Statement::SetInt(int number, std::int32_t value) {
  if (number < 0 || static_cast<size_t>(number) >= impl_->values.size()) Fail("no parameter :p" + std::to_string(number));
  impl_->values[static_cast<size_t>(number)] = value;
}

void Statement::SetText(int number, std::string value) {
  if (number < 0 || static_cast<size_t>(number) >= impl_->values.size()) Fail("no parameter :p" + std::to_string(number));
  impl_->values[static_cast<size_t>(number)] = std::move(value);
}

void Statement::Execute(Transaction& tr) {
  Impl& s = *impl_;
  CloseCursor();
  short notNull = 0;
  for (size_t i = 0; i < s.order.size(); ++i) {
    XSQLVAR& v = s.in->sqlvar[i];
    auto& value = s.values[static_cast<size_t>(s.order[i])];
    v.sqlind = &notNull;
    if (auto* n = std::get_if<std::int32_t>(&value)) {
      v.sqltype = SQL_LONG | 1;
      v.sqlscale = 0;
      v.sqlsubtype = 0;
      v.sqllen = sizeof(std::int32_t);
      v.sqldata = reinterpret_cast<char*>(n);
    } else if (auto* t = std::get_if<std::string>(&value)) {
      const short type = static_cast<short>(v.sqltype & ~1);
      if (type != SQL_TEXT && type != SQL_VARYING) v.sqlsubtype = 0;  // keep a described character set
      if (t->size() > 32767) Fail("parameter text too long");
      v.sqltype = SQL_TEXT | 1;
      v.sqllen = static_cast<ISC_SHORT>(t->size());
      v.sqldata = t->data();
    } else {
      Fail("parameter :p" + std::to_string(s.order[i]) + " is not set");
    }
  }
  s.api->Checked(s.api->isc_dsql_execute, tr.handle(), s.handle.Addr(), SQL_DIALECT_V6,
                 s.order.empty() ? nullptr : s.in.Get());
  s.executedIn = &tr;
  s.cursorOpen = isQuery_;
  if (ExecutionObserver* observer = s.attachment->client().observer())
    observer->Executed(s.attachment->path(), *tr.handle(), s.text, s.values, isQuery_);
}

bool Statement::Fetch() {
  Impl& s = *impl_;
  if (!s.cursorOpen) Fail("no open result set");
  // The end of the result set is a success that returns 100.
  return s.api->Checked(s.api->isc_dsql_fetch, s.handle.Addr(), SQL_DIALECT_V6, s.out.Get()) != 100;
}

void Statement::CloseCursor() noexcept {
  if (!impl_->cursorOpen) return;
  impl_->api->Unchecked(impl_->api->isc_dsql_free_statement, impl_->handle.Addr(), DSQL_close);
  impl_->cursorOpen = false;
}

int Statement::ColumnCount() const { return impl_->out->sqld; }

bool Statement::IsNull(int column) const {
  const XSQLVAR& v = impl_->Column(column);
  return (v.sqltype & 1) && *v.sqlind < 0;
}

std::int64_t Statement::AsInt64(int column) const {
  const XSQLVAR& v = impl_->Column(column);
  if (IsNull(column)) return 0;
  std::int64_t raw = 0;
  switch (v.sqltype & ~1) {
    case SQL_SHORT: raw = *reinterpret_cast<const ISC_SHORT*>(v.sqldata); break;
    case SQL_LONG: raw = *reinterpret_cast<const ISC_LONG*>(v.sqldata); break;
    case SQL_INT64: raw = *reinterpret_cast<const ISC_INT64*>(v.sqldata); break;
    default: {
      std::string text = AsText(column);
      std::int64_t n = 0;
      const char* b = text.data();
      while (*b == ' ') ++b;
      auto [end, ec] = std::from_chars(b, text.data() + text.size(), n);
      while (end < text.data() + text.size() && *end == ' ') ++end;
      if (ec != std::errc() || end != text.data() + text.size())
        Fail("\"" + text + "\" is not a valid integer value");
      return n;
    }
  }
  // A scaled numeric reads as its whole part, rounded like the integer conversion does.
  for (int s = v.sqlscale; s < 0; ++s) raw = (raw + (raw >= 0 ? 5 : -5)) / 10;
  for (int s = v.sqlscale; s > 0; --s) raw *= 10;
  return raw;
}

std::int32_t Statement::AsInt32(int column) const {
  std::int64_t n = AsInt64(column);
  if (n < INT32_MIN || n > INT32_MAX) Fail(std::to_string(n) + " is outside the integer range");
  return static_cast<std::int32_t>(n);
}

std::string Statement::AsText(int column) const {
  const Impl& s = *impl_;
  const XSQLVAR& v = s.Column(column);
  if (IsNull(column)) return {};
  char buf[64];
  switch (v.sqltype & ~1) {
    case SQL_TEXT: return std::string(v.sqldata, static_cast<size_t>(v.sqllen));
    case SQL_VARYING: {
      auto len = *reinterpret_cast<const unsigned short*>(v.sqldata);
      return std::string(v.sqldata + 2, len);
    }
    case SQL_SHORT: return FormatScaled(*reinterpret_cast<const ISC_SHORT*>(v.sqldata), v.sqlscale);
    case SQL_LONG: return FormatScaled(*reinterpret_cast<const ISC_LONG*>(v.sqldata), v.sqlscale);
    case SQL_INT64: return FormatScaled(*reinterpret_cast<const ISC_INT64*>(v.sqldata), v.sqlscale);
    case SQL_FLOAT: std::snprintf(buf, sizeof buf, "%.7g", double{*reinterpret_cast<const float*>(v.sqldata)}); return buf;
    case SQL_DOUBLE: std::snprintf(buf, sizeof buf, "%.15g", *reinterpret_cast<const double*>(v.sqldata)); return buf;
    case SQL_BOOLEAN: return *reinterpret_cast<const unsigned char*>(v.sqldata) ? "TRUE" : "FALSE";
    case SQL_TYPE_DATE: {
      std::tm tm{};
      s.api->isc_decode_sql_date(reinterpret_cast<const ISC_DATE*>(v.sqldata), &tm);
      std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
      return buf;
    }
    case SQL_TYPE_TIME: {
      std::tm tm{};
      s.api->isc_decode_sql_time(reinterpret_cast<const ISC_TIME*>(v.sqldata), &tm);
      std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
      return buf;
    }
    case SQL_TIMESTAMP: {
      std::tm tm{};
      s.api->isc_decode_timestamp(reinterpret_cast<const ISC_TIMESTAMP*>(v.sqldata), &tm);
      std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                    tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
      return buf;
    }
    case SQL_BLOB: {
      if (!s.executedIn || !s.executedIn->Active()) Fail("blob read outside its transaction");
      BlobHandle blob({s.api});
      ISC_QUAD id = *reinterpret_cast<const ISC_QUAD*>(v.sqldata);
      s.api->Checked(s.api->isc_open_blob2, s.attachment->handle(), s.executedIn->handle(), blob.Put(), &id, 0,
                     nullptr);
      std::string text;
      char segment[8192];
      // The end of the blob comes back as an error status, so the segments are
      // read with a status vector of their own.
      ISC_STATUS_ARRAY status{};
      for (;;) {
        unsigned short got = 0;
        ISC_STATUS rc = s.api->isc_get_segment(status, blob.Addr(), &got, sizeof segment, segment);
        if (rc == isc_segstr_eof) break;
        if (rc != 0 && rc != isc_segment) Fail(ErrorText(*s.api, status));
        text.append(segment, got);
      }
      return text;
    }
    default: Fail("column type " + std::to_string(v.sqltype & ~1) + " cannot be read as text");
  }
}

}  // namespace kv::fb
