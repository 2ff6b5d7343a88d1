// Keeps what a process holds secret (passwords, keys, plain bytes of a run) out of core files and, where the
// system allows, out of swap.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/error.h"

#include <cstddef>

namespace tazen::platform {

// A secret now lives at [data, data + size). Its pages are locked in memory where the system allows (a refused
// lock, usually for want of RLIMIT_MEMLOCK, is no error), and while any secret is held the process cannot be
// dumped: it is not dumpable and its core file limit is 0. Holds nest, and their memory may overlap.
void HoldSecret(const void* data, std::size_t size);
// The secret at [data, data + size) has been wiped: pages no other secret lies on are unlocked, and after the
// last secret the process may be dumped again as before.
void ReleaseSecret(const void* data, std::size_t size);
// For a program that handles secrets from start to end: never dumpable again. Fails when the system refuses.
tazen::ErrorCode NeverDump();

} // namespace tazen::platform
