// Power cuts at every instant of a run: each state the folder could be found in afterwards, from what was
// flushed and any part of what was not, holds the source or a complete new file, and nothing else changed.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/engine_fixture.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <unordered_set>

namespace tazen::test {
namespace {

using Change = platform::FileChange;
using Kind = platform::FileChange::Kind;

// No more than this many states of one instant: the runs are small, so a larger count means the recording
// went wrong, not that the device has that many choices.
constexpr std::size_t kMostStatesPerCut = 1 << 16;
constexpr std::int64_t kPage = 4096;

bool isNameChange(Kind kind)
{
    return kind == Kind::Create || kind == Kind::Rename || kind == Kind::Delete;
}

// The folder as the device could hold it: names to files, files to their bytes.
struct Device
{
    std::map<std::string, int> names;
    std::vector<std::string> contents;

    // A name change the device may have done; one that is impossible in this state (its file was never
    // made here) did not happen.
    void rename(const Change& change, int made)
    {
        if (change.kind == Kind::Create) {
            names.insert({change.name, made});
            return;
        }
        const auto found = names.find(change.name);
        if (found == names.end())
            return;
        if (change.kind == Kind::Rename)
            names[change.to] = found->second;
        names.erase(change.name);
    }
    void apply(const Change& change, int file)
    {
        std::string& bytes = contents[static_cast<std::size_t>(file)];
        const auto end = static_cast<std::size_t>(change.offset) + change.data.size();
        if (change.kind == Kind::Truncate) {
            bytes.resize(static_cast<std::size_t>(change.length));
            return;
        }
        if (bytes.size() < end)
            bytes.resize(end);
        bytes.replace(static_cast<std::size_t>(change.offset), change.data.size(), change.data);
    }
    std::map<std::string, std::string> folder() const
    {
        std::map<std::string, std::string> shown;
        for (const auto& [name, file] : names)
            shown[name] = contents[static_cast<std::size_t>(file)];
        return shown;
    }
};

struct RunKind
{
    const char* name;
    int sourceFiles;
    bool selfExtract = false;
    bool decrypt = false;
    bool replaceOlder = false;
};

class PowerCut : public EngineTest, public testing::WithParamInterface<RunKind>
{
protected:
    void SetUp() override
    {
        writeFile(program / "extractor-windows.exe", randomBytes(rng, 700));
        writeFile(dir / "other.txt", randomBytes(rng, 300));
    }
    void TearDown() override { platform::SetChangeRecorder(nullptr); }

    std::map<std::string, std::string> onDisk() const
    {
        std::map<std::string, std::string> shown;
        for (const std::string& name : listFolder(dir.path()))
            shown[dir / name] = readText(dir / name);
        return shown;
    }

    // The file each change of data falls on, as the run made them: files by number, the folder's files
    // before the run first.
    void replayRun(const std::map<std::string, std::string>& before)
    {
        for (const auto& [name, bytes] : before) {
            live.names[name] = static_cast<int>(live.contents.size());
            live.contents.push_back(bytes);
        }
        initial = live;
        for (const Change& change : changes) {
            int file = -1;
            if (change.kind == Kind::Create) {
                file = static_cast<int>(live.contents.size());
                live.contents.emplace_back();
            } else if (change.kind != Kind::SyncFolder) {
                const auto found = live.names.find(change.name);
                ASSERT_NE(found, live.names.end()) << "a change to a name the run does not have: " << change.name;
                file = found->second;
            }
            fileOf.push_back(file);
            if (isNameChange(change.kind))
                live.rename(change, file);
            else if (change.kind == Kind::Write || change.kind == Kind::Truncate)
                live.apply(change, file);
            if (change.kind == Kind::Rename)
                products[change.to] = file;
        }
        initial.contents.resize(live.contents.size());
    }

    // Every state a cut after the first `cut` changes could leave: the changes before the last flush that
    // covers them, then any subset of the name changes not flushed and, of each file, a prefix of the data
    // changes not flushed.
    void statesAt(std::size_t cut, const std::function<void(const Device&, const std::string&)>& check)
    {
        std::vector<bool> durable(cut, false);
        for (std::size_t i = 0; i < cut; ++i) {
            const Change& flush = changes[i];
            for (std::size_t j = 0; j < i; ++j) {
                const Change& earlier = changes[j];
                if (flush.kind == Kind::SyncFolder && isNameChange(earlier.kind) &&
                    platform::FolderOf(earlier.name) == flush.name)
                    durable[j] = true;
                if (flush.kind == Kind::SyncFile && !isNameChange(earlier.kind) && fileOf[j] == fileOf[i])
                    durable[j] = true;
            }
        }
        std::vector<std::size_t> names;
        std::map<int, std::vector<std::size_t>> data;
        for (std::size_t i = 0; i < cut; ++i) {
            const Kind kind = changes[i].kind;
            if (durable[i] || kind == Kind::SyncFile || kind == Kind::SyncFolder)
                continue;
            if (isNameChange(kind))
                names.push_back(i);
            else
                data[fileOf[i]].push_back(i);
        }
        std::size_t count = std::size_t{1} << names.size();
        for (const auto& [file, pending] : data)
            count *= pending.size() + 1;
        ASSERT_LE(count, kMostStatesPerCut) << "at change " << cut;

        for (std::size_t state = 0; state < count; ++state) {
            std::size_t choice = state >> names.size();
            std::set<std::size_t> done;
            for (const auto& [file, pending] : data) {
                const auto prefix = static_cast<std::ptrdiff_t>(choice % (pending.size() + 1));
                choice /= pending.size() + 1;
                done.insert(pending.begin(), pending.begin() + prefix);
            }
            for (std::size_t n = 0; n < names.size(); ++n)
                if ((state >> n) & 1)
                    done.insert(names[n]);
            Device device = initial;
            std::string how = "cut after change " + std::to_string(cut) + " of " + std::to_string(changes.size()) +
                              ", of those not flushed done:";
            for (std::size_t i = 0; i < cut; ++i) {
                if (!durable[i] && done.count(i) == 0)
                    continue;
                if (!durable[i])
                    how += " " + std::to_string(i + 1);
                if (isNameChange(changes[i].kind))
                    device.rename(changes[i], fileOf[i]);
                else if (changes[i].kind == Kind::Write || changes[i].kind == Kind::Truncate)
                    device.apply(changes[i], fileOf[i]);
            }
            check(device, how);
        }
    }

