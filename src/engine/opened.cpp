// Opening an encrypted file in place, saving its copy back, and the copies a crash left behind.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/opened.h"

#include "engine/crypto.h"
#include "engine/messages.h"
#include "format/checksearch.h"
#include "format/digest.h"
#include "format/fileformat.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/instance.h"

#include <utility>

namespace tazen {

namespace {

constexpr std::string_view kRecordHead = "tazen-open 1";
constexpr std::int64_t kDigestPiece = std::int64_t{1} << 20;

std::string folderPart(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string namePart(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The record's fields, each ended by a zero byte, since a file name may hold any other byte.
std::string recordOf(const std::string& encrypted, const std::string& copyName)
{
    std::string record(kRecordHead);
    record += '\0';
    record += encrypted;
    record += '\0';
    record += copyName;
    record += '\0';
    return record;
}

bool parseRecord(const std::string& record, std::string& encrypted, std::string& copyName)
{
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t zero = record.find('\0'); zero != std::string::npos; zero = record.find('\0', from)) {
        fields.push_back(record.substr(from, zero - from));
        from = zero + 1;
    }
    if (fields.size() != 3 || fields[0] != kRecordHead || fields[1].empty() || fields[2].empty() ||
        fields[2].find('/') != std::string::npos || fields[2] == "." || fields[2] == "..")
        return false;
    encrypted = fields[1];
    copyName = fields[2];
    return true;
}

// A digest of the copy's bytes, read through a locked buffer: they are plain.
ErrorCode digestOf(const std::string& name, std::uint64_t& digest)
{
    platform::File file;
    if (const ErrorCode error = platform::OpenForReading(name, file))
        return error;
    SecretBuffer buffer(static_cast<std::size_t>(kDigestPiece));
    StreamDigest stream;
    for (std::int64_t offset = 0;;) {
        std::int64_t got = 0;
        if (const ErrorCode error = file.ReadAt(buffer.data(), kDigestPiece, offset, got))
            return error;
        if (got == 0)
            break;
        stream.Update(buffer.data(), got);
        offset += got;
    }
    digest = stream.Final();
    return file.Close();
}

// The run's frontend: the caller's events, the destination and the answers an open copy needs, and the
// messages kept for the state instead of shown in boxes.
class CopyRun final : public Frontend, public SettingsControlsPort
{
public:
    // replaceable: the one existing file the run may replace (the encrypted file a save back is for); none for
    // an open, whose private folder starts empty.
    CopyRun(RunEvents& shown, std::string destination, bool executable, RecipientSystem system,
            std::string replaceable = {})
        : shown_(shown), destination_(std::move(destination)), executable_(executable), system_(system),
          replaceable_(std::move(replaceable))
    {
    }

    const SettingsControlsPort& SettingsControls() const override { return *this; }
    bool SelfExtractChecked() const override { return executable_; }
    int SourceFilesIndex() const override { return 0; }
    std::optional<bool> SelfExtractOverride() const override { return executable_; }
    std::optional<SourceFiles> SourceFilesOverride() const override { return SourceFiles::Leave; }
    std::optional<RecipientSystem> RecipientSystemOverride() const override { return system_; }
    std::string DestinationFolder(const std::string&) const override { return destination_; }
    bool KeepEncryptedFiles() const override { return true; }

    void RunStarted(Direction direction, std::size_t fileCount) override { shown_.RunStarted(direction, fileCount); }
    void FileStarted(std::size_t index, const std::string& name) override { shown_.FileStarted(index, name); }
    void FileProgress(int percent) override { shown_.FileProgress(percent); }
    void TotalProgress(int percent) override { shown_.TotalProgress(percent); }
    void TotalAdvanced(int points) override { shown_.TotalAdvanced(points); }
    void RunFinished() override { shown_.RunFinished(); }
    void RunHidden() override { shown_.RunHidden(); }
    bool CancelAsked() override { return shown_.CancelAsked(); }
    void ShredStarted(const std::string& name) override { shown_.ShredStarted(name); }
    void ShredPass(int pass, int passes) override { shown_.ShredPass(pass, passes); }
    void ShredProgress(int percent) override { shown_.ShredProgress(percent); }
    bool ShredCancelAsked() override { return shown_.ShredCancelAsked(); }
    void ShredEnded(bool cancelCleared) override { shown_.ShredEnded(cancelCleared); }
    void ExecutableStarted(const std::string& name) override { shown_.ExecutableStarted(name); }
    void ExecutableProgress(int percent) override { shown_.ExecutableProgress(percent); }
    void ExecutableEnded() override { shown_.ExecutableEnded(); }
    void ProcessMessages() override { shown_.ProcessMessages(); }
    void ShowMessage(MessageKind, const std::string& text) override
    {
        messages_ += (messages_.empty() ? "" : "\n\r") + text;
    }
    // A save back of an executable passes through the .TaZEN of the same name beside it, which may be another
    // file of the user's: only the file being saved back may go.
    bool MayReplace(const std::string& name) override { return !replaceable_.empty() && name == replaceable_; }
    int DecryptionThreads() const override { return shown_.DecryptionThreads(); }

    const std::string& Messages() const { return messages_; }

private:
    RunEvents& shown_;
    std::string destination_;
    bool executable_;
    RecipientSystem system_;
    std::string replaceable_;
    std::string messages_;
};

// The system an executable's extractor runs on, from its first bytes.
RecipientSystem systemOf(const std::string& executable)
{
    platform::File file;
    std::uint8_t head[4] = {};
    std::int64_t got = 0;
    if (platform::OpenForReading(executable, file) != 0 || file.ReadAt(head, sizeof head, 0, got) != 0 || got < 4)
        return RecipientSystem::Windows;
    return head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F' ? RecipientSystem::Linux
                                                                                 : RecipientSystem::Windows;
}

// Encrypts copy into encrypted's folder under encrypted's own name, replacing it only once the new file is
// proven; encrypted keeps its permission bits. message: why it failed, empty when it did not.
bool encryptBack(TBlockCipher& cipher, const RunKey& key, const std::string& copy, const std::string& encrypted,
                 RunEvents& events, std::string& message)
{
    const bool executable = IsExecutableName(encrypted);
    platform::FileState before;
    const bool known = platform::StateOf(encrypted, before) == 0;
    CopyRun run(events, folderPart(encrypted), executable, executable ? systemOf(encrypted) : RecipientSystem::Windows,
                encrypted);
    const RunOutcome outcome = RunFiles(Direction::Encrypt, cipher, {copy}, key, run);
    message = outcome.Completed() ? run.Messages() : MessageText(outcome);
    if (outcome.Completed() && !outcome.skipped.empty())
        message = Text(TAZEN_TEXT("Open", "Could not save %1 back: the file %2 beside it would be replaced on the way. "
                                          "Move %2 elsewhere, then save again."),
                       {encrypted, folderPart(encrypted) + "/" + namePart(copy) + std::string(kEncryptedExtension)});
    if (outcome.Completed() && !run.Messages().empty())
        message = run.Messages();
    if (!message.empty())
        return false;
    // The new file took the copy's group and owner-only bits (an executable, with the run bits); the encrypted
    // file keeps those it had. A file system that will not take them leaves it as private as the copy, which loses
    // nothing.
    if (known)
        static_cast<void>(platform::SetPermissionBits(encrypted, before.PermissionBits(), before.group));
    return true;
}

} // namespace

OpenPlace FindOpenPlace(std::string& reason, const std::string& runtimeFolder)
{
    OpenPlace place;
    const std::string runtime = runtimeFolder.empty() ? platform::PrivateRuntimeFolder(reason) : runtimeFolder;
    if (runtime.empty())
        return place;
    std::string folder;
    if (const ErrorCode error = platform::MakePrivateFolder(runtime, kOpenCopiesFolder, folder)) {
        reason = runtime + "/" + kOpenCopiesFolder + ": " + platform::ErrorText(error);
        return place;
    }
    if (const ErrorCode error = platform::IsInMemory(folder, place.inMemory, place.fileSystem)) {
        reason = folder + ": " + platform::ErrorText(error);
        return place;
    }
    place.folder = folder;
    return place;
}

std::string OpenFailureText(const std::string& encryptedFile, const OpenOutcome& outcome)
{
    switch (outcome.failure) {
    case OpenFailure::None:
        return {};
    case OpenFailure::NoPlace:
        return Text(kNoOpenPlace, {outcome.reason});
    case OpenFailure::NotInMemory:
        return Text(kNotInMemory, {outcome.place.folder, outcome.place.fileSystem});
    case OpenFailure::Folder:
        return Text(kOpenFolderFailure, {outcome.reason}) + "\n\r" + platform::ErrorText(outcome.error);
    case OpenFailure::Name:
        return outcome.reason.empty() ? Text(kOpenNoName, {encryptedFile})
                                      : Text(kOpenNameTaken, {encryptedFile, outcome.reason});
    case OpenFailure::Run:
        return outcome.reason.empty() ? MessageText(outcome.run) : outcome.reason;
    }
    return encryptedFile;
}

std::string CopyStatusText(const CopyStatus& status, const std::string& time)
{
    switch (status.state) {
    case CopyState::Unchanged:
        return Text(kCopyUnchanged);
    case CopyState::Saved:
        return Text(kCopySaved, {time});
    case CopyState::SavingFailed:
        return Text(kCopySavingFailed, {status.reason});
    }
    return {};
}

OpenedFile::OpenedFile(std::string encryptedFile) : encrypted_(std::move(encryptedFile)) {}

OpenedFile::~OpenedFile()
{
    cipher_.Wipe();
}

OpenOutcome OpenedFile::Open(Secret& password, RunEvents& events, bool allowDisk, const std::string& runtimeFolder)
{
    OpenOutcome outcome;
    const WipeOnExit<Secret> wipe(password);
    if (IsOpen())
        return outcome;
    outcome.place = FindOpenPlace(outcome.reason, runtimeFolder);
    if (outcome.place.folder.empty()) {
        outcome.failure = OpenFailure::NoPlace;
        return outcome;
    }
    if (!outcome.place.inMemory && !allowDisk) {
        outcome.failure = OpenFailure::NotInMemory;
        return outcome;
    }
    const std::string copyName = PlainName(namePart(encrypted_));
    const auto folderFailure = [&](const std::string& what, ErrorCode error) {
        outcome.failure = OpenFailure::Folder;
        outcome.reason = what;
        outcome.error = error;
        return outcome;
    };
    if (copyName.empty() || copyName == kOpenRecordName) {
        outcome.failure = OpenFailure::Name;
        outcome.reason = copyName;
        return outcome;
    }
    platform::FileState encryptedState;
    if (platform::StateOf(encrypted_, encryptedState) == 0)
        encryptedBits_ = encryptedState.PermissionBits();

    if (const ErrorCode error = platform::MakeRandomFolder(outcome.place.folder, folder_))
        return folderFailure(outcome.place.folder, error);
    const auto undo = [this] {
        record_.Release();
        watch_.Stop();
        static_cast<void>(platform::RemoveOverwriting(folder_)); // nothing of it is wanted; what stays is empty
        folder_.clear();
        copy_.clear();
    };
    copy_ = folder_ + "/" + copyName;
    if (const ErrorCode error = record_.Create(folder_ + "/" + kOpenRecordName, recordOf(encrypted_, copyName))) {
        undo();
        return folderFailure(folder_, error);
    }
    if (const ErrorCode error = watch_.Start(folder_)) {
        undo();
        return folderFailure(folder_, error);
    }

    auto key = std::make_unique<RunKey>(cipher_, password.value);
    password.Wipe();
    CopyRun run(events, folder_, false, RecipientSystem::Windows);
    outcome.run = RunFiles(Direction::Decrypt, cipher_, {encrypted_}, *key, run);
    if (!outcome.run.Completed() || !run.Messages().empty()) {
        outcome.failure = OpenFailure::Run;
        outcome.reason = outcome.run.Completed() ? run.Messages() : std::string();
        undo();
        return outcome;
    }
    ErrorCode error = platform::SetPermissionBits(copy_, 0600);
    if (error == 0)
        error = digestOf(copy_, savedDigest_);
    if (error != 0) {
        undo();
        return folderFailure(copy_, error);
    }
    // The copy's own writes so far are not a change.
    std::vector<platform::FolderEvent> pending;
    static_cast<void>(watch_.ReadEvents(pending)); // a failure here shows at the next read
    key_ = std::move(key);
    status_ = {};
    return outcome;
}

void OpenedFile::setStatus(CopyState state, std::string reason)
{
    status_.state = state;
    status_.reason = std::move(reason);
    if (state == CopyState::Saved)
        status_.savedAt = std::chrono::system_clock::now();
    if (statusChanged)
        statusChanged(*this);
}

SaveResult OpenedFile::HandleWatchEvents(RunEvents& events)
{
    std::vector<platform::FolderEvent> told;
    if (watch_.ReadEvents(told) != 0)
        return SaveIfChanged(events);
    const std::string copyName = namePart(copy_);
    bool concerned = false;
    for (const platform::FolderEvent& event : told)
        concerned = concerned || event.name == copyName || event.kind == platform::FolderEvent::Kind::FolderGone ||
                    event.kind == platform::FolderEvent::Kind::Lost;
    return concerned ? SaveIfChanged(events) : SaveResult::Unchanged;
}

SaveResult OpenedFile::SaveIfChanged(RunEvents& events)
{
    return IsOpen() ? save(events) : SaveResult::NoCopy;
}

SaveResult OpenedFile::save(RunEvents& events)
{
    platform::FileState now;
    if (platform::LinkStateOf(copy_, now) != 0 || !now.IsRegular())
        return SaveResult::NoCopy;
    std::uint64_t digest = 0;
    if (const ErrorCode error = digestOf(copy_, digest)) {
        setStatus(CopyState::SavingFailed, Text(TAZEN_TEXT("Messages", "Could not read the file: %1"), {copy_}) +
                                               "\n\r" + platform::ErrorText(error));
        return SaveResult::Failed;
    }
    // Its size and time alone would miss a change made within the clock's step; the bytes do not.
    if (digest == savedDigest_)
        return SaveResult::Unchanged;
    std::string message;
    if (!encryptBack(cipher_, *key_, copy_, encrypted_, events, message)) {
        setStatus(CopyState::SavingFailed, message);
        return SaveResult::Failed;
    }
    // Written to again while it was encrypted, it differs from this digest, and the next look saves it again.
    savedDigest_ = digest;
    setStatus(CopyState::Saved, {});
    return SaveResult::Saved;
}

SaveResult OpenedFile::Close(RunEvents& events)
{
    if (!IsOpen())
        return SaveResult::NoCopy;
    const SaveResult result = save(events);
    watch_.Stop();
    key_.reset();
    cipher_.Wipe();
    if (result == SaveResult::Failed) {
        // Its last change is only in the copy: kept for a save back later.
        record_.Release();
        return result;
    }
    const ErrorCode error = platform::RemoveOverwriting(folder_);
    record_.Release();
    if (error != 0) {
        setStatus(CopyState::SavingFailed, Text(TAZEN_TEXT("Messages", "Could not delete the file: %1"), {copy_}) +
                                               "\n\r" + platform::ErrorText(error));
        return SaveResult::Failed;
    }
    return result;
}

ErrorCode FindLeftBehind(const OpenPlace& place, std::vector<LeftBehindCopy>& copies)
{
    copies.clear();
    std::vector<platform::FolderEntry> entries;
    if (const ErrorCode error = platform::ListFolder(place.folder, entries))
        return error;
    for (const platform::FolderEntry& entry : entries) {
        // A folder, and no link to one.
        if ((entry.attributes & 16U) == 0 || (entry.attributes & 1024U) != 0)
            continue;
        LeftBehindCopy copy;
        copy.folder = place.folder + "/" + entry.name;
        std::string record;
        bool inUse = false;
        const ErrorCode error = platform::ReadRecord(copy.folder + "/" + kOpenRecordName, record, inUse);
        if (inUse)
            continue;
        std::string copyName;
        // A folder without a readable record was left before its copy was made: there is only a folder to remove.
        if (error == 0 && parseRecord(record, copy.encryptedFile, copyName)) {
            platform::FileState state;
            if (platform::LinkStateOf(copy.folder + "/" + copyName, state) == 0 && state.IsRegular())
                copy.copy = copy.folder + "/" + copyName;
        }
        copies.push_back(std::move(copy));
    }
    return 0;
}

SaveResult SaveLeftBehind(const LeftBehindCopy& copy, Secret& password, RunEvents& events, std::string& message)
{
    const WipeOnExit<Secret> wipe(password);
    message.clear();
    if (copy.copy.empty())
        return SaveResult::NoCopy;
    if (copy.encryptedFile.empty() || !platform::ExistsAsFile(copy.encryptedFile)) {
        message = Text(kLeftBehindGone, {copy.encryptedFile});
        return SaveResult::Failed;
    }
    TBlowfish cipher;
    const RunKey key(cipher, password.value);
    password.Wipe();
    // A save back under another password would lock its owner out of the file.
    {
        platform::File file;
        PayloadSource payload(file, copy.encryptedFile);
        LocateOutcome head{LocateResult::ReadFailed, platform::OpenForReading(copy.encryptedFile, file)};
        if (head.error == 0)
            head = payload.Locate(key.Check());
        if (!head.Found()) {
            RunOutcome outcome;
            outcome.direction = Direction::Decrypt;
            outcome.file = copy.encryptedFile;
            outcome.error = head.error;
            outcome.failure = head.result == LocateResult::WrongPassword ? Failure::WrongPassword
                              : head.result == LocateResult::TooShort    ? Failure::TooShort
                                                                         : Failure::Read;
            message = MessageText(outcome);
            return SaveResult::Failed;
        }
    }
    if (!encryptBack(cipher, key, copy.copy, copy.encryptedFile, events, message))
        return SaveResult::Failed;
    if (const ErrorCode error = DiscardLeftBehind(copy)) {
        message = Text(TAZEN_TEXT("Messages", "Could not delete the file: %1"), {copy.copy}) + "\n\r" +
                  platform::ErrorText(error);
        return SaveResult::Failed;
    }
    return SaveResult::Saved;
}

ErrorCode DiscardLeftBehind(const LeftBehindCopy& copy)
{
    return platform::RemoveOverwriting(copy.folder);
}

} // namespace tazen
