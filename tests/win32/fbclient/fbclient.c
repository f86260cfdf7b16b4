/*
 * A stand-in for the Windows Firebird client library, for the tests of the
 * Windows program under Wine only: a Winelib builtin fbclient.dll whose entry
 * points forward to the Linux client library (libfbclient.so.2), so that the
 * program's whole upgrade runs on the real engine.
 *
 * It reads what it is given as the Windows client does, or the tests would
 * prove nothing:
 *  - a database name (DPB) or a service request's file name (SPB) is in the
 *    ANSI code page unless the UTF-8 tag is there (isc_dpb_utf8_filename, or
 *    isc_spb_utf8_filename at the service attach);
 *  - a local name (drive letter, UNC) is mapped to its Unix path (with no
 *    link of Wine's in it); a remote name (host:path, host/port:path) is
 *    passed on as it is;
 *  - isc_start_transaction takes its attachments as variable arguments of the
 *    Windows calling convention;
 *  - the date and time decode functions fill the Windows C runtime's struct
 *    tm (nine ints), not glibc's;
 *  - an attachment carries the Windows process id and program path, which a
 *    server shows as the client's process.
 * The Linux library is then given UTF-8, tagged as such.
 */
#include <dlfcn.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <windef.h>
#include <winbase.h>
#include <winnls.h>

#include <ibase.h>

typedef FB_API_HANDLE handle_t;

/* The Windows C runtime's struct tm. */
struct win_tm {
  int tm_sec, tm_min, tm_hour, tm_mday, tm_mon, tm_year, tm_wday, tm_yday, tm_isdst;
};

/* One transaction element of isc_start_multiple, as the Linux library reads it. */
struct teb {
  handle_t *database;
  int tpb_length;
  const char *tpb;
};

/* The Linux library's entry points (the platform's own calling convention). */
static struct {
  ISC_STATUS (*attach_database)(ISC_STATUS *, short, const char *, handle_t *, short, const char *);
  ISC_STATUS (*create_database)(ISC_STATUS *, short, const char *, handle_t *, short, const char *, short);
  ISC_STATUS (*detach_database)(ISC_STATUS *, handle_t *);
  ISC_STATUS (*database_info)(ISC_STATUS *, handle_t *, short, const char *, short, char *);
  ISC_STATUS (*start_multiple)(ISC_STATUS *, handle_t *, short, void *);
  ISC_STATUS (*commit_transaction)(ISC_STATUS *, handle_t *);
  ISC_STATUS (*rollback_transaction)(ISC_STATUS *, handle_t *);
  ISC_STATUS (*dsql_allocate_statement)(ISC_STATUS *, handle_t *, handle_t *);
  ISC_STATUS (*dsql_prepare)(ISC_STATUS *, handle_t *, handle_t *, unsigned short, const char *, unsigned short,
                             XSQLDA *);
  ISC_STATUS (*dsql_describe)(ISC_STATUS *, handle_t *, unsigned short, XSQLDA *);
  ISC_STATUS (*dsql_describe_bind)(ISC_STATUS *, handle_t *, unsigned short, XSQLDA *);
  ISC_STATUS (*dsql_execute)(ISC_STATUS *, handle_t *, handle_t *, unsigned short, const XSQLDA *);
  ISC_STATUS (*dsql_fetch)(ISC_STATUS *, handle_t *, unsigned short, const XSQLDA *);
  ISC_STATUS (*dsql_free_statement)(ISC_STATUS *, handle_t *, unsigned short);
  ISC_STATUS (*dsql_sql_info)(ISC_STATUS *, handle_t *, short, const char *, short, char *);
  ISC_STATUS (*dsql_execute_immediate)(ISC_STATUS *, handle_t *, handle_t *, unsigned short, const char *,
                                       unsigned short, const XSQLDA *);
  ISC_STATUS (*open_blob2)(ISC_STATUS *, handle_t *, handle_t *, handle_t *, ISC_QUAD *, ISC_USHORT,
                           const ISC_UCHAR *);
  ISC_STATUS (*get_segment)(ISC_STATUS *, handle_t *, unsigned short *, unsigned short, char *);
  ISC_STATUS (*close_blob)(ISC_STATUS *, handle_t *);
  ISC_STATUS (*service_attach)(ISC_STATUS *, unsigned short, const char *, handle_t *, unsigned short,
                               const char *);
  ISC_STATUS (*service_detach)(ISC_STATUS *, handle_t *);
  ISC_STATUS (*service_query)(ISC_STATUS *, handle_t *, handle_t *, unsigned short, const char *, unsigned short,
                              const char *, unsigned short, char *);
  ISC_STATUS (*service_start)(ISC_STATUS *, handle_t *, handle_t *, unsigned short, const char *);
  ISC_LONG (*interpret)(char *, unsigned int, const ISC_STATUS **);
  ISC_LONG (*sqlcode)(const ISC_STATUS *);
  ISC_LONG (*vax_integer)(const char *, short);
  void (*decode_sql_date)(const ISC_DATE *, void *);
  void (*decode_sql_time)(const ISC_TIME *, void *);
  void (*decode_timestamp)(const ISC_TIMESTAMP *, void *);
  int (*shutdown)(unsigned int, int);
} linux_client;

