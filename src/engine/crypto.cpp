// The encryption and decryption runs: a pre-check over every file, then file by file through one buffer,
// each new file written under a temporary name and put in place only when complete on the device.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/crypto.h"

#include "engine/fileformat.h"
#include "platform/files.h"

#include <algorithm>
#include <memory>

namespace tazen {

namespace {

using platform::ErrorCode;
using platform::File;
using platform::PendingFile;

// Reads and writes move this much at a time; encryption, gauges, messages and Cancel still step by
// kPieceSize inside it, so the result on disk and on screen is the same as with 8192-byte reads.
constexpr std::int64_t kChunkSize = std::int64_t{128} * kPieceSize;

const std::string kEncryptingTitle = "Encrypting";
const std::string kDecryptingTitle = "Decrypting";

std::string openFailureText(const std::string& name)
{
    return "Could not open source file: \"" + name +
           "\"\n\rThis could happen if the file is write-protected.\n\rRemove the write-protection and try again.";
}

std::string withReason(const std::string& text, ErrorCode error)
{
    return text + "\n\r" + platform::ErrorText(error);
}

bool equalIgnoringCase(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
    });
}

// The caller finds the stopping file by the first entry equal to its name, letter case disregarded.
int positionOf(const std::vector<std::string>& fileNames, std::size_t index)
{
    for (std::size_t i = 0; i < index; ++i)
        if (equalIgnoringCase(fileNames[i], fileNames[index]))
            return static_cast<int>(i);
    return static_cast<int>(index);
}

// Leaves the cipher wiped on every way out of a file.
class WipeOnExit
{
public:
    explicit WipeOnExit(TBlockCipher& cipher) : cipher_(cipher) {}
    ~WipeOnExit() { cipher_.Wipe(); }
    WipeOnExit(const WipeOnExit&) = delete;
    WipeOnExit& operator=(const WipeOnExit&) = delete;

private:
    TBlockCipher& cipher_;
};

// The run's one data buffer; it holds plain bytes, so it is cleared when the run ends.
class RunBuffer
{
public:
    RunBuffer() : bytes_(std::make_unique<std::uint8_t[]>(kChunkSize)) {}
    ~RunBuffer() { SecureFill(bytes_.get(), 0, kChunkSize); }
    RunBuffer(const RunBuffer&) = delete;
    RunBuffer& operator=(const RunBuffer&) = delete;
    std::uint8_t* data() { return bytes_.get(); }

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
};

struct RunCounts
{
    std::uint64_t fileSize = 0;
    std::uint64_t fileDone = 0;
    std::uint64_t total = 0;
    std::uint64_t totalDone = 0;
};

enum class StreamFailure
{
    None,
    Read,
    Write
};

// The block loop of both runs. Each pass handles messages, notes Cancel, transforms up to kPieceSize bytes
// and updates the gauges; a short piece ends the file, so a file whose size is a multiple of kPieceSize
// ends with an empty pass, and a Cancel noted in a pass still lets that pass's piece through.
StreamFailure streamPayload(TBlockCipher& cipher, PayloadDirection direction, File& source, File& destination,
                            RunBuffer& buffer, RunCounts& counts, Frontend& frontend, bool& cancelled, ErrorCode& error)
{
    ProgressDialogPort& progress = frontend.ProgressDialog();
    cancelled = false;
    for (;;) {
        std::int64_t got = 0;
        if ((error = source.Read(buffer.data(), kChunkSize, got)) != 0)
            return StreamFailure::Read;
        std::int64_t offset = 0;
        bool fileEnded = false;
        for (;;) {
            frontend.ProcessMessages();
            cancelled = progress.ModalResult() == kModalResultCancel;
            const std::int64_t piece = std::min<std::int64_t>(kPieceSize, got - offset);
            TransformPayload(cipher, direction, buffer.data() + offset, piece);
            offset += piece;
            counts.fileDone += static_cast<std::uint64_t>(piece);
            counts.totalDone += static_cast<std::uint64_t>(piece);
            progress.gaugeFile().SetProgress(GaugePercent(counts.fileDone, counts.fileSize, kFileGaugeThreshold));
            progress.gaugeTotal().SetProgress(GaugePercent(counts.totalDone, counts.total, kTotalGaugeThreshold));
            if (piece != kPieceSize) {
                fileEnded = true;
                break;
            }
            if (cancelled || offset == got)
                break;
        }
        // A cancelled file is thrown away, so its last bytes need not be written.
        if (cancelled)
            return StreamFailure::None;
        if ((error = destination.Write(buffer.data(), offset)) != 0)
            return StreamFailure::Write;
        destination.StartWriteback();
        if (fileEnded)
            return StreamFailure::None;
    }
}

