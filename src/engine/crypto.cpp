// The encryption and decryption runs: a pre-check over every file, then file by file through one buffer,
// each new file written under a temporary name and put in place only when complete on the device.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/crypto.h"

#include "engine/fileformat.h"
#include "engine/parallelcbc.h"
#include "engine/readback.h"
#include "platform/ascii.h"
#include "platform/files.h"
#include "platform/sysinfo.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>
#include <optional>

namespace tazen {

namespace {

using platform::Entry;
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

// A read-back that failed says why, as a failed read does; one that read different bytes has no reason to give.
std::string verifyFailureText(const char* failure, const std::string& name, ErrorCode error)
{
    const std::string text = failure + name;
    return error != 0 ? withReason(text, error) : text;
}

// The name a file's encryption would fail to create because it is longer than the folder takes, if any.
std::optional<std::string> tooLongForExtension(const std::string& name, bool executable)
{
    const std::size_t slash = name.find_last_of('/');
    const std::size_t base = slash == std::string::npos ? name.size() : name.size() - slash - 1;
    const std::size_t limit = platform::LongestNameIn(platform::FolderOf(name));
    std::string made = name + std::string(kEncryptedExtension);
    if (base + made.size() - name.size() > limit)
        return made;
    made += ".exe";
    if (executable && base + made.size() - name.size() > limit)
        return made;
    return std::nullopt;
}

// The caller finds the stopping file by the first entry equal to its name, letter case disregarded.
int positionOf(const std::vector<std::string>& fileNames, std::size_t index)
{
    for (std::size_t i = 0; i < index; ++i)
        if (platform::EqualIgnoringAsciiCase(fileNames[i], fileNames[index]))
            return static_cast<int>(i);
    return static_cast<int>(index);
}

// Whether a new file may take this name: yes when nothing has it, else as the frontend says. replace tells
// whether an existing file may go. A folder or a write-protected file is not asked about: creating the new
// file refuses it with its own reason.
bool mayTake(const Entry& entry, Frontend& frontend, bool& replace)
{
    platform::FileState state;
    replace = platform::StateOf(entry, state, true) == 0 && !state.IsFolder() && !state.IsWriteProtected();
    return !replace || frontend.MayReplace(entry.Path());
}

enum class StreamFailure
{
    None,
    Read,
    Write
};

// What the two runs share: the pre-check, the progress dialog, the buffer, the byte counts, the block
// loop, and how a run stops.
class Run
{
public:
    Run(const std::vector<std::string>& fileNames, std::string& message, Frontend& frontend)
        : fileNames_(fileNames), message_(message), frontend_(frontend), progress_(frontend.ProgressDialog())
    {
    }

    // Opens every file once to learn its size, then shows the dialog. Returns nothing, or the result of a
    // run that the pre-check stopped; nothing has been written then.
    std::optional<int> Start(const std::string& title, bool encrypted)
    {
        std::string text;
        const bool executable = !encrypted && SelfExtractingWanted(frontend_);
        if (const std::optional<std::size_t> stopped = PreCheckFiles(fileNames_, encrypted, text, &total_, executable))
            return Stop(*stopped, std::move(text));
        progress_.StartProgress(title, std::to_string(fileNames_.size()));
        return std::nullopt;
    }

    // Names the file in the dialog, lets messages through, and opens its folder and then it; false when
    // either cannot be opened. Every later step for the file goes through that folder.
    bool OpenSource(std::size_t index, File& source, std::int64_t& size)
    {
        progress_.lblFilename().SetCaption(fileNames_[index]);
        frontend_.ProcessMessages();
        entry_ = Entry();
        if (Entry::Open(fileNames_[index], entry_) != 0 || platform::OpenForReadWrite(entry_, source) != 0 ||
            source.State(opened_) != 0)
            return false;
        size = opened_.size;
        return true;
    }

    // The file's name in its folder, as opened by OpenSource.
    const Entry& SourceEntry() const { return entry_; }

