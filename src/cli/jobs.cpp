// tazen-cli's -j: a scheduler that hands files to worker threads in list order, each file a run of its own
// with a frontend that keeps its messages until the files before it are through.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/jobs.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "format/fileformat.h"
#include "format/stream.h"
#include "platform/files.h"
#include "platform/sysinfo.h"
#include "platform/terminal.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace tazen::cli {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(200);

class AtomicGauge : public GaugePort
{
public:
    int Progress() const override { return value_.load(std::memory_order_relaxed); }
    void SetProgress(int value) override { value_.store(std::clamp(value, 0, 100), std::memory_order_relaxed); }
    void Advance(int amount) override { SetProgress(Progress() + amount); }

private:
    std::atomic<int> value_{0};
};

class SilentLabel : public LabelPort
{
public:
    void SetCaption(const std::string&) override {}
};

// Ctrl+C is every job's Cancel button.
int interruptResult()
{
    return platform::InterruptSignal() != 0 ? kModalResultCancel : 0;
}

class JobProgress : public ProgressDialogPort
{
public:
    void StartProgress(const std::string&, const std::string&) override {}
    void HideProgress() override {}
    void FinishProgress() override { total_.SetProgress(100); }
    LabelPort& lblFilename() override { return label_; }
    GaugePort& gaugeFile() override { return file_; }
    GaugePort& gaugeTotal() override { return total_; }
    int ModalResult() const override { return interruptResult(); }

private:
    SilentLabel label_;
    AtomicGauge file_;
    AtomicGauge total_;
};

class JobShred : public ShredDialogPort
{
public:
    void SetCaption(const std::string&) override {}
    LabelPort& lblHead() override { return label_; }
    LabelPort& lblFileName() override { return label_; }
    LabelPort& lblpass() override { return label_; }
    GaugePort& gaugePass() override { return gauge_; }
    void Show() override {}
    void Hide() override {}
    int ModalResult() const override { return modalResult_ != 0 ? modalResult_ : interruptResult(); }
    void SetModalResult(int value) override { modalResult_ = value; }

private:
    SilentLabel label_;
    AtomicGauge gauge_;
    int modalResult_ = 0;
};

struct Record
{
    enum State
    {
        Waiting,
        Running,
        Finished
    };
    State state = Waiting;
    bool failed = false;
    std::string message;
    std::vector<std::pair<MessageKind, std::string>> messages;
    std::uint64_t size = 0;
    const GaugePort* gauge = nullptr;
};

class Scheduler;

// One file's run: its messages wait in its record; replacing a file is asked of the terminal one at a time.
class JobFrontend : public Frontend
{
public:
    JobFrontend(Scheduler& scheduler, std::size_t index, int threads)
        : scheduler_(scheduler), index_(index), threads_(threads)
    {
    }
    ProgressDialogPort& ProgressDialog() override { return progress_; }
    ShredDialogPort& shredDialog() override { return shred_; }
    const SettingsControlsPort& SettingsControls() const override;
    void ShowMessage(MessageKind kind, const std::string& text) override;
    void ProcessMessages() override {}
    bool MayReplace(const std::string& name) override;
    int DecryptionThreads() const override { return threads_; }

    JobProgress progress_;

private:
    Scheduler& scheduler_;
    std::size_t index_;
    int threads_;
    JobShred shred_;
};

class Scheduler
{
public:
    Scheduler(bool encrypting, const std::vector<std::string>& files, std::string_view password,
              TerminalFrontend& frontend)
        : encrypting_(encrypting), files_(files), password_(password), frontend_(frontend), records_(files.size())
    {
        for (std::size_t i = 0; i < files.size(); ++i) {
            std::int64_t size = 0;
            if (platform::SizeForReadWrite(files[i], size) == 0)
                records_[i].size = static_cast<std::uint64_t>(size);
            total_ += records_[i].size;
        }
    }

    // Files from..to-1, up to jobs at a time; the caller's thread draws the progress line meanwhile.
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

    bool Stopped()
    {
        const std::lock_guard lock(mutex_);
        return stopped_;
    }

