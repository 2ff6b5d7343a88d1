// Connects the cipher layer's secrets to memory Windows keeps out of the page file.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/secrets.h"

#include "cipher/secret.h"

#include <windows.h>

namespace tazen {

namespace {

// A refused lock (the working set's limit) is no error: the secret is still wiped.
void lock(const void* data, std::size_t size)
{
    ::VirtualLock(const_cast<void*>(data), size);
}

// Pages may hold more than one secret, and the extractor's life is short: locked pages stay locked until it
// ends, when Windows gives them back.
void keep(const void* /*data*/, std::size_t /*size*/) {}

} // namespace

void GuardSecrets()
{
    SetSecretMemoryHooks({&lock, &keep});
}

} // namespace tazen
