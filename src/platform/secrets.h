// Where the cipher layer's secrets live: in memory the platform keeps out of core files and swap.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tazen {

// From now on every Secret, SecretBuffer and keyed cipher of this process is held as platform::HoldSecret
// describes: while one exists the process cannot be dumped, and its pages are locked where the system allows.
void GuardSecrets();

} // namespace tazen