// Opens every file once to learn its size. Returns the index of a file that fails, or -1.
int preCheck(const std::vector<std::string>& fileNames, bool encrypted, std::uint64_t& total, std::string& message)
{
    total = 0;
    for (std::size_t i = 0; i < fileNames.size(); ++i) {
        File file;
        std::int64_t size = 0;
        if (platform::OpenForReadWrite(fileNames[i], file) != 0 || file.Size(size) != 0) {
            message = openFailureText(fileNames[i]);
            return static_cast<int>(i);
        }
        if (encrypted && PayloadSize(size) < 0) {
            message = "The file is too short to be a TaZEN encrypted file: " + fileNames[i];
            return static_cast<int>(i);
        }
        total += static_cast<std::uint64_t>(size);
    }
    return -1;
}

// The permission bits a new file takes from the file it was made from.
mode_t inheritedPermissions(const std::string& from)
{
    const mode_t bits = platform::PermissionBits(from);
    return bits == ~mode_t{0} ? 0600 : bits;
}

} // namespace

int GaugePercent(std::uint64_t done, std::uint64_t whole, std::uint64_t threshold)
{
    if (done >= whole)
        return 100;
    if (whole > threshold)
        return static_cast<int>(done / (whole / 100));
    // done < whole here; 128 bits keep the product exact for any threshold.
    __extension__ using Wide = unsigned __int128;
    return static_cast<int>(Wide{done} * 100 / whole);
}

int EncryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, std::string_view password,
                 std::string& message, Frontend& frontend)
{
    ProgressDialogPort& progress = frontend.ProgressDialog();
    RunCounts counts;
    if (const int failed = preCheck(fileNames, false, counts.total, message); failed >= 0) {
        progress.HideProgress();
        return positionOf(fileNames, static_cast<std::size_t>(failed));
    }
    progress.StartProgress(kEncryptingTitle, std::to_string(fileNames.size()));

    RunBuffer buffer;
    for (std::size_t i = 0; i < fileNames.size(); ++i) {
        const std::string& name = fileNames[i];
        const auto stop = [&](std::string text) {
            progress.HideProgress();
            message = std::move(text);
            return positionOf(fileNames, i);
        };
        progress.lblFilename().SetCaption(name);
        frontend.ProcessMessages();

        File source;
        std::int64_t size = 0;
        if (platform::OpenForReadWrite(name, source) != 0 || source.Size(size) != 0)
            return stop(openFailureText(name));
        const std::string destinationName = EncryptedName(name);
        PendingFile destination;
        if (PendingFile::Create(destinationName, destination) != 0)
            return stop("Could not create destination file: " + destinationName);

        WipeOnExit wipe(cipher);
        const CheckBlock check = KeyCipher(cipher, password);
        destination.Output().Preallocate(kCheckBlockSize + size);
        if (const ErrorCode error = destination.Output().Write(check.data(), kCheckBlockSize))
            return stop(withReason("Could not write the file: " + destinationName, error));
        progress.gaugeFile().SetProgress(0);
        counts.fileSize = static_cast<std::uint64_t>(size);
        counts.fileDone = 0;

        bool cancelled = false;
        ErrorCode error = 0;
        const StreamFailure failure = streamPayload(cipher, PayloadDirection::Encrypt, source, destination.Output(),
                                                    buffer, counts, frontend, cancelled, error);
        cipher.Wipe();
        if (failure == StreamFailure::Read)
            return stop(withReason("Could not read the file: " + name, error));
        if (failure == StreamFailure::Write)
            return stop(withReason("Could not write the file: " + destinationName, error));
        if (cancelled) {
            destination.Abandon();
            message = "Encryption canceled";
            return positionOf(fileNames, i);
        }
        if ((error = destination.Commit(inheritedPermissions(name))) != 0)
            return stop(withReason("Could not write the file: " + destinationName, error));
        source.Close();

        if (MakeSelfExtractingFile(destinationName, frontend) == 2)
            frontend.ShowMessage(MessageKind::Error, "An error occured while creating " + name + " executable.");
        switch (DisposeSourceFile(name, frontend)) {
        case NotDeleted:
            frontend.ShowMessage(MessageKind::Warning, "Source file " + name + " not deleted.");
            break;
        case NotShredded:
            frontend.ShowMessage(MessageKind::Warning, "Source file " + name + " not thoroughly shredded.");
            break;
        case Done:
            break;
        }
    }
    progress.FinishProgress();
    return kAllFilesDone;
}

int DecryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, std::string_view password,
                 std::string& message, Frontend& frontend)
{
    ProgressDialogPort& progress = frontend.ProgressDialog();
    RunCounts counts;
    if (const int failed = preCheck(fileNames, true, counts.total, message); failed >= 0) {
        progress.HideProgress();
        return positionOf(fileNames, static_cast<std::size_t>(failed));
    }
    progress.StartProgress(kDecryptingTitle, std::to_string(fileNames.size()));

    RunBuffer buffer;
    for (std::size_t i = 0; i < fileNames.size(); ++i) {
        const std::string& name = fileNames[i];
        const auto stop = [&](std::string text) {
            progress.HideProgress();
            message = std::move(text);
            return positionOf(fileNames, i);
        };
        progress.lblFilename().SetCaption(name);
        frontend.ProcessMessages();

        File source;
        std::int64_t size = 0;
        if (platform::OpenForReadWrite(name, source) != 0 || source.Size(size) != 0)
            return stop("Could not open source file: " + name);
        const std::string destinationName = PlainName(name);

        // The password is checked before anything is created, so a wrong one costs no existing file.
        std::uint8_t head[kCheckBlockSize];
        std::int64_t got = 0;
        if (const ErrorCode error = source.Read(head, kCheckBlockSize, got))
            return stop(withReason("Could not read the file: " + name, error));
        if (got != kCheckBlockSize)
            return stop("The file is too short to be a TaZEN encrypted file: " + name);
        WipeOnExit wipe(cipher);
        if (!CheckBlockMatches(KeyCipher(cipher, password), head)) {
            cipher.Wipe();
            return stop("Wrong password for the file: " + name);
        }

        PendingFile destination;
        if (PendingFile::Create(destinationName, destination) != 0)
            return stop("Could not create destination file: " + destinationName);
        destination.Output().Preallocate(PayloadSize(size));
        progress.gaugeFile().SetProgress(0);
        counts.fileSize = static_cast<std::uint64_t>(size);
        counts.fileDone = 0;

        bool cancelled = false;
        ErrorCode error = 0;
        const StreamFailure failure = streamPayload(cipher, PayloadDirection::Decrypt, source, destination.Output(),
                                                    buffer, counts, frontend, cancelled, error);
        cipher.Wipe();
        source.Close();
        if (failure == StreamFailure::Read)
            return stop(withReason("Could not read the file: " + name, error));
        if (failure == StreamFailure::Write)
            return stop(withReason("Could not write the file: " + destinationName, error));
        if (cancelled) {
            destination.Abandon();
            message = "Decryption canceled";
            return positionOf(fileNames, i);
        }
        if ((error = destination.Commit(inheritedPermissions(name))) != 0)
            return stop(withReason("Could not write the file: " + destinationName, error));
        if (platform::DeleteFile(name) != 0)
            return stop("Could not delete the file: " + name);
        progress.gaugeTotal().Advance(static_cast<int>(100 / fileNames.size()));
    }
    progress.FinishProgress();
    return kAllFilesDone;
}

} // namespace tazen