static const char *load_error;

static BOOL CALLBACK load_once(INIT_ONCE *once, void *param, void **context) {
  (void)once, (void)param, (void)context;
  void *lib = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    load_error = "the stand-in client cannot load libfbclient.so.2";
    return TRUE;
  }
#define RESOLVE(field, name)                                  \
  if (!(*(void **)&linux_client.field = dlsym(lib, name))) { \
    load_error = "libfbclient.so.2 lacks " name;              \
    return TRUE;                                              \
  }
  RESOLVE(attach_database, "isc_attach_database")
  RESOLVE(create_database, "isc_create_database")
  RESOLVE(detach_database, "isc_detach_database")
  RESOLVE(database_info, "isc_database_info")
  RESOLVE(start_multiple, "isc_start_multiple")
  RESOLVE(commit_transaction, "isc_commit_transaction")
  RESOLVE(rollback_transaction, "isc_rollback_transaction")
  RESOLVE(dsql_allocate_statement, "isc_dsql_allocate_statement")
  RESOLVE(dsql_prepare, "isc_dsql_prepare")
  RESOLVE(dsql_describe, "isc_dsql_describe")
  RESOLVE(dsql_describe_bind, "isc_dsql_describe_bind")
  RESOLVE(dsql_execute, "isc_dsql_execute")
  RESOLVE(dsql_fetch, "isc_dsql_fetch")
  RESOLVE(dsql_free_statement, "isc_dsql_free_statement")
  RESOLVE(dsql_sql_info, "isc_dsql_sql_info")
  RESOLVE(dsql_execute_immediate, "isc_dsql_execute_immediate")
  RESOLVE(open_blob2, "isc_open_blob2")
  RESOLVE(get_segment, "isc_get_segment")
  RESOLVE(close_blob, "isc_close_blob")
  RESOLVE(service_attach, "isc_service_attach")
  RESOLVE(service_detach, "isc_service_detach")
  RESOLVE(service_query, "isc_service_query")
  RESOLVE(service_start, "isc_service_start")
  RESOLVE(interpret, "fb_interpret")
  RESOLVE(sqlcode, "isc_sqlcode")
  RESOLVE(vax_integer, "isc_vax_integer")
  RESOLVE(decode_sql_date, "isc_decode_sql_date")
  RESOLVE(decode_sql_time, "isc_decode_sql_time")
  RESOLVE(decode_timestamp, "isc_decode_timestamp")
  RESOLVE(shutdown, "fb_shutdown")
#undef RESOLVE
  return TRUE;
}

