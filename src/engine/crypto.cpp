// The encryption and decryption runs: a pre-check over every file, then file by file through one buffer,
// each new file written under a temporary name and put in place only when complete on the device.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/crypto.h"

#include "base/ascii.h"
#include "engine/messages.h"
#include "engine/readback.h"
#include "engine/selfextract.h"
#include "engine/shred.h"
#include "format/checksearch.h"
#include "format/fileformat.h"
#include "format/stream.h"
#include "platform/files.h"
#include "platform/sysinfo.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <optional>
#include <span>

namespace tazen {

namespace {

using platform::Entry;
using platform::File;
using platform::PendingFile;

// The path of base in folder.
std::string inFolder(const std::string& folder, const std::string& base)
{
    return folder.ends_with('/') ? folder + base : folder + "/" + base;
}

// The name a file's encryption would fail to create because it is longer than the folder it goes into
// (beside it, or destination) takes, if any.
std::optional<std::string> tooLongForExtension(const std::string& source, bool executable,
                                               const std::string& destination)
{
    const std::string name = destination.empty() ? source : inFolder(destination, source.substr(source.rfind('/') + 1));
    const std::size_t slash = name.find_last_of('/');
    const std::size_t base = slash == std::string::npos ? name.size() : name.size() - slash - 1;
    // A folder still to be made is made on the file system of the nearest one there.
    std::string folder = platform::FolderOf(name);
    platform::FileState state;
    while (platform::StateOf(folder, state) == ENOENT && platform::FolderOf(folder) != folder)
        folder = platform::FolderOf(folder);
    const std::size_t limit = platform::LongestNameIn(folder);
    std::string made = name + std::string(kEncryptedExtension);
    if (base + made.size() - name.size() > limit)
        return made;
    made += ".exe";
    if (executable && base + made.size() - name.size() > limit)
        return made;
    return std::nullopt;
}

RunOutcome stoppedAt(const std::vector<std::string>& fileNames, Direction direction, std::size_t index, Failure failure,
                     std::string file, ErrorCode error = 0)
{
    RunOutcome outcome;
    outcome.direction = direction;
    outcome.failure = failure;
    outcome.index = index;
    outcome.position = PositionOf(fileNames, index);
    outcome.file = std::move(file);
    outcome.error = error;
    // Refused because of the read-only attribute, which the window's open-failure text speaks of.
    outcome.writeProtected = error == EACCES && platform::IsWriteProtected(outcome.file);
    return outcome;
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

// What one file's transfer works on.
struct TransferPlan
{
    std::size_t index;
    File& source;
    PendingFile& destination;
    // What the file gauge divides by.
    std::int64_t fileSize;
    // Where a decrypted file's check block stands: 0, or its place in an executable. The bytes before it count
    // as done on the gauges.
    std::int64_t offset;
    // An existing file of the new file's name may go.
    bool replace;
    ReadBackCheck* check;
    // Moves the bytes: the writer's or the reader's stream, given the run's hooks.
    std::function<StreamOutcome(PayloadHooks&)> payload;
};

// What the two runs share: the pre-check, the progress events, the buffers, the byte counts, the stream's
// hooks, and how a run stops.
class Run
{
public:
    Run(const std::vector<std::string>& fileNames, Direction direction, Frontend& frontend)
        : fileNames_(fileNames), direction_(direction), frontend_(frontend)
    {
    }

    Frontend& Events() { return frontend_; }
    const std::string& Name(std::size_t index) const { return fileNames_[index]; }

    // Opens every file once to learn its size, then starts. Returns nothing, or the outcome of a run that the
    // pre-check stopped; nothing has been written then.
    std::optional<RunOutcome> Start()
    {
        const bool executable = direction_ == Direction::Encrypt && SelfExtractingWanted(frontend_);
        RunOutcome checked = PreCheckFiles(fileNames_, direction_, &total_, executable, &frontend_.SettingsControls());
        if (!checked.Completed())
            return Stop(std::move(checked));
        frontend_.RunStarted(direction_, fileNames_.size());
        return std::nullopt;
    }

    // Names the file, lets messages through, and opens its folder and then it. Every later step for the file
    // goes through that folder.
    ErrorCode OpenSource(std::size_t index, File& source, std::int64_t& size)
    {
        frontend_.FileStarted(index, fileNames_[index]);
        frontend_.ProcessMessages();
        entry_ = Entry();
        ErrorCode error = Entry::Open(fileNames_[index], entry_);
        if (error == 0)
            error = platform::OpenForReadWrite(entry_, source);
        if (error == 0)
            error = source.State(opened_);
        size = opened_.size;
        return error;
    }

    // The file OpenSource opened, opened again through its folder to be read from its start.
    ErrorCode Reopen(File& source)
    {
        source = File();
        ErrorCode error = platform::OpenForReadWrite(entry_, source);
        if (error == 0)
            error = source.State(opened_);
        return error;
    }

    // A file left as it is: no password opened it, or its new file may not replace an existing one. size: what
    // of it the gauges have not counted yet.
    void LeaveOut(std::size_t index, std::int64_t size)
    {
        skipped_.push_back(index);
        totalDone_ += static_cast<std::uint64_t>(size);
        frontend_.TotalProgress(GaugePercent(totalDone_, total_, kTotalGaugeThreshold));
    }

    // The file's name in its folder, as opened by OpenSource.
    const Entry& SourceEntry() const { return entry_; }

    // Decryption's described step of the whole after each file.
    void Advance() { frontend_.TotalAdvanced(static_cast<int>(100 / fileNames_.size())); }

    // Finds the payload of the file OpenSource opened, searching an executable for the check block with Cancel
    // polled and both gauges moving; the bytes before the check block count as done.
    LocateOutcome Locate(PayloadSource& payload, std::span<const CheckBlock* const> checks, std::int64_t size,
                         std::size_t& which)
    {
        SearchProgress hooks(*this, static_cast<std::uint64_t>(size));
        const LocateOutcome located = payload.Locate(checks, hooks, which);
        if (located.Found())
            totalDone_ += static_cast<std::uint64_t>(located.offset);
        return located;
    }

    // True when the name of the file just transferred still leads to the file that was read, as it was read.
    bool SourceStillNamed() const { return sourceStillNamed_; }
    // The state the file just transferred was read in.
    const platform::FileState& SourceState() const { return opened_; }

    // A run that stops on a failure is hidden; a cancelled one is not: the button that cancelled it has
    // closed it.
    RunOutcome Stop(RunOutcome outcome)
    {
        outcome.skipped = skipped_;
        if (outcome.failure != Failure::Cancelled)
            frontend_.RunHidden();
        return outcome;
    }
    RunOutcome Stop(std::size_t index, Failure failure, std::string file, ErrorCode error = 0)
    {
        return Stop(stoppedAt(fileNames_, direction_, index, failure, std::move(file), error));
    }

    RunOutcome Finish()
    {
        frontend_.RunFinished();
        RunOutcome done;
        done.direction = direction_;
        done.skipped = skipped_;
        return done;
    }

    // Moves the file's payload through the cipher into the new file, wipes the cipher, and puts the new file
    // in place, with the source's owner and permission bits. Returns nothing when the file is done (skipped
    // set when the new file was not put in place because the frontend kept a file that appeared under its
    // name meanwhile), otherwise the run's outcome.
    std::optional<RunOutcome> Transfer(TBlockCipher& cipher, const TransferPlan& plan, bool& skipped)
    {
        skipped = false;
        platform::FileState closing;
        if (std::optional<RunOutcome> stopped = readThrough(cipher, plan, closing))
            return stopped;
        return putInPlace(plan, closing, skipped);
    }

    // The run's buffers, kept from file to file.
    PayloadBuffers& Buffers() { return buffers_; }

private:
    // The payload through the cipher. A source that changed while it was read (length or modification time)
    // stops the run as a failed read does. closing: the source's state once read.
    std::optional<RunOutcome> readThrough(TBlockCipher& cipher, const TransferPlan& plan, platform::FileState& closing)
    {
        const std::string& name = fileNames_[plan.index];
        frontend_.FileProgress(0);
        FileHooks hooks(*this, plan.destination.Output(), plan.check, static_cast<std::uint64_t>(plan.fileSize),
                        plan.offset);
        const StreamOutcome stream = plan.payload(hooks);
        cipher.Wipe();
        platform::FileState named;
        const ErrorCode closingError = plan.source.State(closing);
        // Read from its start to its end as it was opened, and nothing came after what was read.
        const std::int64_t header = direction_ == Direction::Decrypt ? plan.offset + kCheckBlockSize : 0;
        const bool unchanged = closingError == 0 && closing == opened_ && closing.size == stream.read + header;
        sourceStillNamed_ = unchanged && platform::StateOf(entry_, named, true) == 0 && named == closing;
        static_cast<void>(plan.source.Close()); // only read
        if (stream.failure == StreamFailure::Read)
            return Stop(plan.index, Failure::Read, name, stream.error);
        if (stream.failure == StreamFailure::Write)
            return Stop(plan.index, Failure::Write, plan.destination.FinalName(), stream.error);
        if (stream.cancelled)
            return Stop(plan.index, Failure::Cancelled, name);
        if (closingError != 0)
            return Stop(plan.index, Failure::Read, name, closingError);
        if (!unchanged)
            return Stop(plan.index, Failure::ChangedWhileRead, name);
        return std::nullopt;
    }

    // Once the new file is flushed it is proven on the device, under its temporary name, before it may replace
    // a file: always when the check expects it, else when a file of its name appeared meanwhile.
    std::optional<RunOutcome> putInPlace(const TransferPlan& plan, const platform::FileState& closing, bool& skipped)
    {
        PendingFile& destination = plan.destination;
        const std::string written = destination.FinalName();
        // The source's dates as they were before it was read: an encrypted file keeps its plain file's, a
        // decrypted file its encrypted file's.
        destination.KeepDates(opened_);
        if (const ErrorCode error = destination.Flush(closing.PermissionBits(), &closing))
            return Stop(plan.index, Failure::Write, written, error);
        bool proven = false;
        const auto prove = [&] {
            proven = true;
            return !plan.check || plan.check->Finish();
        };
        const auto unproven = [&] {
            const ErrorCode why = plan.check->ReadError();
            destination.Abandon();
            return Stop(plan.index, Failure::Verify, written, why);
        };
        if (plan.check && plan.check->Expected() && !prove())
            return unproven();
        if (!frontend_.MayPutInPlace()) {
            destination.Abandon();
            return Stop(plan.index, Failure::Abandoned, written);
        }
        ErrorCode error = destination.CommitFlushed(plan.replace);
        if (error == EEXIST && !plan.replace) {
            // A file of the name appeared since the question: it goes only when the frontend allows it, and
            // only for a proven file.
            if (!frontend_.MayReplace(written)) {
                destination.Abandon();
                skipped = true;
                return std::nullopt;
            }
            if (!proven && !prove())
                return unproven();
            error = destination.CommitFlushed(true);
        }
        if (error != 0)
            return Stop(plan.index, Failure::Write, written, error);
        return std::nullopt;
    }

    // The run's side of a file's stream: Cancel and the progress at each piece; the read-back's digest, and
    // the writeback of what the new file has taken, at each chunk.
    class FileHooks : public PayloadHooks
    {
    public:
        FileHooks(Run& run, File& destination, ReadBackCheck* check, std::uint64_t whole, std::int64_t before)
            : run_(run), destination_(destination), check_(check), whole_(whole), before_(before)
        {
        }
        bool CancelAsked() override { return run_.cancelAsked(); }
        void PiecePassed(std::int64_t piece, std::int64_t done) override
        {
            run_.piecePassed(piece, static_cast<std::uint64_t>(before_ + done), whole_);
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
        std::int64_t before_;
    };

    // The run's side of a search: Cancel before each read, the gauges after it.
    class SearchProgress : public SearchHooks
    {
    public:
        SearchProgress(Run& run, std::uint64_t whole) : run_(run), whole_(whole) {}
        bool CancelAsked() override { return run_.cancelAsked(); }
        void Searched(std::int64_t bytes) override
        {
            const std::uint64_t searched = static_cast<std::uint64_t>(bytes);
            run_.frontend_.FileProgress(GaugePercent(searched, whole_, kFileGaugeThreshold));
            run_.frontend_.TotalProgress(GaugePercent(run_.totalDone_ + searched, run_.total_, kTotalGaugeThreshold));
        }

    private:
        Run& run_;
        std::uint64_t whole_;
    };

    // Before each piece: pending messages are handled, and whether Cancel has been asked for is noted.
    bool cancelAsked()
    {
        frontend_.ProcessMessages();
        return frontend_.CancelAsked();
    }

    // After each piece: the counts and both percentages move on.
    void piecePassed(std::int64_t piece, std::uint64_t fileDone, std::uint64_t whole)
    {
        totalDone_ += static_cast<std::uint64_t>(piece);
        frontend_.FileProgress(GaugePercent(fileDone, whole, kFileGaugeThreshold));
        frontend_.TotalProgress(GaugePercent(totalDone_, total_, kTotalGaugeThreshold));
    }

    const std::vector<std::string>& fileNames_;
    const Direction direction_;
    Frontend& frontend_;
    PayloadBuffers buffers_;
    Entry entry_;
    platform::FileState opened_;
    bool sourceStillNamed_ = false;
    std::vector<std::size_t> skipped_;
    std::uint64_t total_ = 0;
    std::uint64_t totalDone_ = 0;
};

// After a file is encrypted: its executable, then its source's disposal, each as the settings say.
std::optional<RunOutcome> finishEncrypted(Run& run, std::size_t index, const Entry& encrypted, bool replaceExecutable)
{
    Frontend& frontend = run.Events();
    const std::string& name = run.Name(index);
    const ExecutableOutcome executable = MakeSelfExtractingFile(encrypted, frontend, replaceExecutable);
    if (executable.result == ExecutableNotProven)
        return run.Stop(index, Failure::Verify, encrypted.WithSuffix(".exe").Path(), executable.readBackError);
    if (executable.result == ExecutableFailed)
        frontend.ShowMessage(MessageKind::Error, ExecutableFailureText(name));
    std::string reason;
    const DisposalResult disposal =
        DisposeSourceFile(run.SourceEntry(), frontend, run.SourceStillNamed(), &run.SourceState(), &reason);
    if (disposal != Done)
        frontend.ShowMessage(MessageKind::Warning, DisposalWarningText(name, disposal, reason));
    return std::nullopt;
}

std::optional<RunOutcome> encryptOne(Run& run, TBlockCipher& cipher, const RunKey& key, std::size_t index)
{
    Frontend& frontend = run.Events();
    File source;
    std::int64_t size = 0;
    if (const ErrorCode error = run.OpenSource(index, source, size))
        return run.Stop(index, Failure::CannotOpen, run.Name(index), error);
    Entry destinationEntry;
    const std::string encryptedBase = run.SourceEntry().Base() + std::string(kEncryptedExtension);
    if (const ErrorCode error =
            DestinationEntry(run.SourceEntry(), encryptedBase, frontend.SettingsControls(), destinationEntry))
        return run.Stop(index, Failure::CannotCreate, destinationEntry.Path(), error);
    const std::string& destinationName = destinationEntry.Path();
    // Both names this file may take are settled before anything is written.
    bool replace = false;
    bool replaceExecutable = false;
    if (!mayTake(destinationEntry, frontend, replace) ||
        (SelfExtractingWanted(frontend) &&
         !mayTake(destinationEntry.WithSuffix(".exe"), frontend, replaceExecutable))) {
        run.LeaveOut(index, size);
        return std::nullopt;
    }
    PendingFile destination;
    if (const ErrorCode error = PendingFile::Create(destinationEntry, destination))
        return run.Stop(index, Failure::CannotCreate, destinationName, error);

    WipeOnExit wipe(cipher);
    TazenWriter writer(cipher, key, run.Buffers());
    // A source about to be destroyed, or a file about to be replaced, goes only once the encrypted file has
    // been read back and proven; the plain bytes' digest is taken anyway, in case a file of the name appears
    // meanwhile.
    std::optional<ReadBackCheck> check;
    if (frontend.SettingsControls().VerifyBeforeDisposal()) {
        check.emplace(cipher, key);
        check->Start(destination, DisposalWanted(frontend) || replace || replaceExecutable);
    }
    destination.Output().Preallocate(kCheckBlockSize + size);
    if (const ErrorCode error = writer.Begin(destination.Output()))
        return run.Stop(index, Failure::Write, destinationName, error);

    bool skipped = false;
    const TransferPlan plan{
        index, source, destination, size, 0, replace, check ? &*check : nullptr, [&](PayloadHooks& hooks) {
            return writer.Encrypt(source, destination.Output(), hooks);
        }};
    if (std::optional<RunOutcome> stopped = run.Transfer(cipher, plan, skipped))
        return stopped;
    if (skipped) {
        run.LeaveOut(index, 0);
        return std::nullopt;
    }
    return finishEncrypted(run, index, destinationEntry, replaceExecutable);
}

// Opens the file and finds its payload before anything is created, so a wrong password costs no existing
// file, trying the run's keys in order; when none opens it, the frontend decides. key: the one that opened it,
// or none when the file is left out. offset: where its check block stands.
std::optional<RunOutcome> openEncrypted(Run& run, TBlockCipher& cipher, RunKeys& keys, std::size_t index, File& source,
                                        PayloadSource& payload, std::int64_t& size, std::int64_t& offset,
                                        const RunKey*& key)
{
    const std::string& name = run.Name(index);
    if (const ErrorCode error = run.OpenSource(index, source, size))
        return run.Stop(index, Failure::CannotOpen, name, error);
    std::vector<const CheckBlock*> checks = keys.Checks();
    std::size_t which = 0;
    std::unique_ptr<RunKey> offered;
    for (;;) {
        const LocateOutcome located = run.Locate(payload, checks, size, which);
        switch (located.result) {
        case LocateResult::ReadFailed:
            return run.Stop(index, Failure::Read, name, located.error);
        case LocateResult::TooShort:
            return run.Stop(index, Failure::TooShort, name);
        case LocateResult::Cancelled:
            return run.Stop(index, Failure::Cancelled, name);
        case LocateResult::Found:
            offset = located.offset;
            if (offered) {
                keys.Add(std::move(offered));
                which = keys.Count() - 1;
            }
            key = &keys[which];
            return std::nullopt;
        case LocateResult::WrongPassword:
            break;
        }
        Secret another;
        switch (run.Events().WrongPassword(name, another)) {
        case WrongPasswordAnswer::StopRun:
            return run.Stop(index, Failure::WrongPassword, name);
        case WrongPasswordAnswer::SkipFile:
            run.LeaveOut(index, size);
            key = nullptr;
            return std::nullopt;
        case WrongPasswordAnswer::TryPassword:
            break;
        }
        offered = std::make_unique<RunKey>(cipher, another.value);
        another.Wipe();
        checks = {&offered->Check()};
        if (const ErrorCode error = run.Reopen(source))
            return run.Stop(index, Failure::CannotOpen, name, error);
    }
}

std::optional<RunOutcome> decryptOne(Run& run, TBlockCipher& cipher, RunKeys& keys, std::size_t index)
{
    Frontend& frontend = run.Events();
    File source;
    PayloadSource payload(source, run.Name(index));
    std::int64_t size = 0;
    std::int64_t offset = 0;
    const RunKey* key = nullptr;
    WipeOnExit wipe(cipher);
    if (std::optional<RunOutcome> stopped = openEncrypted(run, cipher, keys, index, source, payload, size, offset, key))
        return stopped;
    if (key == nullptr)
        return std::nullopt;
    TazenReader reader(cipher, *key, run.Buffers());
    reader.KeyCipher();
    const Entry& entry = run.SourceEntry();
    Entry destinationEntry;
    if (const ErrorCode error =
            DestinationEntry(entry, PlainName(entry.Base()), frontend.SettingsControls(), destinationEntry))
        return run.Stop(index, Failure::CannotCreate, destinationEntry.Path(), error);
    bool replace = false;
    if (!mayTake(destinationEntry, frontend, replace)) {
        cipher.Wipe();
        run.LeaveOut(index, size - offset);
        return std::nullopt;
    }
    PendingFile destination;
    if (const ErrorCode error = PendingFile::Create(destinationEntry, destination))
        return run.Stop(index, Failure::CannotCreate, destinationEntry.Path(), error);
    destination.Output().Preallocate(PayloadSize(size - offset));
    // The encrypted file goes only once the plain one has been read back and proven.
    std::optional<ReadBackCheck> check;
    if (frontend.SettingsControls().VerifyBeforeDisposal()) {
        check.emplace();
        check->Start(destination);
    }

    const int asked = frontend.DecryptionThreads();
    const int threads = asked > 0 ? asked : platform::UsableProcessors();
    bool skipped = false;
    const TransferPlan plan{
        index, source, destination, size, offset, replace, check ? &*check : nullptr, [&](PayloadHooks& hooks) {
            return reader.Decrypt(payload, destination.Output(), hooks, threads);
        }};
    if (std::optional<RunOutcome> stopped = run.Transfer(cipher, plan, skipped))
        return stopped;
    if (skipped) {
        run.LeaveOut(index, 0);
        return std::nullopt;
    }
    // A name that leads elsewhere by now is not the file that was read.
    if (!frontend.SettingsControls().KeepEncryptedFiles() &&
        (!run.SourceStillNamed() || platform::DeleteFile(entry, &run.SourceState(), true) != 0))
        return run.Stop(index, Failure::Delete, run.Name(index));
    run.Advance();
    return std::nullopt;
}

int described(const RunOutcome& outcome, std::string& message)
{
    if (!outcome.Completed())
        message = MessageText(outcome);
    return outcome.Result();
}

} // namespace

std::size_t PositionOf(const std::vector<std::string>& fileNames, std::size_t index)
{
    for (std::size_t i = 0; i < index; ++i)
        if (EqualIgnoringAsciiCase(fileNames[i], fileNames[index]))
            return i;
    return index;
}

RunOutcome PreCheckFiles(const std::vector<std::string>& fileNames, Direction direction, std::uint64_t* total,
                         bool executable, const SettingsControlsPort* controls)
{
    const bool encrypted = direction == Direction::Decrypt;
    const auto stop = [&](std::size_t index, Failure failure, std::string file, ErrorCode error = 0) {
        RunOutcome outcome = stoppedAt(fileNames, direction, index, failure, std::move(file), error);
        outcome.inPreCheck = true;
        return outcome;
    };
    for (std::size_t i = 0; i < fileNames.size(); ++i) {
        File file;
        std::int64_t size = 0;
        ErrorCode error = platform::OpenForReadWrite(fileNames[i], file);
        if (error == 0)
            error = file.Size(size);
        if (error != 0)
            return stop(i, Failure::CannotOpen, fileNames[i], error);
        if (encrypted && PayloadSize(size) < 0)
            return stop(i, Failure::TooShort, fileNames[i]);
        if (const std::optional<std::string> made =
                encrypted ? std::nullopt
                          : tooLongForExtension(fileNames[i], executable,
                                                controls ? controls->DestinationFolder(fileNames[i]) : std::string()))
            return stop(i, Failure::NameTooLong, *made, ENAMETOOLONG);
        if (total)
            *total += static_cast<std::uint64_t>(size);
    }
    RunOutcome passed;
    passed.direction = direction;
    return passed;
}

ErrorCode DestinationEntry(const Entry& source, const std::string& base, const SettingsControlsPort& controls,
                           Entry& destination)
{
    const std::string folder = controls.DestinationFolder(source.Path());
    if (folder.empty()) {
        destination = source.Sibling(base);
        return 0;
    }
    const std::string path = inFolder(folder, base);
    const ErrorCode error = Entry::OpenMakingFolders(path, destination);
    if (error != 0)
        destination = Entry().Sibling(path); // names it for the message
    return error;
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

void RunKeys::Add(TBlockCipher& cipher, Secret& password)
{
    Add(std::make_unique<RunKey>(cipher, password.value));
    password.Wipe();
}

void RunKeys::Add(std::unique_ptr<RunKey> key)
{
    keys_.push_back(key.get());
    owned_.push_back(std::move(key));
}

std::vector<const CheckBlock*> RunKeys::Checks() const
{
    std::vector<const CheckBlock*> checks;
    for (const RunKey* key : keys_)
        checks.push_back(&key->Check());
    return checks;
}

RunOutcome RunFiles(Direction direction, TBlockCipher& cipher, const std::vector<std::string>& fileNames,
                    const RunKey& key, Frontend& frontend)
{
    RunKeys keys(key);
    return RunFiles(direction, cipher, fileNames, keys, frontend);
}

RunOutcome RunFiles(Direction direction, TBlockCipher& cipher, const std::vector<std::string>& fileNames, RunKeys& keys,
                    Frontend& frontend)
{
    Run run(fileNames, direction, frontend);
    if (std::optional<RunOutcome> stopped = run.Start())
        return std::move(*stopped);
    for (std::size_t i = 0; i < fileNames.size(); ++i) {
        std::optional<RunOutcome> stopped =
            direction == Direction::Encrypt ? encryptOne(run, cipher, keys[0], i) : decryptOne(run, cipher, keys, i);
        if (stopped)
            return std::move(*stopped);
    }
    return run.Finish();
}

namespace {

RunOutcome runWith(Direction direction, TBlockCipher& cipher, const std::vector<std::string>& fileNames,
                   std::string_view password, Frontend& frontend)
{
    const RunKey key(cipher, password);
    return RunFiles(direction, cipher, fileNames, key, frontend);
}

// The password is wiped as soon as the key is made from it.
RunOutcome runWiping(Direction direction, TBlockCipher& cipher, const std::vector<std::string>& fileNames,
                     Secret& password, Frontend& frontend)
{
    const RunKey key(cipher, password.value);
    password.Wipe();
    return RunFiles(direction, cipher, fileNames, key, frontend);
}

} // namespace

RunOutcome EncryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, std::string_view password,
                        Frontend& frontend)
{
    return runWith(Direction::Encrypt, cipher, fileNames, password, frontend);
}

RunOutcome EncryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, Secret& password,
                        Frontend& frontend)
{
    return runWiping(Direction::Encrypt, cipher, fileNames, password, frontend);
}

RunOutcome DecryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, std::string_view password,
                        Frontend& frontend)
{
    return runWith(Direction::Decrypt, cipher, fileNames, password, frontend);
}

RunOutcome DecryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, Secret& password,
                        Frontend& frontend)
{
    return runWiping(Direction::Decrypt, cipher, fileNames, password, frontend);
}

int EncryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, std::string_view password,
                 std::string& message, Frontend& frontend)
{
    return described(EncryptFiles(cipher, fileNames, password, frontend), message);
}

int EncryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, Secret& password,
                 std::string& message, Frontend& frontend)
{
    return described(EncryptFiles(cipher, fileNames, password, frontend), message);
}

int DecryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, std::string_view password,
                 std::string& message, Frontend& frontend)
{
    return described(DecryptFiles(cipher, fileNames, password, frontend), message);
}

int DecryptFiles(TBlockCipher& cipher, const std::vector<std::string>& fileNames, Secret& password,
                 std::string& message, Frontend& frontend)
{
    return described(DecryptFiles(cipher, fileNames, password, frontend), message);
}

} // namespace tazen
