// A scheduler that hands files to worker threads in list order, each file a run of its own with a frontend
// that keeps its messages, and its new file aside, until the files before it are through.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/parallelrun.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "engine/selfextract.h"
#include "format/checksearch.h"
#include "format/fileformat.h"
#include "platform/files.h"
#include "platform/sysinfo.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace tazen {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(200);

struct Record
{
    enum State
    {
        Waiting,
        Running,
        Finished
    };
    State state = Waiting;
    RunOutcome outcome;
    std::vector<std::pair<MessageKind, std::string>> messages;
    std::uint64_t size = 0;
    std::atomic<int> filePercent{0};
    // Left as it was: no password opened it, or its new file may not replace an existing one.
    bool skipped = false;

    bool Done() const { return state == Finished && outcome.Completed() && !skipped; }
    // Through without a failure, so the files after it may be put in place.
    bool Passed() const { return state == Finished && outcome.Completed(); }
};

class Scheduler;

// One file's run: its progress goes into its record, its messages wait there, and its new file waits for the
// files before it.
class JobFrontend : public Frontend
{
public:
    JobFrontend(Scheduler& scheduler, std::size_t index, int threads)
        : scheduler_(scheduler), index_(index), threads_(threads)
    {
    }
    const SettingsControlsPort& SettingsControls() const override;
    void RunStarted(Direction, std::size_t) override {}
    void FileStarted(std::size_t, const std::string&) override {}
    void FileProgress(int percent) override;
    void TotalProgress(int) override {}
    void TotalAdvanced(int) override {}
    void RunFinished() override {}
    void RunHidden() override {}
    bool CancelAsked() override;
    void ShredStarted(const std::string&) override {}
    void ShredPass(int, int) override {}
    void ShredProgress(int) override {}
    bool ShredCancelAsked() override;
    void ShredEnded(bool) override {}
    void ExecutableStarted(const std::string&) override {}
    void ExecutableProgress(int) override {}
    void ExecutableEnded() override {}
    void ProcessMessages() override {}
    void ShowMessage(MessageKind kind, const std::string& text) override;
    bool MayReplace(const std::string& name) override;
    int DecryptionThreads() const override { return threads_; }
    bool MayPutInPlace() override;

private:
    Scheduler& scheduler_;
    std::size_t index_;
    int threads_;
};

class Scheduler
{
public:
    Scheduler(Direction direction, const std::vector<std::string>& files, RunKeys& keys, Frontend& frontend)
        : direction_(direction), files_(files), keys_(keys), frontend_(frontend), records_(files.size())
    {
        for (std::size_t i = 0; i < files.size(); ++i) {
            std::int64_t size = 0;
            if (platform::SizeForReadWrite(files[i], size) == 0)
                records_[i].size = static_cast<std::uint64_t>(size);
            total_ += records_[i].size;
        }
    }

    // Files from..to-1, up to jobs at a time; the caller's thread tells the progress meanwhile.
    void RunStretch(std::size_t from, std::size_t to, int jobs)
    {
        const int workers = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(jobs), to - from));
        std::vector<std::thread> running;
        {
            const std::lock_guard lock(mutex_);
            next_ = from;
            end_ = to;
            threads_ = std::max(1, platform::UsableProcessors() / std::max(1, workers));
        }
        for (int i = 0; i < workers; ++i) {
            try {
                const std::lock_guard lock(mutex_);
                running.emplace_back([this] { work(); });
                ++active_;
            } catch (const std::system_error&) {
                break;
            }
        }
        if (running.empty()) {
            work(false);
            return;
        }
        std::unique_lock lock(mutex_);
        while (active_ > 0) {
            wake_.wait_for(lock, kProgressInterval);
            showProgress();
        }
        lock.unlock();
        for (std::thread& thread : running)
            thread.join();
    }

    // A file whose password was found wrong before it was begun ends as its run would have, without that
    // run's second pass over it: an executable's is a search through all of it.
    void Refuse(std::size_t index)
    {
        const std::lock_guard lock(mutex_);
        frontend_.JobStarted(index, files_[index]);
        RunOutcome outcome;
        outcome.direction = direction_;
        outcome.failure = Failure::WrongPassword;
        outcome.file = files_[index];
        finish(index, std::move(outcome));
    }

    // A file no password opens, left as it is as the frontend answered.
    void LeaveOut(std::size_t index)
    {
        const std::lock_guard lock(mutex_);
        records_[index].skipped = true;
        RunOutcome outcome;
        outcome.direction = direction_;
        finish(index, std::move(outcome));
    }

    std::vector<std::size_t> Skipped() const
    {
        std::vector<std::size_t> skipped;
        for (std::size_t i = 0; i < records_.size(); ++i)
            if (records_[i].skipped)
                skipped.push_back(i);
        return skipped;
    }

    bool Stopped()
    {
        const std::lock_guard lock(mutex_);
        return stopped_;
    }

    // The first file that was begun and not done; those after it were given up for it.
    std::optional<std::size_t> FirstFailure() const
    {
        for (std::size_t i = 0; i < records_.size(); ++i)
            if (records_[i].state == Record::Finished && !records_[i].outcome.Completed())
                return i;
        return std::nullopt;
    }

    const Record& RecordOf(std::size_t index) const { return records_[index]; }

    // Every message of a finished file not shown yet, in list order.
    void ShowRemaining()
    {
        const std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < records_.size(); ++i)
            showMessagesOf(i);
    }

    Frontend& Outer() { return frontend_; }

    void Keep(std::size_t index, MessageKind kind, const std::string& text)
    {
        const std::lock_guard lock(mutex_);
        records_[index].messages.emplace_back(kind, text);
    }

    void SetPercent(std::size_t index, int percent) { records_[index].filePercent.store(percent); }

    bool MayReplace(const std::string& name)
    {
        const std::lock_guard lock(mutex_);
        return frontend_.MayReplace(name);
    }

    // Waits until every file before index is finished; true when all of them were done.
    bool WaitForTurn(std::size_t index)
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            bool allDone = true;
            for (std::size_t i = 0; i < index; ++i) {
                if (records_[i].state == Record::Finished && !records_[i].outcome.Completed())
                    return false;
                allDone = allDone && records_[i].Passed();
            }
            if (allDone)
                return true;
            wake_.wait(lock);
        }
    }