/* True when the Linux library is there; else fills status with why not. */
static int loaded(ISC_STATUS *status) {
  static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
  InitOnceExecuteOnce(&once, load_once, NULL, NULL);
  if (!load_error) return 1;
  if (status) {
    status[0] = isc_arg_gds;
    status[1] = isc_random;
    status[2] = isc_arg_string;
    status[3] = (ISC_STATUS)load_error;
    status[4] = isc_arg_end;
  }
  return 0;
}

/* Fails status with a message of its own (kept until the next failure of this kind). */
static ISC_STATUS fail(ISC_STATUS *status, const char *message) {
  static char text[1024];
  snprintf(text, sizeof text, "%s", message);
  status[0] = isc_arg_gds;
  status[1] = isc_random;
  status[2] = isc_arg_string;
  status[3] = (ISC_STATUS)text;
  status[4] = isc_arg_end;
  return status[1];
}

/* A growing byte buffer. */
struct bytes {
  char *data;
  size_t size;
};

static void append(struct bytes *b, const void *data, size_t n) {
  b->data = realloc(b->data, b->size + n + 1);
  memcpy(b->data + b->size, data, n);
  b->size += n;
  b->data[b->size] = 0;
}

static void append_byte(struct bytes *b, unsigned char c) { append(b, &c, 1); }

/* text (n bytes) in code page from as UTF-8, NUL-terminated; the caller frees it. */
static char *to_utf8(const char *text, size_t n, UINT from) {
  struct bytes out = {0};
  if (from == CP_UTF8 || n == 0) {
    append(&out, text, n);
    return out.data ? out.data : calloc(1, 1);
  }
  const int wide = MultiByteToWideChar(from, 0, text, (int)n, NULL, 0);
  WCHAR *w = malloc(sizeof(WCHAR) * (wide + 1));
  MultiByteToWideChar(from, 0, text, (int)n, w, wide);
  const int size = WideCharToMultiByte(CP_UTF8, 0, w, wide, NULL, 0, NULL, NULL);
  char *utf8 = malloc(size + 1);
  WideCharToMultiByte(CP_UTF8, 0, w, wide, utf8, size, NULL, NULL);
  utf8[size] = 0;
  free(w);
  return utf8;
}

/* A drive-letter or UNC name, which the Windows client opens as a local file. */
static int is_local(const char *name) {
  const int drive = ((name[0] | 0x20) >= 'a' && (name[0] | 0x20) <= 'z') && name[1] == ':';
  return drive || (name[0] == '\\' && name[1] == '\\');
}

/* path with the links of its folder resolved: Wine maps a drive through a
 * link named like "c:" in dosdevices, which the Linux library would read as
 * a host name. The caller frees the result. */
static char *resolved(const char *path) {
  const char *slash = strrchr(path, '/');
  if (!slash || slash == path) return strdup(path);
  char *folder = strndup(path, slash - path);
  char *real = realpath(folder, NULL);
  free(folder);
  if (!real) return strdup(path);  /* a missing folder: the engine says so */
  char *out = malloc(strlen(real) + strlen(slash) + 1);
  strcpy(out, real);
  strcat(out, slash);
  free(real);
  return out;
}

/* name (UTF-8) as the Linux library must be given it: a local name mapped to
 * its Unix path, anything else (host:path, host/port:path, an alias) as it is.
 * NULL when a local name has no Unix path. The caller frees the result. */
static char *unix_name(const char *name) {
  if (!is_local(name)) return strdup(name);
  const int n = MultiByteToWideChar(CP_UTF8, 0, name, -1, NULL, 0);
  WCHAR *w = malloc(sizeof(WCHAR) * n);
  MultiByteToWideChar(CP_UTF8, 0, name, -1, w, n);
  char *mapped = wine_get_unix_file_name(w);
  free(w);
  if (!mapped) return NULL;
  char *out = resolved(mapped);
  HeapFree(GetProcessHeap(), 0, mapped);
  return out;
}

/* The database name of an attach or create: read in the ANSI code page unless
 * utf8, then mapped. NULL (status filled) when it cannot be. */