    std::optional<std::size_t> FirstFailure() const
    {
        for (std::size_t i = 0; i < records_.size(); ++i)
            if (records_[i].failed)
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

    const SettingsControlsPort& Settings() const { return frontend_.settings; }

    void Keep(std::size_t index, MessageKind kind, const std::string& text)
    {
        const std::lock_guard lock(mutex_);
        records_[index].messages.emplace_back(kind, text);
    }

    bool MayReplace(const std::string& name)
    {
        const std::lock_guard lock(mutex_);
        return frontend_.MayReplace(name);
    }

private:
    // counted: the thread is one of the active ones, which it ceases to be when it returns.
    void work(bool counted = true)
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (stopped_ || next_ >= end_ || platform::InterruptSignal() != 0) {
                if (counted)
                    --active_;
                wake_.notify_all();
                return;
            }
            const std::size_t index = next_++;
            JobFrontend job(*this, index, threads_);
            records_[index].state = Record::Running;
            records_[index].gauge = &job.progress_.gaugeFile();
            frontend_.AnnounceFile(files_[index]);
            lock.unlock();

            TBlowfish cipher;
            std::string message;
            const std::vector<std::string> one{files_[index]};
            const int result = encrypting_ ? EncryptFiles(cipher, one, password_, message, job)
                                           : DecryptFiles(cipher, one, password_, message, job);

            lock.lock();
            Record& record = records_[index];
            record.state = Record::Finished;
            record.gauge = nullptr;
            if (result != kAllFilesDone) {
                record.failed = true;
                record.message = std::move(message);
                stopped_ = true;
            }
            showInOrder();
            showProgress();
            wake_.notify_all();
        }
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
                filesDone += record.failed ? 0 : 1;
            } else if (record.gauge) {
                bytes += record.size / 100 * static_cast<std::uint64_t>(record.gauge->Progress());
            }
        }
        frontend_.ShowOverallProgress(bytes, total_, filesDone);
    }

    const bool encrypting_;
    const std::vector<std::string>& files_;
    const std::string_view password_;
    TerminalFrontend& frontend_;
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
    return scheduler_.Settings();
}

void JobFrontend::ShowMessage(MessageKind kind, const std::string& text)
{
    scheduler_.Keep(index_, kind, text);
}

bool JobFrontend::MayReplace(const std::string& name)
{
    return scheduler_.MayReplace(name);
}

// The first file from from on whose password check fails, as one run would find it when it got there.
std::size_t firstWrongPassword(const std::vector<std::string>& files, std::size_t from, const TazenReader& reader)
{
    for (std::size_t i = from; i < files.size(); ++i) {
        platform::File file;
        if (platform::OpenForReading(files[i], file) != 0 || !reader.ReadCheckBlock(file).Matches())
            return i;
    }
    return files.size();
}

} // namespace

int RunInParallel(bool encrypting, const std::vector<std::string>& files, std::string_view password,
                  std::string& message, TerminalFrontend& frontend, int jobs, std::vector<bool>& done)
{
    done.assign(files.size(), false);
    ProgressDialogPort& progress = frontend.ProgressDialog();
    if (const std::optional<std::size_t> stopped =
            PreCheckFiles(files, !encrypting, message, nullptr, encrypting && SelfExtractingWanted(frontend))) {
        progress.HideProgress();
        frontend.RunStoppedAt(*stopped);
        return static_cast<int>(*stopped);
    }
    // Only the check block is wanted of the key: the cipher is left wiped.
    TBlowfish cipher;
    std::optional<RunKey> key;
    std::optional<TazenReader> reader;
    if (!encrypting) {
        key.emplace(cipher, password);
        reader.emplace(cipher, *key);
    }
    progress.StartProgress(encrypting ? "Encrypting" : "Decrypting", std::to_string(files.size()));
    Scheduler scheduler(encrypting, files, password, frontend);
    // A file of another password would stop one run when it got there; the files before it go in
    // parallel, and it alone after them, so that it stops this run at the same place.
    for (std::size_t from = 0; from < files.size() && !scheduler.Stopped() && platform::InterruptSignal() == 0;) {
        const std::size_t to = encrypting ? files.size() : firstWrongPassword(files, from, *reader);
        const std::size_t end = std::max(to, from + 1);
        scheduler.RunStretch(from, end, to > from ? jobs : 1);
        from = end;
    }
    scheduler.ShowRemaining();
    for (std::size_t i = 0; i < files.size(); ++i)
        done[i] = scheduler.RecordOf(i).state == Record::Finished && !scheduler.RecordOf(i).failed;
    if (const std::optional<std::size_t> failed = scheduler.FirstFailure()) {
        progress.HideProgress();
        frontend.RunStoppedAt(*failed);
        message = scheduler.RecordOf(*failed).message;
        return static_cast<int>(*failed);
    }
    if (platform::InterruptSignal() != 0) {
        // Stopped between files: the first one not done is where the run stopped.
        const auto first = static_cast<std::size_t>(std::find(done.begin(), done.end(), false) - done.begin());
        frontend.RunStoppedAt(first);
        message = encrypting ? "Encryption canceled" : "Decryption canceled";
        return static_cast<int>(first);
    }
    progress.FinishProgress();
    return kAllFilesDone;
}

} // namespace tazen::cli