    // A file that is left as it is, because its new file may not replace an existing one.
    void Skip(std::int64_t size)
    {
        totalDone_ += static_cast<std::uint64_t>(size);
        progress_.gaugeTotal().SetProgress(GaugePercent(totalDone_, total_, kTotalGaugeThreshold));
    }

    // True when the name of the file just transferred still leads to the file that was read, as it was read.
    bool SourceStillNamed() const { return sourceStillNamed_; }
    // The state the file just transferred was read in.
    const platform::FileState& SourceState() const { return opened_; }

    // A run that stops on a failure hides the dialog; the caller finds the file by this position.
    int Stop(std::size_t index, std::string text)
    {
        progress_.HideProgress();
        return Cancelled(index, std::move(text));
    }

    // A cancelled run leaves the dialog alone: the button that cancelled it has closed it.
    int Cancelled(std::size_t index, std::string text)
    {
        frontend_.RunStoppedAt(index);
        message_ = std::move(text);
        return positionOf(fileNames_, index);
    }

    int Finish()
    {
        progress_.FinishProgress();
        return kAllFilesDone;
    }

    GaugePort& TotalGauge() { return progress_.gaugeTotal(); }

    // Moves the file's payload through the cipher into the new file, wipes the cipher, and puts the new
    // file in place, with the source's owner and permission bits. Returns nothing when the file is done
    // (skipped set when the new file was not put in place because the frontend kept a file that appeared
    // under its name meanwhile), otherwise the run's result. A source that changed while it was read
    // (length or modification time) stops the run as a failed read does.
    // check, when given, takes the plain bytes and is told what is on the device as it goes; once the new
    // file is flushed it is proven there, under its temporary name, before it may replace a file: always
    // when the check expects it, else when a file of its name appeared meanwhile. parallel, when given,
    // decrypts with helper threads.
    std::optional<int> Transfer(std::size_t index, TBlockCipher& cipher, Direction direction, File& source,
                                PendingFile& destination, std::int64_t fileSize, std::string_view cancelText,
                                bool replace, bool& skipped, ReadBackCheck* check = nullptr,
                                ParallelDecryption* parallel = nullptr)
    {
        const std::string& name = fileNames_[index];
        bool cancelled = false;
        ErrorCode error = 0;
        std::int64_t read = 0;
        skipped = false;
        const StreamFailure failure =
            Stream(cipher, direction, source, destination.Output(), fileSize, cancelled, error, read, check, parallel);
        cipher.Wipe();
        platform::FileState closing, named;
        const ErrorCode closingError = source.State(closing);
        // Read from its start to its end as it was opened, and nothing came after what was read.
        const bool unchanged = closingError == 0 && closing == opened_ &&
                               closing.size == read + (direction == Direction::Decrypt ? kCheckBlockSize : 0);
        sourceStillNamed_ = unchanged && platform::StateOf(entry_, named, true) == 0 && named == closing;
        static_cast<void>(source.Close()); // only read
        if (failure == StreamFailure::Read)
            return Stop(index, withReason("Could not read the file: " + name, error));
        const std::string writeFailure = "Could not write the file: " + destination.FinalName();
        if (failure == StreamFailure::Write)
            return Stop(index, withReason(writeFailure, error));
        if (cancelled)
            return Cancelled(index, std::string(cancelText));
        if (closingError != 0)
            return Stop(index, withReason("Could not read the file: " + name, closingError));
        if (!unchanged)
            return Stop(index, "Source file " + name + " changed while it was read.");

        if ((error = destination.Flush(closing.PermissionBits(), &closing)) != 0)
            return Stop(index, withReason(writeFailure, error));
        bool proven = false;
        const auto prove = [&] {
            proven = true;
            return !check || check->Finish();
        };
        const auto unproven = [&] {
            std::string text =
                verifyFailureText(direction == Direction::Encrypt ? kVerifyFailure : kDecryptedVerifyFailure,
                                  destination.FinalName(), check->ReadError());
            destination.Abandon();
            return Stop(index, std::move(text));
        };
        if (check && check->Expected() && !prove())
            return unproven();
        error = destination.CommitFlushed(replace);
        if (error == EEXIST && !replace) {
            // A file of the name appeared since the question: it goes only when the frontend allows it, and
            // only for a proven file.
            if (!frontend_.MayReplace(destination.FinalName())) {
                destination.Abandon();
                skipped = true;
                return std::nullopt;
            }
            if (!proven && !prove())
                return unproven();
            error = destination.CommitFlushed(true);
        }
        if (error != 0)
            return Stop(index, withReason(writeFailure, error));
        return std::nullopt;
    }

private:
    // Reads the file a chunk at a time and passes each through the block loop (Pass) into destination.
    // fileSize is what the file gauge divides by.
    StreamFailure Stream(TBlockCipher& cipher, Direction direction, File& source, File& destination,
                         std::int64_t fileSize, bool& cancelled, ErrorCode& error, std::int64_t& read,
                         ReadBackCheck* check, ParallelDecryption* parallel)
    {
        progress_.gaugeFile().SetProgress(0);
        cancelled = false;
        if (parallel && parallel->Helps())
            return streamAhead(cipher, source, destination, fileSize, cancelled, error, read, check, *parallel);
        const auto whole = static_cast<std::uint64_t>(fileSize);
        std::uint64_t fileDone = 0;
        for (;;) {
            std::int64_t got = 0;
            if ((error = source.Read(buffer_.data(), kChunkSize, got)) != 0)
                return StreamFailure::Read;
            read += got;
            if (check && direction == Direction::Encrypt)
                check->AddPlain(buffer_.data(), got);
            bool fileEnded = false;
            const std::int64_t passed =
                Pass(cipher, direction, buffer_.data(), got, nullptr, fileDone, whole, cancelled, fileEnded);
            // A cancelled file is thrown away, so its last bytes need not be written.
            if (cancelled)
                return StreamFailure::None;
            if ((error = writeOut(destination, buffer_.data(), passed, check, direction == Direction::Decrypt)) != 0)
                return StreamFailure::Write;
            if (fileEnded)
                return StreamFailure::None;
        }
    }