static char *database_name(ISC_STATUS *status, const char *name, unsigned short length, int utf8) {
  char *text = to_utf8(name, length ? length : strlen(name), utf8 ? CP_UTF8 : CP_ACP);
  char *mapped = unix_name(text);
  if (!mapped) {
    char message[1024];
    snprintf(message, sizeof message, "I/O error: no Unix path for \"%s\"", text);
    fail(status, message);
  }
  free(text);
  return mapped;
}

/* Whether a version 1 parameter block (a version byte, then tag, one length
 * byte and value) holds tag. */
static int has_tag(const char *block, size_t size, size_t start, unsigned char tag) {
  for (size_t i = start; i + 1 < size; i += 2 + (unsigned char)block[i + 1])
    if ((unsigned char)block[i] == tag) return 1;
  return 0;
}

/* The DPB the Linux library gets: the caller's, with the UTF-8 tag and, as the
 * Windows client adds them, the Windows process id and program path. */
static struct bytes linux_dpb(const char *dpb, short size) {
  struct bytes out = {0};
  if (size <= 0) {
    append_byte(&out, isc_dpb_version1);
  } else {
    append(&out, dpb, size);
  }
  if (!has_tag(out.data, out.size, 1, isc_dpb_utf8_filename)) {
    append_byte(&out, isc_dpb_utf8_filename);
    append_byte(&out, 0);
  }
  if (!has_tag(out.data, out.size, 1, isc_dpb_process_id)) {
    const DWORD pid = GetCurrentProcessId();
    append_byte(&out, isc_dpb_process_id);
    append_byte(&out, 4);
    for (int i = 0; i < 4; ++i) append_byte(&out, (unsigned char)(pid >> (8 * i)));
  }
  if (!has_tag(out.data, out.size, 1, isc_dpb_process_name)) {
    WCHAR path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(NULL, path, MAX_PATH);
    char name[4 * MAX_PATH];
    const int size8 = WideCharToMultiByte(CP_UTF8, 0, path, (int)n, name, sizeof name, NULL, NULL);
    if (size8 > 0 && size8 <= 255) {
      append_byte(&out, isc_dpb_process_name);
      append_byte(&out, (unsigned char)size8);
      append(&out, name, size8);
    }
  }
  return out;
}

static int dpb_utf8(const char *dpb, short size) {
  return size > 0 && has_tag(dpb, size, 1, isc_dpb_utf8_filename);
}

ISC_STATUS WINAPI bridge_attach_database(ISC_STATUS *status, short length, const char *name, handle_t *db,
                                         short dpb_size, const char *dpb) {
  if (!loaded(status)) return status[1];
  char *mapped = database_name(status, name, (unsigned short)length, dpb_utf8(dpb, dpb_size));
  if (!mapped) return status[1];
  struct bytes block = linux_dpb(dpb, dpb_size);
  const ISC_STATUS r = linux_client.attach_database(status, 0, mapped, db, (short)block.size, block.data);
  free(block.data);
  free(mapped);
  return r;
}

ISC_STATUS WINAPI bridge_create_database(ISC_STATUS *status, short length, const char *name, handle_t *db,
                                         short dpb_size, const char *dpb, short type) {
  if (!loaded(status)) return status[1];
  char *mapped = database_name(status, name, (unsigned short)length, dpb_utf8(dpb, dpb_size));
  if (!mapped) return status[1];
  struct bytes block = linux_dpb(dpb, dpb_size);
  const ISC_STATUS r = linux_client.create_database(status, 0, mapped, db, (short)block.size, block.data, type);
  free(block.data);
  free(mapped);
  return r;
}

/* What the Windows client keeps of a service attachment for its requests. */
struct service {
  handle_t handle;
  int utf8;    /* the attach said its file names are UTF-8 */
  int remote;  /* host:service_mgr: the names are the server's, not mapped */
};

