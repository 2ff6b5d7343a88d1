// The flow both extractors share, on a system of the test's own: a new file replaces an existing one only
// after the user's yes and its proof from the device.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/bytes.h"
#include "common/reference_format.h"
#include "extractor/flow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace tazen::test {
namespace {

// What the flow did to the new file, and what the device gives back.
struct Device
{
    Bytes written;
    bool corrupt = false;
    std::vector<bool> commits; // mayReplace of each Commit
    bool committed = false;
};

class RecordedFile : public extractor::NewFile
{
public:
    explicit RecordedFile(Device& device) : device_(device) {}
    ErrorCode Write(const void* data, std::int64_t size) override
    {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        device_.written.insert(device_.written.end(), bytes, bytes + size);
        return 0;
    }
    ErrorCode Flush() override { return 0; }
    ErrorCode ReadBack(StreamDigest& digest, std::int64_t& size) override
    {
        Bytes back = device_.written;
        if (device_.corrupt && !back.empty())
            back[back.size() / 2] ^= 1;
        digest.Update(back.data(), static_cast<std::int64_t>(back.size()));
        size = static_cast<std::int64_t>(back.size());
        return 0;
    }
    ErrorCode Commit(bool mayReplace) override
    {
        device_.commits.push_back(mayReplace);
        device_.committed = mayReplace;
        return mayReplace ? 0 : EEXIST;
    }

private:
    Device& device_;
};

// An executable of 100 image bytes and an attached file, a terminal that answers yes, and an existing
// output file.
class ScriptedSystem : public extractor::System
{
public:
    ScriptedSystem(const Bytes& file, Device& device) : file_(file), device_(device) {}
    const char* AskingPlace() const override { return "terminal"; }
    std::string OwnPath() override { return "/in/report.doc.TaZEN.exe"; }
    bool IsSeparator(char c) const override { return c == '/'; }
    char Separator() const override { return '/'; }
    ErrorCode OpenSelf() override { return 0; }
    extractor::PayloadStatus LocatePayload(std::int64_t& start, std::int64_t& size) override
    {
        return extractor::PayloadBehind(extractor::ImageStatus::Ok, 100, static_cast<std::int64_t>(file_.size()), start,
                                        size);
    }
    ErrorCode ReadSelfAt(void* buffer, std::int64_t size, std::int64_t offset, std::int64_t& got) override
    {
        got = std::min<std::int64_t>(size, static_cast<std::int64_t>(file_.size()) - offset);
        std::memcpy(buffer, file_.data() + offset, static_cast<std::size_t>(got));
        return 0;
    }
    void CatchInterrupts() override {}
    int Interrupted() const override { return 0; }
    void Write(extractor::Stream stream, const std::string& text) override
    {
        (stream == extractor::Stream::Error ? err : out) += text;
    }
    ErrorCode ReadInputLine(SecretString& line) override
    {
        line = "secret";
        return 0;
    }
    bool CanAsk() override { return true; }
    ErrorCode ReadHidden(const std::string&, SecretString& line) override { return ReadInputLine(line); }
    ErrorCode Ask(const std::string& question, bool& yes) override
    {
        asked += question;
        yes = true;
        return 0;
    }
    bool Exists(const std::string&) override { return true; }
    ErrorCode CreateFile(const std::string& name, std::unique_ptr<extractor::NewFile>& file) override
    {
        created = name;
        file = std::make_unique<RecordedFile>(device_);
        return 0;
    }
    std::string ErrorText(ErrorCode error) override { return "error " + std::to_string(error); }

    std::string out, err, asked, created;

private:
    const Bytes& file_;
    Device& device_;
};

TEST(ExtractorFlow, ReplacesAnExistingFileOnlyWithAYesAndANewFileThatProves)
{
    std::mt19937 rng(5);
    const Bytes plain = randomBytes(rng, 200'000);
    Bytes executable(100, 0x90);
    const Bytes encrypted = referenceFile("secret", plain);
    executable.insert(executable.end(), encrypted.begin(), encrypted.end());
    char name[] = "extractor";
    char option[] = "--password-stdin";
    char* argv[] = {name, option, nullptr};

    for (const bool corrupt : {false, true}) {
        SCOPED_TRACE(corrupt);
        Device device;
        device.corrupt = corrupt;
        ScriptedSystem system(executable, device);
        const int code = extractor::Run(system, 2, argv);
        EXPECT_EQ(system.created, "/in/report.doc");
        EXPECT_EQ(device.written, plain);
        EXPECT_NE(system.asked.find("report.doc already exists. Replace?"), std::string::npos);
        if (corrupt) {
            EXPECT_EQ(code, extractor::kExitFailed);
            EXPECT_EQ(device.commits, std::vector<bool>{false});
            EXPECT_NE(system.err.find("could not verify the new /in/report.doc"), std::string::npos) << system.err;
        } else {
            EXPECT_EQ(code, extractor::kExitDone) << system.err;
            EXPECT_EQ(device.commits, (std::vector<bool>{false, true}));
        }
    }
}

} // namespace
} // namespace tazen::test
