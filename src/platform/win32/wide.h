/*
** UTF-8 (the program's text) to and from UTF-16 (the Windows API's), and the
** owners of the Windows handles the backend opens.
*/
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The interfaces have a member of this name; the macro would rename it here only.
#undef FindWindow

#include <string>
#include <string_view>

#include "platform/unique_handle.h"

namespace kv::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

/* The system's text for a Windows error code. */
std::string ErrorText(DWORD code);

/* A file or process handle; INVALID_HANDLE_VALUE owns nothing (CreateFileW's failure). */
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  BOOL Close(Handle h) const { return ::CloseHandle(h); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

/* A process or thread handle; null owns nothing. */
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle None() { return nullptr; }
  BOOL Close(Handle h) const { return ::CloseHandle(h); }
};
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;

/* A loaded module (a library, or an executable loaded to read its resources). */
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle None() { return nullptr; }
  BOOL Close(Handle h) const { return ::FreeLibrary(h); }
};
using UniqueModule = UniqueHandle<ModuleTraits>;

}  // namespace kv::win32