private:
    // counted: the thread is one of the active ones, which it ceases to be when it returns.
    void work(bool counted = true)
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (stopped_ || next_ >= end_ || frontend_.CancelAsked()) {
                if (counted)
                    --active_;
                wake_.notify_all();
                return;
            }
            const std::size_t index = next_++;
            JobFrontend job(*this, index, threads_);
            records_[index].state = Record::Running;
            frontend_.JobStarted(index, files_[index]);
            lock.unlock();

            TBlowfish cipher;
            RunOutcome outcome = RunFiles(direction_, cipher, {files_[index]}, keys_, job);

            lock.lock();
            finish(index, std::move(outcome));
        }
    }

    void finish(std::size_t index, RunOutcome outcome)
    {
        Record& record = records_[index];
        record.state = Record::Finished;
        outcome.index = index;
        outcome.position = PositionOf(files_, index);
        stopped_ = stopped_ || !outcome.Completed();
        record.skipped = record.skipped || !outcome.skipped.empty();
        record.outcome = std::move(outcome);
        showInOrder();
        showProgress();
        wake_.notify_all();
    }

    void showMessagesOf(std::size_t index)
    {
        for (const auto& [kind, text] : records_[index].messages)
            frontend_.ShowMessage(kind, text);
        records_[index].messages.clear();
    }

    void showInOrder()
    {
        while (shown_ < records_.size() && records_[shown_].state == Record::Finished)
            showMessagesOf(shown_++);
    }

    void showProgress()
    {
        std::uint64_t bytes = 0;
        std::size_t filesDone = 0;
        for (const Record& record : records_) {
            if (record.state == Record::Finished) {
                bytes += record.size;
                filesDone += record.Done() ? 1 : 0;
            } else if (record.state == Record::Running) {
                bytes += record.size / 100 * static_cast<std::uint64_t>(record.filePercent.load());
            }
        }
        frontend_.JobsProgress(bytes, total_, filesDone);
    }

    const Direction direction_;
    const std::vector<std::string>& files_;
    // Grows only between stretches, while no file runs.
    RunKeys& keys_;
    Frontend& frontend_;
    std::uint64_t total_ = 0;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Record> records_;
    std::size_t next_ = 0;
    std::size_t end_ = 0;
    std::size_t shown_ = 0;
    int active_ = 0;
    int threads_ = 1;
    bool stopped_ = false;
};

const SettingsControlsPort& JobFrontend::SettingsControls() const
{
    return scheduler_.Outer().SettingsControls();
}

void JobFrontend::FileProgress(int percent)
{
    scheduler_.SetPercent(index_, percent);
}

bool JobFrontend::CancelAsked()
{
    return scheduler_.Outer().CancelAsked();
}

bool JobFrontend::ShredCancelAsked()
{
    return scheduler_.Outer().ShredCancelAsked();
}

void JobFrontend::ShowMessage(MessageKind kind, const std::string& text)
{
    scheduler_.Keep(index_, kind, text);
}

bool JobFrontend::MayReplace(const std::string& name)
{
    return scheduler_.MayReplace(name);
}

bool JobFrontend::MayPutInPlace()
{
    return scheduler_.WaitForTurn(index_);
}

struct Unfound
{
    std::size_t index;
    // Its password was found wrong, rather than its payload not found for another reason.
    bool wrongPassword;
};