    // Stream's decryption with helpers. The chunks after the one being passed are read and queued for the
    // helpers up to ParallelDecryption::kQueued at a time, and the chunk before it is written meanwhile, so
    // the helpers have work while the caller reads and writes. What is read, what is written and the steps
    // the user sees are those of the plain loop; a read that failed is reported where that loop would have
    // made it.
    StreamFailure streamAhead(TBlockCipher& cipher, File& source, File& destination, std::int64_t fileSize,
                              bool& cancelled, ErrorCode& error, std::int64_t& read, ReadBackCheck* check,
                              ParallelDecryption& parallel)
    {
        constexpr std::size_t kBuffers = ParallelDecryption::kQueued;
        std::array<std::uint8_t*, kBuffers> buffers{buffer_.data()};
        for (std::size_t i = 1; i < kBuffers; ++i) {
            if (!spares_[i - 1])
                spares_[i - 1] = std::make_unique<SecretBuffer>(static_cast<std::size_t>(kChunkSize));
            buffers[i] = spares_[i - 1]->data();
        }
        std::array<std::int64_t, kBuffers> sizes{};
        const auto whole = static_cast<std::uint64_t>(fileSize);
        std::uint64_t fileDone = 0;
        // Chunks read and queued so far; the last of them ends the file when it has a part piece.
        std::uint64_t queued = 0;
        bool endQueued = false;
        ErrorCode readError = 0;
        const auto readNext = [&] {
            if (endQueued || readError != 0)
                return;
            std::int64_t& got = sizes[queued % kBuffers];
            if ((readError = source.Read(buffers[queued % kBuffers], kChunkSize, got)) != 0)
                return;
            read += got;
            endQueued = got % kPieceSize != 0 || got == 0;
            parallel.Begin(buffers[queued % kBuffers], got);
            ++queued;
        };
        // Whatever ends the stream, the helpers are off the buffers first.
        const auto stop = [&](StreamFailure failure) {
            parallel.Stop();
            return failure;
        };
        readNext();
        readNext();
        for (std::uint64_t chunk = 0;; ++chunk) {
            if (chunk == queued) {
                error = readError;
                return stop(StreamFailure::Read);
            }
            const std::uint64_t previous = chunk + kBuffers - 1;
            if (chunk > 0 && (error = writeOut(destination, buffers[previous % kBuffers], sizes[previous % kBuffers],
                                               check, true)) != 0)
                return stop(StreamFailure::Write);
            readNext();
            bool fileEnded = false;
            const std::int64_t passed = Pass(cipher, Direction::Decrypt, buffers[chunk % kBuffers],
                                             sizes[chunk % kBuffers], &parallel, fileDone, whole, cancelled, fileEnded);
            if (cancelled)
                return stop(StreamFailure::None);
            if (fileEnded) {
                error = writeOut(destination, buffers[chunk % kBuffers], passed, check, true);
                return stop(error != 0 ? StreamFailure::Write : StreamFailure::None);
            }
        }
    }

