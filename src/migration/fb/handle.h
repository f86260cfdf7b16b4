/*
** The client library's handle type, without its header: an integer on 64-bit
** systems and a pointer on 32-bit ones.
*/
#pragma once

namespace kv::fb {

#if defined(_LP64) || defined(__LP64__) || defined(__arch64__) || defined(_WIN64)
using ApiHandle = unsigned int;
#else
using ApiHandle = void*;
#endif

}  // namespace kv::fb
