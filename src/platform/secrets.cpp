// Connects the cipher layer's secrets to the platform's locked, undumpable memory.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/secrets.h"

#include "cipher/cryptbase.h"
#include "platform/secretmemory.h"

namespace tazen {

void GuardSecrets()
{
    SetSecretMemoryHooks({&platform::HoldSecret, &platform::ReleaseSecret});
}

} // namespace tazen
