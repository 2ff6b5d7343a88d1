// The encryption and decryption runs over a list of files.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/cryptbase.h"
#include "engine/frontend.h"
#include "engine/outcome.h"
#include "format/fileformat.h"
#include "platform/entry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tazen {

// Encrypts every file into name + ".TaZEN" beside it, then makes its self-extracting executable and
// disposes of its source as the settings say. A new file is proven on the device (unless the settings
// controls say not to) before it replaces an existing file or anything it stands for is destroyed. A source
// that changes while it is read stops the run there. The cipher is left wiped.
RunOutcome EncryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, std::string_view password,
                        Frontend& frontend);
// The same, with the password wiped as soon as the run has made its key from it.
RunOutcome EncryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, Secret& password,
                        Frontend& frontend);

// Decrypts every .TaZEN file, and every self-extracting executable (.TaZEN.exe) whose attached .TaZEN file is
// found by searching it for the password's check block, into its plain name, and deletes it once the plain
// file is complete and proven on the device; a name that leads to another file by then is kept, and the run
// stops there. An executable without the check block is a wrong password, known after one pass over it. Same
// proof rules as EncryptFiles.
RunOutcome DecryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, std::string_view password,
                        Frontend& frontend);
RunOutcome DecryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, Secret& password,
                        Frontend& frontend);

// The keys a decryption tries on each file, in order: the first whose check block the file holds opens it.
// One the frontend gives for a file that no key opened (RunEvents::WrongPassword) is added for the later ones.
class RunKeys
{
public:
    RunKeys() = default;
    explicit RunKeys(const RunKey& key) { keys_.push_back(&key); }
    RunKeys(const RunKeys&) = delete;
    RunKeys& operator=(const RunKeys&) = delete;

    // A key made from password, which is wiped then; it is tried after those before it. The cipher is left wiped.
    void Add(TBlockCipher& cipher, Secret& password);
    void Add(std::unique_ptr<RunKey> key);
    std::size_t Count() const { return keys_.size(); }
    const RunKey& operator[](std::size_t index) const { return *keys_[index]; }
    // Their check blocks, in order.
    std::vector<const CheckBlock*> Checks() const;

private:
    std::vector<const RunKey*> keys_;
    std::vector<std::unique_ptr<RunKey>> owned_;
};

// Either run with a key already made.
RunOutcome RunFiles(Direction direction, TBlockCipher& cipher, const std::vector<std::string>& fileNames,
                    const RunKey& key, Frontend& frontend);
// A run with several keys: encryption uses the first; decryption tries them all on each file.
RunOutcome RunFiles(Direction direction, TBlockCipher& cipher, const std::vector<std::string>& fileNames, RunKeys& keys,
                    Frontend& frontend);

// The described form of the runs: kAllFilesDone, or the position of the first entry equal (letter case
// disregarded) to the file at which the run stopped, with the reason in message.
[[nodiscard]] int EncryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames,
                               std::string_view password, std::string& message, Frontend& frontend);
[[nodiscard]] int EncryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, Secret& password,
                               std::string& message, Frontend& frontend);
[[nodiscard]] int DecryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames,
                               std::string_view password, std::string& message, Frontend& frontend);
[[nodiscard]] int DecryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, Secret& password,
                               std::string& message, Frontend& frontend);

// The runs' pre-check, made over the whole list before anything is written: the first file that cannot be
// opened, is too short to be a .TaZEN file (decryption) or has a name too long for its folder to take
// ".TaZEN" (encryption; with executable, ".TaZEN.exe" too), in the folder controls name for its new file when
// given. Completed when every file passes. total, when given, has their sizes added to it.
RunOutcome PreCheckFiles(const std::vector<std::string>& fileNames, Direction direction, std::uint64_t* total = nullptr,
                         bool executable = false, const SettingsControlsPort* controls = nullptr);

// Where the new file of base, made from source, goes: beside source, or in the folder the frontend names for
// it, missing folders below that one made on the way.
ErrorCode DestinationEntry(const platform::Entry& source, const std::string& base, const SettingsControlsPort& controls,
                           platform::Entry& destination);

// The described position of the file at index: the first entry equal to it with letter case disregarded.
std::size_t PositionOf(const std::vector<std::string>& fileNames, std::size_t index);

// A gauge's percentage as the runs compute it: done × 100 div whole while whole is at most threshold, else
// done div (whole div 100); 64-bit, never above 100, and 100 for an empty whole.
int GaugePercent(std::uint64_t done, std::uint64_t whole, std::uint64_t threshold);
inline constexpr std::uint64_t kFileGaugeThreshold = 10000;
inline constexpr std::uint64_t kTotalGaugeThreshold = 40000000;

} // namespace tazen