// The first file from from on whose payload is not found, as one run would find it when it got there.
Unfound firstUnfound(const std::vector<std::string>& files, std::size_t from, const RunKeys& keys, Frontend& frontend)
{
    // Cancel ends a search through a large executable as it ends the run's.
    class Cancel : public SearchHooks
    {
    public:
        explicit Cancel(Frontend& frontend) : frontend_(frontend) {}
        bool CancelAsked() override { return frontend_.CancelAsked(); }

    private:
        Frontend& frontend_;
    } cancel(frontend);
    const std::vector<const CheckBlock*> checks = keys.Checks();
    for (std::size_t i = from; i < files.size(); ++i) {
        platform::File file;
        if (platform::OpenForReading(files[i], file) != 0)
            return {i, false};
        // The file's run reads its dates before it reads the file, for the decrypted file to keep.
        file.LeaveAccessTime();
        PayloadSource payload(file, files[i]);
        std::size_t which = 0;
        if (const LocateOutcome located = payload.Locate(checks, cancel, which); !located.Found())
            return {i, located.result == LocateResult::WrongPassword};
    }
    return {files.size(), false};
}

// What the run over the list comes to once the scheduler is through.
RunOutcome endOf(Direction direction, const std::vector<std::string>& files, Scheduler& scheduler, Frontend& frontend,
                 std::vector<bool>& done)
{
    scheduler.ShowRemaining();
    for (std::size_t i = 0; i < files.size(); ++i)
        done[i] = scheduler.RecordOf(i).Done();
    if (const std::optional<std::size_t> failed = scheduler.FirstFailure()) {
        frontend.RunHidden();
        RunOutcome outcome = scheduler.RecordOf(*failed).outcome;
        outcome.skipped = scheduler.Skipped();
        return outcome;
    }
    RunOutcome outcome;
    outcome.direction = direction;
    outcome.skipped = scheduler.Skipped();
    if (frontend.CancelAsked()) {
        // Stopped between files: the first one not done is where the run stopped.
        const auto first = static_cast<std::size_t>(std::find(done.begin(), done.end(), false) - done.begin());
        outcome.failure = Failure::Cancelled;
        outcome.index = first;
        outcome.position = PositionOf(files, first);
        outcome.file = first < files.size() ? files[first] : std::string();
        return outcome;
    }
    frontend.RunFinished();
    return outcome;
}

// A file none of the keys opens, as the frontend answers: true when it gave a key that opens it (now the last
// of keys), false when the file is left out, nothing when the run stops at it.
std::optional<bool> askAbout(const std::string& name, TBlockCipher& cipher, RunKeys& keys, Frontend& frontend)
{
    for (;;) {
        Secret another;
        switch (frontend.WrongPassword(name, another)) {
        case WrongPasswordAnswer::StopRun:
            return std::nullopt;
        case WrongPasswordAnswer::SkipFile:
            return false;
        case WrongPasswordAnswer::TryPassword:
            break;
        }
        auto key = std::make_unique<RunKey>(cipher, another.value);
        another.Wipe();
        platform::File file;
        if (platform::OpenForReading(name, file) != 0)
            return std::nullopt;
        PayloadSource payload(file, name);
        const LocateOutcome located = payload.Locate(key->Check());
        if (located.Found()) {
            keys.Add(std::move(key));
            return true;
        }
        // Anything but a wrong password is for the file's own run to meet and report.
        if (located.result != LocateResult::WrongPassword)
            return true;
    }
}

} // namespace

RunOutcome RunInParallel(Direction direction, TBlockCipher& cipher, const std::vector<std::string>& files,
                         Secret& password, Frontend& frontend, int jobs, std::vector<bool>& done)
{
    const RunKey key(cipher, password.value);
    password.Wipe();
    RunKeys keys(key);
    return RunInParallel(direction, cipher, files, keys, frontend, jobs, done);
}

RunOutcome RunInParallel(Direction direction, TBlockCipher& cipher, const std::vector<std::string>& files,
                         RunKeys& keys, Frontend& frontend, int jobs, std::vector<bool>& done)
{
    done.assign(files.size(), false);
    RunOutcome checked =
        PreCheckFiles(files, direction, nullptr, direction == Direction::Encrypt && SelfExtractingWanted(frontend),
                      &frontend.SettingsControls());
    if (!checked.Completed()) {
        frontend.RunHidden();
        return checked;
    }
    frontend.RunStarted(direction, files.size());
    Scheduler scheduler(direction, files, keys, frontend);
    // A file whose payload is not found would stop one run when it got there; the files before it go in
    // parallel, and it after them, so that it stops this run at the same place: alone, or, for a wrong
    // password, at once.
    for (std::size_t from = 0; from < files.size() && !scheduler.Stopped() && !frontend.CancelAsked();) {
        const Unfound to =
            direction == Direction::Encrypt ? Unfound{files.size(), false} : firstUnfound(files, from, keys, frontend);
        if (to.index > from)
            scheduler.RunStretch(from, to.index, jobs);
        if (to.index == files.size() || scheduler.Stopped() || frontend.CancelAsked())
            break;
        if (to.wrongPassword) {
            const std::optional<bool> opened = askAbout(files[to.index], cipher, keys, frontend);
            if (!opened) {
                scheduler.Refuse(to.index);
            } else if (!*opened) {
                scheduler.LeaveOut(to.index);
            } else {
                // Run with the key it was given, as the next stretch's first file.
                from = to.index;
                continue;
            }
        } else
            scheduler.RunStretch(to.index, to.index + 1, 1);
        from = to.index + 1;
    }
    return endOf(direction, files, scheduler, frontend, done);
}

} // namespace tazen
