// Blowfish CBC and key setup against OpenSSL in the same run, and a password check against bcrypt at cost 5;
// prints both sides and the ratio.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/blowfish.h"
#include "engine/strength.h"
#include "format/fileformat.h"

#include "comparing_reporter.h"

#include <openssl/blowfish.h>

#include <crypt.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBuffer = tazen::kPieceSize;
const std::uint8_t kKey[32] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF, 0xF0, 0xE1, 0xD2,
                               0xC3, 0xB4, 0xA5, 0x96, 0x87, 0x78, 0x69, 0x5A, 0x4B, 0x3C, 0x2D,
                               0x1E, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

void ours(benchmark::State& state, bool encrypt)
{
    tazen::TBlowfish cipher;
    cipher.SetKey(kKey, 256);
    std::vector<std::uint8_t> buffer(kBuffer, 0x5A);
    for (auto _ : state) {
        if (encrypt)
            cipher.CbcEncrypt(buffer.data(), buffer.data(), kBuffer);
        else
            cipher.CbcDecrypt(buffer.data(), buffer.data(), kBuffer);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kBuffer);
}

void openssl(benchmark::State& state, bool encrypt)
{
    BF_KEY key;
    BF_set_key(&key, 32, kKey);
    unsigned char iv[8] = {};
    std::vector<std::uint8_t> buffer(kBuffer, 0x5A);
    for (auto _ : state) {
        BF_cbc_encrypt(buffer.data(), buffer.data(), kBuffer, &key, iv, encrypt ? BF_ENCRYPT : BF_DECRYPT);
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kBuffer);
}

void oursSetKey(benchmark::State& state)
{
    tazen::TBlowfish cipher;
    for (auto _ : state) {
        cipher.SetKey(kKey, 256);
        benchmark::DoNotOptimize(cipher.InitialVector().data());
    }
}

void opensslSetKey(benchmark::State& state)
{
    BF_KEY key;
    for (auto _ : state) {
        BF_set_key(&key, 32, kKey);
        benchmark::DoNotOptimize(&key);
    }
}

// What a file costs before its first byte: SHA-1 of the password, key schedule, check block.
void oursKeyCipher(benchmark::State& state)
{
    tazen::TBlowfish cipher;
    for (auto _ : state) {
        auto check = tazen::KeyCipher(cipher, "correct horse battery staple");
        benchmark::DoNotOptimize(check.data());
    }
}

// bcrypt at cost 5, whose published rate on graphics cards the guess rate is derived from; the setting is that
// of OpenBSD's test vectors.
void bcryptCost5(benchmark::State& state)
{
    static constexpr char setting[] = "$2b$05$CCCCCCCCCCCCCCCCCCCCC.";
    const auto data = std::make_unique<crypt_data>();
    for (auto _ : state) {
        const char* hash = crypt_r("correct horse battery staple", setting, data.get());
        if (hash == nullptr || std::strncmp(hash, setting, sizeof setting - 1) != 0) {
            state.SkipWithError("crypt_r does not make bcrypt hashes");
            break;
        }
        benchmark::DoNotOptimize(hash);
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::RegisterBenchmark("CbcEncrypt/TaZEN", ours, true);
    benchmark::RegisterBenchmark("CbcEncrypt/OpenSSL", openssl, true);
    benchmark::RegisterBenchmark("CbcDecrypt/TaZEN", ours, false);
    benchmark::RegisterBenchmark("CbcDecrypt/OpenSSL", openssl, false);
    benchmark::RegisterBenchmark("SetKey/TaZEN", oursSetKey);
    benchmark::RegisterBenchmark("SetKey/OpenSSL", opensslSetKey);
    benchmark::RegisterBenchmark("KeyCipher/TaZEN", oursKeyCipher);
    benchmark::RegisterBenchmark("Bcrypt5/libxcrypt", bcryptCost5);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    tazen::bench::ComparingReporter reporter([](const tazen::bench::ComparingReporter& results) {
        std::printf("\n%-12s %16s %16s %8s %8s\n", "operation", "TaZEN", "OpenSSL", "ratio", "target");
        results.PrintRateRow("CbcEncrypt", "CbcEncrypt/TaZEN", "CbcEncrypt/OpenSSL", 1.0);
        results.PrintRateRow("CbcDecrypt", "CbcDecrypt/TaZEN", "CbcDecrypt/OpenSSL", 2.0);
        const double ourKey = results.Nanoseconds("SetKey/TaZEN");
        const double theirKey = results.Nanoseconds("SetKey/OpenSSL");
        if (ourKey > 0 && theirKey > 0)
            std::printf("%-12s %11.1f us %14.1f us %7.2fx %8s\n", "SetKey", ourKey / 1e3, theirKey / 1e3,
                        theirKey / ourKey, "report");
        const double keyCipher = results.Nanoseconds("KeyCipher/TaZEN");
        if (keyCipher > 0)
            std::printf("%-12s %11.1f us %16s %8s %8s\n", "KeyCipher", keyCipher / 1e3, "-", "-", "report");
        // The check KeyCipher makes: the key schedule, the initial vector and all four blocks of the check block.
        constexpr double checkBlocks = tazen::kKeyScheduleBlocks + 1 + tazen::kCheckBlockSize / 8.0;
        const double bcrypt = results.Nanoseconds("Bcrypt5/libxcrypt");
        if (keyCipher > 0 && bcrypt > 0)
            std::printf("\n%-12s %11.1f us  bcrypt cost 5 %9.1f us %7.1fx  predicted by blocks %.0f / %.0f = %.1fx\n",
                        "KeyCipher", keyCipher / 1e3, bcrypt / 1e3, bcrypt / keyCipher, tazen::kBcryptCost5Blocks,
                        checkBlocks, tazen::kBcryptCost5Blocks / checkBlocks);
        std::printf("guess rate on one current graphics card: %.0f bcrypt guesses/s x %.0f / %.0f blocks = %.2g TaZEN "
                    "passwords/s\n",
                    tazen::kBcryptCost5PerSecond, tazen::kBcryptCost5Blocks, tazen::kBlocksPerGuess,
                    tazen::kGuessesPerSecond);
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
