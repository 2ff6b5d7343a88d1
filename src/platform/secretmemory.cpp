// Secrets kept out of core files (prctl, RLIMIT_CORE) and out of swap (mlock, counted per page).
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/secretmemory.h"

#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <map>
#include <mutex>

namespace tazen::platform {

namespace {

// A page is unlocked only when the last secret on it goes: mlock does not count, one munlock undoes them all.
struct Holdings
{
    std::mutex guard;
    std::map<const char*, unsigned> secretsOnPage;
    unsigned secrets = 0;
    bool forLife = false;
    int dumpableBefore = 0;
    bool coreLimitSaved = false;
    rlimit coreLimitBefore{};
};

Holdings& holdings()
{
    static Holdings instance;
    return instance;
}

std::size_t pageSize()
{
    static const auto size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

// Fails when the process stays dumpable; a core limit that stays is no failure, a dump needs both.
ErrorCode forbidDumps(Holdings& held)
{
    held.dumpableBefore = ::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0);
    const ErrorCode refused = ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0 ? 0 : errno;
    held.coreLimitSaved = ::getrlimit(RLIMIT_CORE, &held.coreLimitBefore) == 0;
    if (held.coreLimitSaved) {
        // Only the soft limit, so that it can be given back.
        rlimit none = held.coreLimitBefore;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_CORE, &none);
    }
    return refused;
}

void allowDumps(const Holdings& held)
{
    if (held.coreLimitSaved)
        ::setrlimit(RLIMIT_CORE, &held.coreLimitBefore);
    if (held.dumpableBefore == 1)
        ::prctl(PR_SET_DUMPABLE, 1, 0, 0, 0);
}

// The start of the page that holds data.
const char* pageOf(const void* data)
{
    const auto* byte = static_cast<const char*>(data);
    return byte - reinterpret_cast<std::uintptr_t>(byte) % pageSize();
}

} // namespace

void HoldSecret(const void* data, std::size_t size)
{
    Holdings& held = holdings();
    const std::lock_guard lock(held.guard);
    // Holding a secret cannot fail: where the system refuses, the secret is still wiped.
    if (held.secrets++ == 0 && !held.forLife)
        static_cast<void>(forbidDumps(held));
    if (size == 0)
        return;
    const char* first = pageOf(data);
    const char* end = static_cast<const char*>(data) + size;
    for (const char* page = first; page < end; page += pageSize())
        ++held.secretsOnPage[page];
    // Best effort; pages locked already stay locked.
    ::mlock(first, static_cast<std::size_t>(end - first));
}

void ReleaseSecret(const void* data, std::size_t size)
{
    Holdings& held = holdings();
    const std::lock_guard lock(held.guard);
    const char* first = pageOf(data);
    const char* end = static_cast<const char*>(data) + size;
    // Unlocks each run of pages that no secret is left on with one call.
    const char* freed = nullptr;
    const char* freedEnd = nullptr;
    for (const char* page = first; size > 0 && page < end; page += pageSize()) {
        const auto found = held.secretsOnPage.find(page);
        if (found == held.secretsOnPage.end() || --found->second > 0)
            continue;
        held.secretsOnPage.erase(found);
        if (freedEnd != page) {
            if (freedEnd != freed)
                ::munlock(freed, static_cast<std::size_t>(freedEnd - freed));
            freed = page;
        }
        freedEnd = page + pageSize();
    }
    if (freedEnd != freed)
        ::munlock(freed, static_cast<std::size_t>(freedEnd - freed));
    if (held.secrets > 0 && --held.secrets == 0 && !held.forLife)
        allowDumps(held);
}

ErrorCode NeverDump()
{
    Holdings& held = holdings();
    const std::lock_guard lock(held.guard);
    // Held secrets have forbidden dumps already.
    const ErrorCode error = held.secrets == 0 && !held.forLife ? forbidDumps(held) : ErrorCode();
    held.forLife = true;
    return error;
}

} // namespace tazen::platform
