// The address of a local socket at a path, for tests that stand on either end of one.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <sys/socket.h>
#include <sys/un.h>

namespace tazen::test {

inline sockaddr_un localAddress(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    return address;
}

inline const sockaddr* asAddress(const sockaddr_un& address)
{
    return reinterpret_cast<const sockaddr*>(&address);
}

} // namespace tazen::test
