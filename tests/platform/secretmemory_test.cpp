// A process that holds a secret cannot be dumped, and the secret's pages are locked until the last secret on
// them goes.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/secretmemory.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace tazen::platform {
namespace {

// What /proc/self/status says this process has locked, in KiB.
long lockedKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmLck:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

TEST(SecretMemory, WhileASecretIsHeldTheProcessCannotBeDumpedAndItsPagesAreLocked)
{
    const auto dumpable = [] { return ::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0); };
    const auto coreLimit = [] {
        rlimit limit{};
        return ::getrlimit(RLIMIT_CORE, &limit) == 0 ? limit.rlim_cur : 1;
    };
    ASSERT_EQ(dumpable(), 1);
    rlimit core{};
    ASSERT_EQ(::getrlimit(RLIMIT_CORE, &core), 0);
    core.rlim_cur = core.rlim_max == RLIM_INFINITY ? 1 << 20 : core.rlim_max;
    ASSERT_EQ(::setrlimit(RLIMIT_CORE, &core), 0);
    rlimit memlock{};
    ::getrlimit(RLIMIT_MEMLOCK, &memlock);
    bool mayLock = ::geteuid() == 0 || memlock.rlim_cur >= (1 << 20);
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    mayLock = false; // the sanitizers turn mlock into nothing
#endif

    // Pages 0 to 2 hold one secret, page 4 another; page 3 none.
    const long page = ::sysconf(_SC_PAGESIZE);
    void* region = ::mmap(nullptr, 5 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(region, MAP_FAILED);
    char* pages = static_cast<char*>(region);
    const long before = lockedKiB();
    const auto expectLockedPages = [&](long count) {
        if (mayLock) {
            EXPECT_EQ((lockedKiB() - before) * 1024 / page, count);
        }
    };

    HoldSecret(pages, 3 * page);
    HoldSecret(pages + 4 * page + 10, 20);
    HoldSecret(pages + page + 100, 10);
    EXPECT_EQ(dumpable(), 0);
    EXPECT_EQ(coreLimit(), 0u);
    expectLockedPages(4);

    // A page stays locked while another secret lies on it, and the process undumpable while any is held.
    ReleaseSecret(pages + page + 100, 10);
    expectLockedPages(4);
    ReleaseSecret(pages, 3 * page);
    EXPECT_EQ(dumpable(), 0);
    expectLockedPages(1);
    ReleaseSecret(pages + 4 * page + 10, 20);
    EXPECT_EQ(dumpable(), 1);
    EXPECT_EQ(coreLimit(), core.rlim_cur);
    EXPECT_EQ(lockedKiB(), before);
    ::munmap(region, 5 * page);
}

} // namespace
} // namespace tazen::platform
