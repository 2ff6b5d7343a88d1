// Blowfish CBC and key setup against OpenSSL in the same run; prints both sides and the ratio.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/blowfish.h"
#include "engine/fileformat.h"

#include <openssl/blowfish.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
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

// Collects each result so the comparison can be printed under the usual table.
class ComparingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            // With repetitions the median stands for the benchmark; it is reported after the single runs.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || (run.run_type != Run::RT_Iteration && !median))
                continue;
            const std::string name = run.run_name.function_name;
            const auto bytes = run.counters.find("bytes_per_second");
            rates_[name] = bytes != run.counters.end() ? bytes->second.value / 1e6 : 0.0;
            nanoseconds_[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-12s %14s %14s %8s %8s\n", "operation", "TaZEN", "OpenSSL", "ratio", "target");
        throughput("CbcEncrypt", 1.0);
        throughput("CbcDecrypt", 2.0);
        const double ourKey = nanoseconds_["SetKey/TaZEN"];
        const double theirKey = nanoseconds_["SetKey/OpenSSL"];
        if (ourKey > 0 && theirKey > 0)
            std::printf("%-12s %11.1f us %11.1f us %7.2fx %8s\n", "SetKey", ourKey / 1e3, theirKey / 1e3,
                        theirKey / ourKey, "report");
        if (const double keyCipher = nanoseconds_["KeyCipher/TaZEN"]; keyCipher > 0)
            std::printf("%-12s %11.1f us %14s %8s %8s\n", "KeyCipher", keyCipher / 1e3, "-", "-", "report");
    }

private:
    void throughput(const std::string& name, double target)
    {
        const double ourRate = rates_[name + "/TaZEN"];
        const double theirRate = rates_[name + "/OpenSSL"];
        if (ourRate <= 0 || theirRate <= 0)
            return;
        const double ratio = ourRate / theirRate;
        std::printf("%-12s %9.1f MB/s %9.1f MB/s %7.2fx %7.1fx %s\n", name.c_str(), ourRate, theirRate, ratio, target,
                    ratio >= target ? "met" : "MISSED");
    }

    std::map<std::string, double> rates_;
    std::map<std::string, double> nanoseconds_;
};

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
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ComparingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
