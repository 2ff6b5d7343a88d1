// The engine's frontend for a terminal: messages, a progress line, Ctrl+C as Cancel.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/terminalfrontend.h"

#include "engine/crypto.h"
#include "engine/messages.h"
#include "platform/terminal.h"

#include <cmath>
#include <cstdio>

namespace tazen::cli {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(200);

int terminalWidth()
{
    int columns = 0;
    if (platform::TerminalColumns(platform::kStandardError, columns) == 0 && columns >= 20)
        return columns;
    return 80;
}

std::uint64_t sizeOf(const std::string& name)
{
    platform::FileState info;
    return platform::StateOf(name, info) == 0 && info.IsRegular() ? static_cast<std::uint64_t>(info.size) : 0;
}

int clampedPercent(int value)
{
    return value < 0 ? 0 : value > 100 ? 100 : value;
}

std::string baseName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// At most width bytes, not cutting a UTF-8 character in two.
std::string fitted(const std::string& text, std::size_t width)
{
    if (text.size() <= width)
        return text;
    std::size_t cut = width > 3 ? width - 3 : 0;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return text.substr(0, cut) + "...";
}

std::string duration(double seconds)
{
    const long long whole = std::llround(seconds);
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

std::string rate(double bytesPerSecond)
{
    char text[32];
    if (bytesPerSecond >= 1e9)
        std::snprintf(text, sizeof text, "%.2f GB/s", bytesPerSecond / 1e9);
    else if (bytesPerSecond >= 1e6)
        std::snprintf(text, sizeof text, "%.1f MB/s", bytesPerSecond / 1e6);
    else
        std::snprintf(text, sizeof text, "%.0f kB/s", bytesPerSecond / 1e3);
    return text;
}

std::string bar(int percent, int width)
{
    const int filled = percent * width / 100;
    return "[" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(width - filled), '-') + "]";
}

void writeAll(int descriptor, const std::string& text)
{
    // Progress is for whoever watches; a reader that went away takes nothing from the work.
    static_cast<void>(platform::WriteFully(descriptor, text));
}

} // namespace

TerminalFrontend::TerminalFrontend(const std::vector<std::string>& fileNames, DisplayOptions display)
    : display_(display), lines_(display.progressDescriptor)
{
    for (const std::string& name : fileNames) {
        sizes_.push_back(sizeOf(name));
        totalBytes_ += sizes_.back();
    }
    started_ = lastDrawn_ = Clock::now();
}

TerminalFrontend::~TerminalFrontend()
{
    clearLine();
}

void TerminalFrontend::Say(const std::string& text)
{
    clearLine();
    // The engine separates the lines of a message with a line feed and a carriage return; any other
    // control character belongs to a file name.
    std::string lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\n\r", start);
        lines += "tazen-cli: " + platform::Printable(text.substr(start, end - start)) + "\n";
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    std::fputs(lines.c_str(), stderr);
    std::fflush(stderr);
}

void TerminalFrontend::ShowMessage(MessageKind, const std::string& text)
{
    ++messagesShown_;
    Say(text);
}

bool TerminalFrontend::MayReplace(const std::string& name)
{
    if (force)
        return true;
    clearLine();
    platform::Terminal terminal;
    if (terminal.Open() == 0) {
        bool yes = false;
        if (terminal.Ask("Replace " + platform::Printable(name) + "? [y/N] ", yes) == 0 && yes)
            return true;
        Say(name + " was not replaced");
    } else {
        Say(name + " exists and was not replaced (no terminal to ask on); --force replaces it");
    }
    notReplaced_.push_back(name);
    return false;
}

WrongPasswordAnswer TerminalFrontend::WrongPassword(const std::string& name, Secret& password)
{
    clearLine();
    platform::Terminal terminal;
    if (!keepGoing) {
        if (terminal.Open() != 0)
            return WrongPasswordAnswer::StopRun;
        const ErrorCode error = terminal.ReadHidden(
            "Wrong password for " + platform::Printable(name) + ". Another password (empty to skip): ", password.value);
        if (error == 0 && !password.value.empty() && platform::InterruptSignal() == 0)
            return WrongPasswordAnswer::TryPassword;
    }
    Say("Wrong password: " + name);
    return WrongPasswordAnswer::SkipFile;
}

