// Passwords, keys and the run's buffer kept in memory that cannot be dumped, and a run that lets its password go
// as soon as it has the key.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/secrets.h"

#include "common/reference_format.h"
#include "engine/engine_fixture.h"

#include <sys/prctl.h>

namespace tazen::test {
namespace {

int dumpable()
{
    return ::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0);
}

// Only these tests hold their secrets so; the others of this program run as they always did.
class GuardedSecrets : public EngineTest
{
protected:
    GuardedSecrets() { GuardSecrets(); }
    ~GuardedSecrets() override { SetSecretMemoryHooks({}); }
};

TEST_F(GuardedSecrets, APasswordOrKeyKeepsTheProcessFromDumpsAndARunWipesThePasswordBeforeItsFirstFile)
{
    const std::uint8_t key[32] = {1};
    cipher.SetKey(key, 256);
    EXPECT_EQ(dumpable(), 0);
    cipher.Wipe();
    EXPECT_EQ(dumpable(), 1);

    const std::string name = makeFile("report", 20000);
    const Bytes plain = readFile(name);
    {
        Secret password;
        EXPECT_EQ(dumpable(), 0);
        int roundsWithPassword = 0;
        frontend.onMessages = [&](int) { roundsWithPassword += password.value.empty() ? 0 : 1; };
        password.value = "secret";
        ASSERT_EQ(EncryptFiles(cipher, {name}, password, message, frontend), kAllFilesDone) << message;
        EXPECT_EQ(readFile(name + ".TaZEN"), referenceFile("secret", plain));
        EXPECT_EQ(roundsWithPassword, 0);
        EXPECT_GT(frontend.messageRounds, 0);
    }
    EXPECT_EQ(dumpable(), 1);
}

} // namespace
} // namespace tazen::test
