// The encryption and decryption runs: a pre-check over every file, then file by file through one buffer,
// each new file written under a temporary name and put in place only when complete on the device.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/crypto.h"

#include "base/ascii.h"
#include "engine/readback.h"
#include "format/fileformat.h"
#include "format/stream.h"
#include "platform/files.h"
#include "platform/sysinfo.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <optional>

namespace tazen {

namespace {

using platform::Entry;
using platform::ErrorCode;
using platform::File;
using platform::PendingFile;

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

// Why a decryption does not go past the file's check block, if it does not.
std::optional<std::string> refusal(const CheckOutcome& head, const std::string& name)
{
    switch (head.result) {
    case CheckResult::ReadFailed:
        return withReason("Could not read the file: " + name, head.error);
    case CheckResult::TooShort:
        return "The file is too short to be a TaZEN encrypted file: " + name;
    case CheckResult::WrongPassword:
        return "Wrong password for the file: " + name;
    case CheckResult::Matches:
        break;
    }
    return std::nullopt;
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
        if (EqualIgnoringAsciiCase(fileNames[i], fileNames[index]))
            return static_cast<int>(i);
    return static_cast<int>(index);
}

// Whether a new file may take this name: yes when nothing has it, else as the frontend says. replace tells
// whether an existing file may go. A folder or a write-protected file is not asked about: creating the new
// file refuses it with its own reason.
bool mayTake(const Entry& entry, Frontend& frontend, bool& replace)
{
    platform::FileState state;
    replace = platform::StateOf(entry, state, true) == 0 && !S_ISDIR(state.mode) &&
              !(S_ISREG(state.mode) && (state.mode & S_IWUSR) == 0);
    return !replace || frontend.MayReplace(entry.Path());
}

// What the two runs share: the pre-check, the progress dialog, the buffers, the byte counts, the stream's hooks,
// and how a run stops.
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
    // when the check expects it, else when a file of its name appeared meanwhile. payload moves the bytes:
    // the writer's or the reader's stream, given the run's hooks.
    std::optional<int> Transfer(std::size_t index, TBlockCipher& cipher, Direction direction, File& source,
                                PendingFile& destination, std::int64_t fileSize, std::string_view cancelText,
                                bool replace, bool& skipped, ReadBackCheck* check,
                                const std::function<StreamOutcome(PayloadHooks&)>& payload)
    {
        const std::string& name = fileNames_[index];
        skipped = false;
        progress_.gaugeFile().SetProgress(0);
        FileHooks hooks(*this, destination.Output(), check, static_cast<std::uint64_t>(fileSize));
        const StreamOutcome stream = payload(hooks);
        ErrorCode error = stream.error;
        cipher.Wipe();
        platform::FileState closing, named;
        const ErrorCode closingError = source.State(closing);
        // Read from its start to its end as it was opened, and nothing came after what was read.
        const bool unchanged = closingError == 0 && closing == opened_ &&
                               closing.size == stream.read + (direction == Direction::Decrypt ? kCheckBlockSize : 0);
        sourceStillNamed_ = unchanged && platform::StateOf(entry_, named, true) == 0 && named == closing;
        static_cast<void>(source.Close()); // only read
        if (stream.failure == StreamFailure::Read)
            return Stop(index, withReason("Could not read the file: " + name, error));
        const std::string writeFailure = "Could not write the file: " + destination.FinalName();
        if (stream.failure == StreamFailure::Write)
            return Stop(index, withReason(writeFailure, error));
        if (stream.cancelled)
            return Cancelled(index, std::string(cancelText));
        if (closingError != 0)
            return Stop(index, withReason("Could not read the file: " + name, closingError));
        if (!unchanged)
            return Stop(index, "Source file " + name + " changed while it was read.");

        if ((error = destination.Flush(closing.mode & 0777, &closing)) != 0)
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

    // The run's buffers, kept from file to file.
    PayloadBuffers& Buffers() { return buffers_; }

private:
    // The run's side of a file's stream: Cancel and the gauges at each piece; the read-back's digest, and the
    // writeback of what the new file has taken, at each chunk.
    class FileHooks : public PayloadHooks
    {
    public:
        FileHooks(Run& run, File& destination, ReadBackCheck* check, std::uint64_t whole)
            : run_(run), destination_(destination), check_(check), whole_(whole)
        {
        }
        bool CancelAsked() override { return run_.cancelAsked(); }
        void PiecePassed(std::int64_t piece, std::int64_t done) override
        {
            run_.piecePassed(piece, static_cast<std::uint64_t>(done), whole_);
        }
        void PlainChunk(const std::uint8_t* data, std::int64_t size) override
        {
            if (check_)
                check_->AddPlain(data, size);
        }
        void ChunkWritten(std::int64_t /*size*/) override
        {
            destination_.StartWriteback();
            if (check_)
                check_->Allow(destination_.Flushed());
        }

    private:
        Run& run_;
        File& destination_;
        ReadBackCheck* check_;
        std::uint64_t whole_;
    };

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

    const std::vector<std::string>& fileNames_;
    std::string& message_;
    Frontend& frontend_;
    ProgressDialogPort& progress_;
    PayloadBuffers buffers_;
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
        TazenWriter writer(cipher, key, run.Buffers());
        // A source about to be destroyed, or a file about to be replaced, goes only once the encrypted file
        // has been read back and proven; the plain bytes' digest is taken anyway, in case a file of the name
        // appears meanwhile.
        std::optional<ReadBackCheck> check;
        if (frontend.SettingsControls().VerifyBeforeDisposal()) {
            check.emplace(cipher, key);
            check->Start(destination, DisposalWanted(frontend) || replace || replaceExecutable);
        }
        destination.Output().Preallocate(kCheckBlockSize + size);
        if (const ErrorCode error = writer.Begin(destination.Output()))
            return run.Stop(i, withReason("Could not write the file: " + destinationName, error));

        bool skipped = false;
        if (const std::optional<int> stopped =
                run.Transfer(i, cipher, Direction::Encrypt, source, destination, size, kEncryptionCanceled, replace,
                             skipped, check ? &*check : nullptr,
                             [&](PayloadHooks& hooks) { return writer.Encrypt(source, destination.Output(), hooks); }))
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
        TazenReader reader(cipher, key, run.Buffers());
        if (const std::optional<std::string> refused = refusal(reader.ReadCheckBlock(source), name))
            return run.Stop(i, *refused);
        WipeOnExit wipe(cipher);
        reader.KeyCipher();

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

        const int asked = frontend.DecryptionThreads();
        const int threads = asked > 0 ? asked : platform::UsableProcessors();
        bool skipped = false;
        if (const std::optional<int> stopped =
                run.Transfer(i, cipher, Direction::Decrypt, source, destination, size, kDecryptionCanceled, replace,
                             skipped, check ? &*check : nullptr, [&](PayloadHooks& hooks) {
                                 return reader.Decrypt(source, destination.Output(), hooks, threads);
                             }))
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