std::string CommandLineSettings::DestinationFolder(const std::string& source) const
{
    const auto found = destinations.find(source);
    return found != destinations.end() ? found->second : outputFolder;
}

void TerminalFrontend::BeginFile(std::size_t index)
{
    shredCommand_ = true;
    shredIndex_ = index;
    runStarted_ = true;
    filesBegun_ = index + 1;
}

void TerminalFrontend::RunStarted(Direction direction, std::size_t)
{
    title_ = RunTitle(direction);
    runStarted_ = true;
    started_ = Clock::now();
}

void TerminalFrontend::FileStarted(std::size_t, const std::string& name)
{
    fileName_ = name;
    if (filesBegun_ > 0 && filesBegun_ - 1 < sizes_.size())
        bytesBefore_ += sizes_[filesBegun_ - 1];
    ++filesBegun_;
    lines_.Text(title_ + " " + name);
    runProgressed(true);
}

void TerminalFrontend::FileProgress(int percent)
{
    percent = clampedPercent(percent);
    if (percent == filePercent_)
        return;
    filePercent_ = percent;
    runProgressed(false);
}

void TerminalFrontend::TotalProgress(int percent)
{
    percent = clampedPercent(percent);
    if (percent == totalPercent_)
        return;
    totalPercent_ = percent;
    runProgressed(false);
}

void TerminalFrontend::RunFinished()
{
    TotalProgress(100);
    clearLine();
}

bool TerminalFrontend::CancelAsked()
{
    return platform::InterruptSignal() != 0;
}

// The head, "Shredding file:" or "Creating the executable file: ", goes before the name without its colon.
void TerminalFrontend::showShred(const std::string& head, const std::string& name)
{
    shredHead_ = head;
    while (!shredHead_.empty() && (shredHead_.back() == ' ' || shredHead_.back() == ':'))
        shredHead_.pop_back();
    shredFileName_ = name;
    shredVisible_ = true;
    lines_.Text(shredHead_ + " " + shredFileName_);
    shredProgressed();
}

void TerminalFrontend::hideShred()
{
    shredVisible_ = false;
    clearLine();
}

void TerminalFrontend::ShredStarted(const std::string& name)
{
    showShred(Text(kShredHead), name);
}

void TerminalFrontend::ExecutableStarted(const std::string& name)
{
    showShred(Text(kExecutableHead), name);
}

void TerminalFrontend::ShredPass(int pass, int passes)
{
    pass_ = pass;
    passes_ = passes;
    shredProgressed();
    ShredProgress(0);
}

void TerminalFrontend::ShredProgress(int percent)
{
    percent = clampedPercent(percent);
    if (percent == shredPercent_)
        return;
    shredPercent_ = percent;
    shredProgressed();
}

void TerminalFrontend::JobStarted(std::size_t, const std::string& name)
{
    lines_.Text(title_ + " " + name);
}

std::uint64_t TerminalFrontend::bytesDone() const
{
    const std::uint64_t current = filesBegun_ > 0 && filesBegun_ - 1 < sizes_.size() ? sizes_[filesBegun_ - 1] : 0;
    return bytesBefore_ + current / 100 * static_cast<std::uint64_t>(filePercent_) +
           current % 100 * static_cast<std::uint64_t>(filePercent_) / 100;
}

