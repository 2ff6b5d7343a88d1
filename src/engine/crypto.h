// The encryption and decryption runs over a list of files, what happens to each source afterwards, and
// self-extracting executables.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/cryptbase.h"
#include "engine/frontend.h"
#include "platform/files.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tazen {

// The result of a run that went through every file.
inline constexpr int kAllFilesDone = -1;
// The message of a run the user cancelled. The window empties its list after these alone, so they are
// compared whole: a file name in another message may hold the word.
inline constexpr std::string_view kEncryptionCanceled = "Encryption canceled";
inline constexpr std::string_view kDecryptionCanceled = "Decryption canceled";

// Encrypts every file into name + ".TaZEN" beside it, then makes its self-extracting executable and
// disposes of its source as the settings say. A new file is proven on the device (unless the settings
// controls say not to) before it replaces an existing file or anything it stands for is destroyed. A source
// that changes while it is read stops the run there. Returns kAllFilesDone, or the position of the first
// entry equal (letter case disregarded) to the file at which the run stopped, with the reason in message.
// The cipher is left wiped.
int EncryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, std::string_view password,
                 std::string& message, Frontend& frontend);

// The same, with the password wiped as soon as the run has made its key from it.
int EncryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, Secret& password,
                 std::string& message, Frontend& frontend);

// Decrypts every .TaZEN file into its plain name and deletes it once the plain file is complete and proven
// on the device; a name that leads to another file by then is kept, and the run stops there. Same proof,
// result and message rules as EncryptFiles.
int DecryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, std::string_view password,
                 std::string& message, Frontend& frontend);
int DecryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, Secret& password,
                 std::string& message, Frontend& frontend);

// The runs' pre-check, made over the whole list before anything is written: the position of the first file
// that cannot be opened, is too short to be a .TaZEN file (encrypted) or has a name too long for its folder
// to take ".TaZEN" (not encrypted; with executable, ".TaZEN.exe" too), with the run's text for it in
// message; nullopt when every file passes. total, when given, has their sizes added to it.
std::optional<std::size_t> PreCheckFiles(const std::vector<std::string>& fileNames, bool encrypted,
                                         std::string& message, std::uint64_t* total = nullptr, bool executable = false);

enum DisposalResult
{
    Done = 0,
    NotDeleted = 1,
    NotShredded = 2
};

// Keeps, deletes or shreds a source that has just been encrypted, as the SourceFiles setting says. A source
// that no longer holds what was encrypted (it changed while it was read) is kept, and reported as not
// deleted or not shredded. Given the state the source was encrypted in, a name that leads to another file
// by the time of the disposal is kept likewise, and shredding overwrites only the file of that state. A
// source with other names (hard links) is kept, and reason, when given, says so; a shredding on a file system
// that keeps earlier copies of changed data still runs and deletes the file, but is reported as not
// thorough, with that reason.
DisposalResult DisposeSourceFile(const std::string& fileName, Frontend& frontend, bool holdsWhatWasEncrypted = true,
                                 const platform::FileState* encrypted = nullptr, std::string* reason = nullptr);
DisposalResult DisposeSourceFile(const platform::Entry& source, Frontend& frontend, bool holdsWhatWasEncrypted,
                                 const platform::FileState* encrypted, std::string* reason);

// The second lines of the disposal warnings.
inline constexpr const char* kOtherLinksReason = "Other names (hard links) still lead to its data.";
inline constexpr const char* kCopyOnWriteReason =
    "The file system keeps earlier copies of changed data (copy-on-write).";

// What a shredding found besides its passes.
struct ShredReport
{
    // The deletion after the passes succeeded.
    bool deleted = false;
    // The file system keeps earlier copies of what the passes overwrote.
    bool copyOnWrite = false;
    // The file has other names; it was left untouched.
    bool otherLinks = false;
};

// Overwrites the file 35 times (Gutmann) and deletes it. True when every pass was written and the
// deletion attempted. Given an expected state, a file opened under the name in any other state is left
// untouched, as a failure; so is a file with other names (hard links), without a message box.
bool ShredFile(const std::string& fileName, Frontend& frontend, ShredReport* report = nullptr,
               const platform::FileState* expected = nullptr);
bool ShredFile(const platform::Entry& file, Frontend& frontend, ShredReport* report,
               const platform::FileState* expected);

// Pattern bytes of passes 5 to 31; a row whose second byte is 0x0A is the one-byte pattern in its first.
inline constexpr int kShredPasses = 35;
inline constexpr int kFixedShredPatterns = 27;
extern const std::uint8_t ShredPatterns[kFixedShredPatterns][3];

// The messages of a run that stopped because a new file did not read back as what was written into it.
inline constexpr const char* kVerifyFailure = "Could not verify the encrypted file: ";
inline constexpr const char* kDecryptedVerifyFailure = "Could not verify the decrypted file: ";
// Whether the settings ask now for each source to be deleted or shredded after its encryption.
bool DisposalWanted(Frontend& frontend);

// MakeSelfExtractingFile's result when the executable was made but did not read back as the extractor and the
// encrypted file, so both the executable and the encrypted file's deletion were given up.
inline constexpr int kExecutableNotProven = 3;

// 0 when no executable was wanted or it was made; 2 when it was wanted and could not be made. Without
// mayReplace, an executable of that name that exists is replaced only when the frontend allows it.
int MakeSelfExtractingFile(const std::string& encryptedName, Frontend& frontend);
// readBackError, when given, is set to why the executable could not be read back where that made it
// kExecutableNotProven.
int MakeSelfExtractingFile(const platform::Entry& encrypted, Frontend& frontend, bool mayReplace,
                           platform::ErrorCode* readBackError = nullptr);
// Writes the extractor followed by the encrypted file to outputName, then deletes the encrypted file.
bool BuildExecutable(const std::string& outputName, const std::string& extractorPath, const std::string& encryptedName,
                     Frontend& frontend);
// Unless the settings controls say not to, the executable is read back from the device and proven, under its
// temporary name, before it replaces a file or the encrypted file goes. notProven, when given, tells that it
// was built but did not read back as the extractor's bytes followed by the encrypted file's: it was removed
// and every other file kept. readBackError then tells why it could not be read back, or 0 when it read back
// different bytes.
bool BuildExecutable(const platform::Entry& output, const std::string& extractorPath, const platform::Entry& encrypted,
                     Frontend& frontend, bool mayReplace, bool* notProven = nullptr,
                     platform::ErrorCode* readBackError = nullptr);
// Whether the settings ask for an executable beside each encrypted file now.
bool SelfExtractingWanted(Frontend& frontend);
// The folder of the program + "/extractor".
std::string SelfExtractorPath();

// A gauge's percentage as the runs compute it: done × 100 div whole while whole is at most threshold, else
// done div (whole div 100); 64-bit, never above 100, and 100 for an empty whole.
int GaugePercent(std::uint64_t done, std::uint64_t whole, std::uint64_t threshold);
inline constexpr std::uint64_t kFileGaugeThreshold = 10000;
inline constexpr std::uint64_t kTotalGaugeThreshold = 40000000;

} // namespace tazen