    // The block loop over one chunk. Each pass handles messages, notes Cancel, transforms up to kPieceSize
    // bytes (unless the helpers have them) and updates the gauges; a short piece ends the file, so a file
    // whose size is a multiple of kPieceSize ends with an empty pass, and a Cancel noted in a pass still lets
    // that pass's piece through. Returns the bytes passed, all of them transformed.
    std::int64_t Pass(TBlockCipher& cipher, Direction direction, std::uint8_t* chunk, std::int64_t got,
                      ParallelDecryption* parallel, std::uint64_t& fileDone, std::uint64_t whole, bool& cancelled,
                      bool& fileEnded)
    {
        std::int64_t offset = 0;
        bool own = true;
        for (;;) {
            cancelled = cancelAsked();
            const std::int64_t piece = std::min<std::int64_t>(kPieceSize, got - offset);
            if (own && (!parallel || parallel->Claim(offset / kPieceSize))) {
                TransformPayload(cipher, direction, chunk + offset, piece);
            } else if (own) {
                // The helpers have this piece and the rest; what is left is waiting for them.
                parallel->Finish(cipher);
                own = false;
            }
            offset += piece;
            fileDone += static_cast<std::uint64_t>(piece);
            piecePassed(piece, fileDone, whole);
            fileEnded = piece != kPieceSize;
            if (fileEnded || cancelled || offset == got)
                break;
        }
        if (parallel && own)
            parallel->Finish(cipher);
        return offset;
    }

    // Before each piece: pending messages are handled, and whether Cancel has been pressed is noted.
    bool cancelAsked()
    {
        frontend_.ProcessMessages();
        return progress_.ModalResult() == kModalResultCancel;
    }

    // After each piece: the counts and both gauges move on.
    void piecePassed(std::int64_t piece, std::uint64_t fileDone, std::uint64_t whole)
    {
        totalDone_ += static_cast<std::uint64_t>(piece);
        progress_.gaugeFile().SetProgress(GaugePercent(fileDone, whole, kFileGaugeThreshold));
        progress_.gaugeTotal().SetProgress(GaugePercent(totalDone_, total_, kTotalGaugeThreshold));
    }

    // plain: the bytes are what the new file is to give back, digested here as they go out.
    static ErrorCode writeOut(File& destination, const std::uint8_t* data, std::int64_t size, ReadBackCheck* check,
                              bool plain)
    {
        if (check && plain)
            check->AddPlain(data, size);
        if (const ErrorCode error = destination.Write(data, size))
            return error;
        destination.StartWriteback();
        if (check)
            check->Allow(destination.Flushed());
        return 0;
    }

    const std::vector<std::string>& fileNames_;
    std::string& message_;
    Frontend& frontend_;
    ProgressDialogPort& progress_;
    // It holds plain bytes.
    SecretBuffer buffer_{static_cast<std::size_t>(kChunkSize)};
    // The chunks queued for helpers after the one being passed, made the first time they help.
    std::array<std::unique_ptr<SecretBuffer>, ParallelDecryption::kQueued - 1> spares_;
    Entry entry_;
    platform::FileState opened_;
    bool sourceStillNamed_ = false;
    std::uint64_t total_ = 0;
    std::uint64_t totalDone_ = 0;
};

int encryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, const RunKey& key,
                 std::string& message, Frontend& frontend);
int decryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, const RunKey& key,
                 std::string& message, Frontend& frontend);

} // namespace