void TerminalFrontend::runProgressed(bool force)
{
    lines_.Percent(totalPercent_);
    if (!display_.progressLine)
        return;
    const Clock::time_point now = Clock::now();
    if (!force && lineShown_ && now - lastDrawn_ < kRedrawInterval)
        return;
    const double elapsed = std::chrono::duration<double>(now - started_).count();
    const std::uint64_t done = bytesDone();
    std::string figures = "  " + std::to_string(filePercent_) + "%";
    if (elapsed > 0.5 && done > 0) {
        const double speed = static_cast<double>(done) / elapsed;
        const double left = static_cast<double>(totalBytes_ > done ? totalBytes_ - done : 0) / speed;
        figures += "  " + rate(speed) + "  " + duration(left) + " left";
    }
    const std::string count =
        sizes_.size() > 1 ? "[" + std::to_string(filesBegun_) + "/" + std::to_string(sizes_.size()) + "] " : "";
    const int width = terminalWidth() - 1;
    const int barWidth = width >= 100 ? 30 : width >= 70 ? 20 : 0;
    const int nameWidth =
        width - static_cast<int>(count.size() + figures.size()) - (barWidth > 0 ? barWidth + 4 : 0) - 1;
    std::string line = count + fitted(platform::Printable(baseName(fileName_)), nameWidth > 8 ? nameWidth : 8);
    if (barWidth > 0)
        line += "  " + bar(filePercent_, barWidth);
    draw(line + figures, true);
}

void TerminalFrontend::JobsProgress(std::uint64_t bytesDone, std::uint64_t totalBytes, std::size_t filesDone)
{
    const int percent = GaugePercent(bytesDone, totalBytes, kTotalGaugeThreshold);
    lines_.Percent(percent);
    if (!display_.progressLine)
        return;
    const double elapsed = std::chrono::duration<double>(Clock::now() - started_).count();
    std::string line = std::to_string(filesDone) + " of " + std::to_string(sizes_.size()) + " files done  " +
                       std::to_string(bytesDone / 1000000) + " of " + std::to_string(totalBytes / 1000000) + " MB  " +
                       std::to_string(percent) + "%";
    if (elapsed > 0.5 && bytesDone > 0) {
        const double speed = static_cast<double>(bytesDone) / elapsed;
        line += "  " + rate(speed) + "  " +
                duration(static_cast<double>(totalBytes > bytesDone ? totalBytes - bytesDone : 0) / speed) + " left";
    }
    draw(fitted(line, static_cast<std::size_t>(terminalWidth() - 1)), false);
}

void TerminalFrontend::shredProgressed()
{
    if (!shredVisible_)
        return;
    // The shred command follows the passes in its percentage; inside a run the run's own percentage counts.
    if (shredCommand_ && pass_ > 0 && passes_ > 0 && !sizes_.empty()) {
        const double withinFile = (pass_ - 1 + shredPercent_ / 100.0) / passes_;
        lines_.Percent(static_cast<int>((static_cast<double>(shredIndex_) + withinFile) * 100 /
                                        static_cast<double>(sizes_.size())));
    }
    if (!display_.progressLine)
        return;
    const std::string figures = "  " + std::to_string(shredPercent_) + "%";
    const std::string passText = pass_ > 0 ? "  " + ShredPassCaption(pass_, passes_) : "";
    const int width = terminalWidth() - 1;
    const int nameWidth = width - static_cast<int>(shredHead_.size() + passText.size() + figures.size()) - 2;
    draw(shredHead_ + " " + fitted(platform::Printable(baseName(shredFileName_)), nameWidth > 8 ? nameWidth : 8) +
             passText + figures,
         false);
}

void TerminalFrontend::draw(const std::string& line, bool force)
{
    const Clock::time_point now = Clock::now();
    if (!force && lineShown_ && now - lastDrawn_ < kRedrawInterval)
        return;
    lastDrawn_ = now;
    lineShown_ = true;
    // Names are made printable before they are fitted, so that the line's width counts their escapes.
    std::fprintf(stderr, "\r%s\033[K", platform::Printable(line).c_str());
    std::fflush(stderr);
}

void TerminalFrontend::clearLine()
{
    if (!lineShown_)
        return;
    lineShown_ = false;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
}

void ProgressLines::Percent(int percent)
{
    if (descriptor_ < 0 || percent == lastPercent_)
        return;
    lastPercent_ = percent;
    writeAll(descriptor_, std::to_string(percent) + "\n");
}

void ProgressLines::Text(const std::string& text)
{
    if (descriptor_ >= 0)
        writeAll(descriptor_, "# " + platform::Printable(text) + "\n");
}

} // namespace tazen::cli