static struct service services[64];
static pthread_mutex_t services_lock = PTHREAD_MUTEX_INITIALIZER;

static struct service find_service(handle_t handle) {
  struct service found = {0};
  pthread_mutex_lock(&services_lock);
  for (size_t i = 0; i < sizeof services / sizeof *services; ++i)
    if (services[i].handle == handle) found = services[i];
  pthread_mutex_unlock(&services_lock);
  return found;
}

static void keep_service(struct service s) {
  pthread_mutex_lock(&services_lock);
  for (size_t i = 0; i < sizeof services / sizeof *services; ++i)
    if (services[i].handle == 0 || services[i].handle == s.handle) {
      services[i] = s;
      break;
    }
  pthread_mutex_unlock(&services_lock);
}

static void forget_service(handle_t handle) {
  pthread_mutex_lock(&services_lock);
  for (size_t i = 0; i < sizeof services / sizeof *services; ++i)
    if (services[i].handle == handle) services[i].handle = 0;
  pthread_mutex_unlock(&services_lock);
}

ISC_STATUS WINAPI bridge_service_attach(ISC_STATUS *status, unsigned short length, const char *name,
                                        handle_t *handle, unsigned short spb_size, const char *spb) {
  if (!loaded(status)) return status[1];
  char *service = to_utf8(name, length ? length : strlen(name), CP_ACP);
  struct service s = {0};
  s.remote = strchr(service, ':') != NULL;
  /* A version 2 block: the version twice, then tag, one length byte and value. */
  s.utf8 = spb_size > 2 && has_tag(spb, spb_size, 2, isc_spb_utf8_filename);
  struct bytes block = {0};
  append(&block, spb, spb_size);
  if (!s.utf8) {
    append_byte(&block, isc_spb_utf8_filename);
    append_byte(&block, 0);
  }
  const ISC_STATUS r =
      linux_client.service_attach(status, 0, service, handle, (unsigned short)block.size, block.data);
  free(block.data);
  free(service);
  if (r == 0) {
    s.handle = *handle;
    keep_service(s);
  }
  return r;
}

ISC_STATUS WINAPI bridge_service_detach(ISC_STATUS *status, handle_t *handle) {
  if (!loaded(status)) return status[1];
  const handle_t h = *handle;
  const ISC_STATUS r = linux_client.service_detach(status, handle);
  if (r == 0) forget_service(h);
  return r;
}

/* The request of a backup or restore as the Linux library must get it: its
 * file names (isc_spb_dbname, isc_spb_bkp_file) read as the attach said and
 * mapped when the service is local. 0 when it holds something this stand-in
 * does not know (status filled). */
static int service_request(ISC_STATUS *status, struct service s, const char *spb, unsigned short size,
                           struct bytes *out) {
  const unsigned char action = size ? (unsigned char)spb[0] : 0;
  if (action != isc_action_svc_backup && action != isc_action_svc_restore) {
    fail(status, "the stand-in client knows only the backup and restore services");
    return 0;
  }
  append_byte(out, action);
  for (size_t i = 1; i < size;) {
    const unsigned char tag = (unsigned char)spb[i];
    size_t item = 0;
    switch (tag) {
      case isc_spb_dbname:
      case isc_spb_bkp_file: {
        if (i + 3 > size) break;
        const size_t n = (unsigned char)spb[i + 1] | (size_t)(unsigned char)spb[i + 2] << 8;
        if (i + 3 + n > size) break;
        char *text = to_utf8(spb + i + 3, n, s.utf8 ? CP_UTF8 : CP_ACP);
        char *mapped = s.remote ? strdup(text) : unix_name(text);
        free(text);
        if (!mapped) {
          fail(status, "I/O error: a file name of the service request has no Unix path");
          return 0;
        }
        const size_t m = strlen(mapped);
        append_byte(out, tag);
        append_byte(out, (unsigned char)(m & 0xFF));
        append_byte(out, (unsigned char)(m >> 8));
        append(out, mapped, m);
        free(mapped);
        i += 3 + n;
        continue;
      }
      case isc_spb_options:
      case isc_spb_verbint:
      case isc_spb_res_buffers:
      case isc_spb_res_page_size:
      case isc_spb_res_length:
        item = 5;
        break;
      case isc_spb_res_access_mode:
        item = 2;
        break;
      case isc_spb_verbose:
        item = 1;
        break;
      default:
        break;
    }
    if (!item || i + item > size) {
      char message[128];
      snprintf(message, sizeof message, "the stand-in client does not know item %u of a service request", tag);
      fail(status, message);
      return 0;
    }
    append(out, spb + i, item);
    i += item;
  }
  return 1;
}

