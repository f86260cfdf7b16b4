/*
** The client library's handle type, without its header: an integer on 64-bit
** systems and a pointer on 32-bit ones; and the owners of its handles, each
** closed through the loaded library that opened it.
*/
#pragma once

#include "platform/unique_handle.h"

namespace kv::fb {

#if defined(_LP64) || defined(__LP64__) || defined(__arch64__) || defined(_WIN64)
using ApiHandle = unsigned int;
#else
using ApiHandle = void*;
#endif

struct Api;

enum class HandleKind { Attachment, Transaction, Statement, Service, Blob };

/* Closing a handle on clean-up: detach, roll back, drop, detach, close. The
** close is not checked: its failure (the connection is gone) leaves nothing
** to close. */
template <HandleKind Kind>
struct ClientHandleTraits {
  using Handle = ApiHandle;
  static Handle None() { return {}; }
  void Close(Handle h) const;
  const Api* api = nullptr;
};

template <>
void ClientHandleTraits<HandleKind::Attachment>::Close(ApiHandle h) const;
template <>
void ClientHandleTraits<HandleKind::Transaction>::Close(ApiHandle h) const;
template <>
void ClientHandleTraits<HandleKind::Statement>::Close(ApiHandle h) const;
template <>
void ClientHandleTraits<HandleKind::Service>::Close(ApiHandle h) const;
template <>
void ClientHandleTraits<HandleKind::Blob>::Close(ApiHandle h) const;

using AttachmentHandle = UniqueHandle<ClientHandleTraits<HandleKind::Attachment>>;
using TransactionHandle = UniqueHandle<ClientHandleTraits<HandleKind::Transaction>>;
using StatementHandle = UniqueHandle<ClientHandleTraits<HandleKind::Statement>>;
using ServiceHandle = UniqueHandle<ClientHandleTraits<HandleKind::Service>>;
using BlobHandle = UniqueHandle<ClientHandleTraits<HandleKind::Blob>>;

}  // namespace kv::fb