std::optional<std::size_t> PreCheckFiles(const std::vector<std::string>& fileNames, bool encrypted,
                                         std::string& message, std::uint64_t* total, bool executable)
{
    for (std::size_t i = 0; i < fileNames.size(); ++i) {
        File file;
        std::int64_t size = 0;
        if (platform::OpenForReadWrite(fileNames[i], file) != 0 || file.Size(size) != 0) {
            message = openFailureText(fileNames[i]);
            return i;
        }
        if (encrypted && PayloadSize(size) < 0) {
            message = "The file is too short to be a TaZEN encrypted file: " + fileNames[i];
            return i;
        }
        if (const std::optional<std::string> made =
                encrypted ? std::nullopt : tooLongForExtension(fileNames[i], executable)) {
            message = withReason("Could not create destination file: " + *made, ENAMETOOLONG);
            return i;
        }
        if (total)
            *total += static_cast<std::uint64_t>(size);
    }
    return std::nullopt;
}

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
    const RunKey key(cipher, password);
    return encryptFiles(cipher, fileNames, key, message, frontend);
}

int EncryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, Secret& password,
                 std::string& message, Frontend& frontend)
{
    const RunKey key(cipher, password.value);
    password.Wipe();
    return encryptFiles(cipher, fileNames, key, message, frontend);
}

int DecryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, std::string_view password,
                 std::string& message, Frontend& frontend)
{
    const RunKey key(cipher, password);
    return decryptFiles(cipher, fileNames, key, message, frontend);
}

int DecryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, Secret& password,
                 std::string& message, Frontend& frontend)
{
    const RunKey key(cipher, password.value);
    password.Wipe();
    return decryptFiles(cipher, fileNames, key, message, frontend);
}

namespace {

int encryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, const RunKey& key,
                 std::string& message, Frontend& frontend)
{
    Run run(fileNames, message, frontend);
    if (const std::optional<int> stopped = run.Start(kEncryptingTitle, false))
        return *stopped;
    for (std::size_t i = 0; i < fileNames.size(); ++i) {
        const std::string& name = fileNames[i];
        File source;
        std::int64_t size = 0;
        if (!run.OpenSource(i, source, size))
            return run.Stop(i, openFailureText(name));
        const Entry& entry = run.SourceEntry();
        const Entry destinationEntry = entry.WithSuffix(std::string(kEncryptedExtension));
        const std::string& destinationName = destinationEntry.Path();
        // Both names this file may take are settled before anything is written.
        bool replace = false;
        bool replaceExecutable = false;
        if (!mayTake(destinationEntry, frontend, replace) ||
            (SelfExtractingWanted(frontend) &&
             !mayTake(destinationEntry.WithSuffix(".exe"), frontend, replaceExecutable))) {
            run.Skip(size);
            continue;
        }
        PendingFile destination;
        if (PendingFile::Create(destinationEntry, destination) != 0)
            return run.Stop(i, "Could not create destination file: " + destinationName);

        WipeOnExit wipe(cipher);
        key.KeyCipher(cipher);
        // A source about to be destroyed, or a file about to be replaced, goes only once the encrypted file
        // has been read back and proven; the plain bytes' digest is taken anyway, in case a file of the name
        // appears meanwhile.
        std::optional<ReadBackCheck> check;
        if (frontend.SettingsControls().VerifyBeforeDisposal()) {
            check.emplace(cipher, key);
            check->Start(destination, DisposalWanted(frontend) || replace || replaceExecutable);
        }
        destination.Output().Preallocate(kCheckBlockSize + size);
        if (const ErrorCode error = destination.Output().Write(key.Check().data(), kCheckBlockSize))
            return run.Stop(i, withReason("Could not write the file: " + destinationName, error));

        bool skipped = false;
        if (const std::optional<int> stopped =
                run.Transfer(i, cipher, Direction::Encrypt, source, destination, size, kEncryptionCanceled, replace,
                             skipped, check ? &*check : nullptr))
            return *stopped;
        if (skipped)
            continue;

        ErrorCode readBackError = 0;
        const int executable = MakeSelfExtractingFile(destinationEntry, frontend, replaceExecutable, &readBackError);
        if (executable == kExecutableNotProven)
            return run.Stop(
                i, verifyFailureText(kVerifyFailure, destinationEntry.WithSuffix(".exe").Path(), readBackError));
        if (executable == 2)
            frontend.ShowMessage(MessageKind::Error, "An error occured while creating " + name + " executable.");
        std::string reason;
        const DisposalResult disposal =
            DisposeSourceFile(entry, frontend, run.SourceStillNamed(), &run.SourceState(), &reason);
        const std::string secondLine = reason.empty() ? "" : "\n\r" + reason;
        switch (disposal) {
        case NotDeleted:
            frontend.ShowMessage(MessageKind::Warning, "Source file " + name + " not deleted." + secondLine);
            break;
        case NotShredded:
            frontend.ShowMessage(MessageKind::Warning,
                                 "Source file " + name + " not thoroughly shredded." + secondLine);
            break;
        case Done:
            break;
        }
    }
    return run.Finish();
}

int decryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, const RunKey& key,
                 std::string& message, Frontend& frontend)
{
    Run run(fileNames, message, frontend);
    if (const std::optional<int> stopped = run.Start(kDecryptingTitle, true))
        return *stopped;
    for (std::size_t i = 0; i < fileNames.size(); ++i) {
        const std::string& name = fileNames[i];
        File source;
        std::int64_t size = 0;
        if (!run.OpenSource(i, source, size))
            return run.Stop(i, "Could not open source file: " + name);
        const Entry& entry = run.SourceEntry();
        const Entry destinationEntry = entry.Sibling(PlainName(entry.Base()));
        const std::string& destinationName = destinationEntry.Path();

        // The password is checked before anything is created, so a wrong one costs no existing file.
        std::uint8_t head[kCheckBlockSize];
        std::int64_t got = 0;
        if (const ErrorCode error = source.Read(head, kCheckBlockSize, got))
            return run.Stop(i, withReason("Could not read the file: " + name, error));
        if (got != kCheckBlockSize)
            return run.Stop(i, "The file is too short to be a TaZEN encrypted file: " + name);
        if (!CheckBlockMatches(key.Check(), head))
            return run.Stop(i, "Wrong password for the file: " + name);
        WipeOnExit wipe(cipher);
        key.KeyCipher(cipher);

        bool replace = false;
        if (!mayTake(destinationEntry, frontend, replace)) {
            cipher.Wipe();
            run.Skip(size);
            continue;
        }
        PendingFile destination;
        if (PendingFile::Create(destinationEntry, destination) != 0)
            return run.Stop(i, "Could not create destination file: " + destinationName);
        destination.Output().Preallocate(PayloadSize(size));
        // The encrypted file goes only once the plain one has been read back and proven.
        std::optional<ReadBackCheck> check;
        if (frontend.SettingsControls().VerifyBeforeDisposal()) {
            check.emplace();
            check->Start(destination);
        }

        const int threads = frontend.DecryptionThreads();
        ParallelDecryption parallel(cipher, key, threads > 0 ? threads : platform::UsableProcessors());
        bool skipped = false;
        if (const std::optional<int> stopped =
                run.Transfer(i, cipher, Direction::Decrypt, source, destination, size, kDecryptionCanceled, replace,
                             skipped, check ? &*check : nullptr, &parallel))
            return *stopped;
        if (skipped)
            continue;
        // A name that leads elsewhere by now is not the file that was read.
        if (!run.SourceStillNamed() || platform::DeleteFile(entry, &run.SourceState(), true) != 0)
            return run.Stop(i, "Could not delete the file: " + name);
        run.TotalGauge().Advance(static_cast<int>(100 / fileNames.size()));
    }
    return run.Finish();
}

} // namespace

} // namespace tazen