ISC_STATUS WINAPI bridge_service_start(ISC_STATUS *status, handle_t *handle, handle_t *reserved,
                                       unsigned short size, const char *spb) {
  if (!loaded(status)) return status[1];
  struct bytes request = {0};
  if (!service_request(status, find_service(*handle), spb, size, &request)) {
    free(request.data);
    return status[1];
  }
  const ISC_STATUS r =
      linux_client.service_start(status, handle, reserved, (unsigned short)request.size, request.data);
  free(request.data);
  return r;
}

ISC_STATUS WINAPIV bridge_start_transaction(ISC_STATUS *status, handle_t *transaction, short count, ...) {
  if (!loaded(status)) return status[1];
  if (count <= 0 || count > 16) return fail(status, "the stand-in client starts 1 to 16 attachments at once");
  struct teb elements[16];
  __ms_va_list args;
  __ms_va_start(args, count);
  for (short i = 0; i < count; ++i) {
    elements[i].database = va_arg(args, handle_t *);
    elements[i].tpb_length = (int)va_arg(args, long); /* a Windows long: 32 bits in a 64-bit slot */
    elements[i].tpb = va_arg(args, const char *);
  }
  __ms_va_end(args);
  return linux_client.start_multiple(status, transaction, count, elements);
}

ISC_STATUS WINAPI bridge_start_multiple(ISC_STATUS *status, handle_t *transaction, short count, void *elements) {
  if (!loaded(status)) return status[1];
  return linux_client.start_multiple(status, transaction, count, elements);
}

ISC_STATUS WINAPI bridge_dsql_execute_immediate(ISC_STATUS *status, handle_t *db, handle_t *transaction,
                                                unsigned short length, const char *sql, unsigned short dialect,
                                                const XSQLDA *params) {
  if (!loaded(status)) return status[1];
  /* Without an attachment this is CREATE DATABASE, whose file name the
   * Windows client takes from the statement text; isc_create_database is the
   * way to give it a tagged name. */
  if (!db || !*db) return fail(status, "the stand-in client creates databases only by isc_create_database");
  return linux_client.dsql_execute_immediate(status, db, transaction, length, sql, dialect, params);
}

/* Copies glibc's struct tm into the Windows C runtime's. */
static void to_win_tm(const struct tm *from, void *to) {
  struct win_tm *t = to;
  t->tm_sec = from->tm_sec;
  t->tm_min = from->tm_min;
  t->tm_hour = from->tm_hour;
  t->tm_mday = from->tm_mday;
  t->tm_mon = from->tm_mon;
  t->tm_year = from->tm_year;
  t->tm_wday = from->tm_wday;
  t->tm_yday = from->tm_yday;
  t->tm_isdst = from->tm_isdst;
}

void WINAPI bridge_decode_sql_date(const ISC_DATE *date, void *out) {
  struct tm t = {0};
  if (loaded(NULL)) linux_client.decode_sql_date(date, &t);
  to_win_tm(&t, out);
}

void WINAPI bridge_decode_sql_time(const ISC_TIME *time, void *out) {
  struct tm t = {0};
  if (loaded(NULL)) linux_client.decode_sql_time(time, &t);
  to_win_tm(&t, out);
}