    std::vector<Change> changes;
    std::vector<int> fileOf;
    Device live;
    Device initial;
    // The names the run gave a finished file, and that file.
    std::map<std::string, int> products;
};

TEST_P(PowerCut, LeavesTheSourceOrACompleteNewFileAndTouchesNothingElse)
{
    const RunKind kind = GetParam();
    frontend.settings.sourceFiles = kind.decrypt ? 0 : kind.sourceFiles;
    frontend.settings.selfExtract = kind.selfExtract;
    // Several pages and a part of one.
    const std::string plain = dir / "report.doc";
    writeFile(plain, randomBytes(rng, 20000));
    std::string source = plain;
    if (kind.decrypt) {
        ASSERT_EQ(encrypt({plain}), kAllFilesDone) << message;
        std::filesystem::remove(plain);
        source = plain + ".TaZEN";
        frontend.settings.sourceFiles = kind.sourceFiles;
    }
    if (kind.replaceOlder)
        writeFile(plain + ".TaZEN", randomBytes(rng, 5000));
    const std::map<std::string, std::string> before = onDisk();

    platform::SetChangeRecorder([this](const Change& change) {
        if (change.kind == Kind::SyncFolder ? change.name != dir.path() : platform::FolderOf(change.name) != dir.path())
            return;
        if (change.kind != Kind::Write)
            return changes.push_back(change);
        // The device takes a write page by page, so a cut may fall within one.
        for (std::int64_t at = change.offset; at < change.offset + change.length; at = (at / kPage + 1) * kPage) {
            Change page = change;
            page.offset = at;
            page.length = std::min((at / kPage + 1) * kPage, change.offset + change.length) - at;
            page.data =
                change.data.substr(static_cast<std::size_t>(at - change.offset), static_cast<std::size_t>(page.length));
            changes.push_back(page);
        }
    });
    ASSERT_EQ(kind.decrypt ? decrypt({source}) : encrypt({source}), kAllFilesDone) << message;
    platform::SetChangeRecorder(nullptr);
    replayRun(before);
    ASSERT_EQ(live.folder(), onDisk()) << "the recorded changes account for the folder the run left";
    ASSERT_FALSE(products.empty());

    std::set<std::string> temporary;
    for (const Change& change : changes)
        if (change.kind == Kind::Create)
            temporary.insert(change.name);
    std::unordered_set<std::size_t> seen;
    std::size_t failures = 0;
    std::size_t enumerated = 0;
    const auto check = [&](const Device& device, const std::string& how) {
        ++enumerated;
        const std::map<std::string, std::string> folder = device.folder();
        std::string flat;
        for (const auto& [name, bytes] : folder)
            flat += name + '\0' + bytes + '\0';
        if (!seen.insert(std::hash<std::string>{}(flat)).second)
            return;
        std::vector<std::string> wrong;
        bool standsFor = folder.count(source) != 0 && folder.at(source) == before.at(source);
        for (const auto& [name, bytes] : folder) {
            const auto product = products.find(name);
            const auto older = before.find(name);
            if (name == source)
                continue;
            if (product != products.end() && bytes == live.contents[static_cast<std::size_t>(product->second)])
                standsFor = true;
            else if (older != before.end() && bytes != older->second)
                wrong.push_back(name +
                                (product != products.end() ? " neither the older file nor the new" : " changed"));
            else if (product != products.end() && older == before.end())
                wrong.push_back(name + " incomplete");
            else if (older == before.end() && temporary.count(name) == 0)
                wrong.push_back(name + " made unasked");
        }
        for (const auto& [name, bytes] : before)
            if (name != source && folder.count(name) == 0)
                wrong.push_back(name + " gone");
        if (!standsFor)
            wrong.push_back("neither the source nor a complete new file");
        if (!wrong.empty() && ++failures <= 5) {
            std::string all;
            for (const std::string& what : wrong)
                all += " " + what;
            ADD_FAILURE() << kind.name << ", " << how << ":" << all;
        }
    };
    for (std::size_t cut = 0; cut <= changes.size(); ++cut)
        statesAt(cut, check);
    EXPECT_EQ(failures, 0u);
    RecordProperty("states", static_cast<int>(seen.size()));
    RecordProperty("enumerated", static_cast<int>(enumerated));
    RecordProperty("changes", static_cast<int>(changes.size()));
    std::printf("power-cut states of %s: %zu distinct of %zu enumerated, from %zu recorded changes\n", kind.name,
                seen.size(), enumerated, changes.size());
}

INSTANTIATE_TEST_SUITE_P(Runs, PowerCut,
                         testing::Values(RunKind{"encryption deleting its source", 1},
                                         RunKind{"encryption shredding its source", 2},
                                         RunKind{"decryption deleting its source", 1, false, true},
                                         RunKind{"executable build deleting its source", 1, true},
                                         RunKind{"replacement of an older encrypted file", 1, false, false, true}),
                         [](const testing::TestParamInfo<RunKind>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c != '\0'; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c)))
                                     name += *c;
                             return name;
                         });

} // namespace
} // namespace tazen::test
