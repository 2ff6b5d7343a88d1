// Runs a fuzz target once on every file of a corpus folder, so the corpus serves as a regression test in
// builds without libFuzzer. A check that fails aborts, and so fails the test.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argc > 0 ? argv[0] : "replay");
        return 2;
    }
    std::vector<std::filesystem::path> inputs;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1], error))
        if (entry.is_regular_file())
            inputs.push_back(entry.path());
    // A missing or empty corpus would let the test pass without replaying anything.
    if (error || inputs.empty()) {
        std::fprintf(stderr, "%s: no inputs in %s\n", argv[0], argv[1]);
        return 1;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto& input : inputs) {
        const std::string bytes = tazen::fuzz::readBytes(input.string());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return 0;
}