void WINAPI bridge_decode_timestamp(const ISC_TIMESTAMP *stamp, void *out) {
  struct tm t = {0};
  if (loaded(NULL)) linux_client.decode_timestamp(stamp, &t);
  to_win_tm(&t, out);
}

/* The rest pass through as they are. */
#define FORWARD(name, params, args)               \
  ISC_STATUS WINAPI bridge_##name params {        \
    if (!loaded(status)) return status[1];        \
    return linux_client.name args;                \
  }

FORWARD(detach_database, (ISC_STATUS * status, handle_t *db), (status, db))
FORWARD(database_info, (ISC_STATUS * status, handle_t *db, short n, const char *items, short size, char *out),
        (status, db, n, items, size, out))
FORWARD(commit_transaction, (ISC_STATUS * status, handle_t *tr), (status, tr))
FORWARD(rollback_transaction, (ISC_STATUS * status, handle_t *tr), (status, tr))
FORWARD(dsql_allocate_statement, (ISC_STATUS * status, handle_t *db, handle_t *st), (status, db, st))
FORWARD(dsql_prepare,
        (ISC_STATUS * status, handle_t *tr, handle_t *st, unsigned short n, const char *sql, unsigned short dialect,
         XSQLDA *out),
        (status, tr, st, n, sql, dialect, out))
FORWARD(dsql_describe, (ISC_STATUS * status, handle_t *st, unsigned short v, XSQLDA *out), (status, st, v, out))
FORWARD(dsql_describe_bind, (ISC_STATUS * status, handle_t *st, unsigned short v, XSQLDA *out),
        (status, st, v, out))
FORWARD(dsql_execute, (ISC_STATUS * status, handle_t *tr, handle_t *st, unsigned short v, const XSQLDA *in),
        (status, tr, st, v, in))
FORWARD(dsql_fetch, (ISC_STATUS * status, handle_t *st, unsigned short v, const XSQLDA *out), (status, st, v, out))
FORWARD(dsql_free_statement, (ISC_STATUS * status, handle_t *st, unsigned short option), (status, st, option))
FORWARD(dsql_sql_info, (ISC_STATUS * status, handle_t *st, short n, const char *items, short size, char *out),
        (status, st, n, items, size, out))
FORWARD(open_blob2,
        (ISC_STATUS * status, handle_t *db, handle_t *tr, handle_t *blob, ISC_QUAD *id, ISC_USHORT n,
         const ISC_UCHAR *bpb),
        (status, db, tr, blob, id, n, bpb))
FORWARD(get_segment, (ISC_STATUS * status, handle_t *blob, unsigned short *got, unsigned short size, char *out),
        (status, blob, got, size, out))
FORWARD(close_blob, (ISC_STATUS * status, handle_t *blob), (status, blob))
FORWARD(service_query,
        (ISC_STATUS * status, handle_t *svc, handle_t *reserved, unsigned short n, const char *spb,
         unsigned short items_n, const char *items, unsigned short size, char *out),
        (status, svc, reserved, n, spb, items_n, items, size, out))
#undef FORWARD

ISC_LONG WINAPI bridge_interpret(char *buffer, unsigned int size, const ISC_STATUS **vector) {
  if (!loaded(NULL)) {
    snprintf(buffer, size, "%s", load_error);
    return (ISC_LONG)strlen(buffer);
  }
  /* A status this stand-in filled holds only its own string. */
  return linux_client.interpret(buffer, size, vector);
}

ISC_LONG WINAPI bridge_sqlcode(const ISC_STATUS *status) {
  return loaded(NULL) ? linux_client.sqlcode(status) : -902;
}

ISC_LONG WINAPI bridge_vax_integer(const char *bytes, short length) {
  return loaded(NULL) ? linux_client.vax_integer(bytes, length) : 0;
}

int WINAPI bridge_shutdown(unsigned int timeout, int reason) {
  return loaded(NULL) ? linux_client.shutdown(timeout, reason) : 0;
}
