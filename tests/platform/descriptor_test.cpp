// Descriptors, file states and end signals: what the other layers ask the platform instead of the system.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"
#include "platform/signals.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace tazen::platform {
namespace {

using test::TempDir;
using test::writeFile;

TEST(FileState, TellsWhatANameLeadsToAndItsPermissionBits)
{
    TempDir dir;
    writeFile(dir / "plain", std::string("abc"));
    writeFile(dir / "locked", std::string("abc"));
    ASSERT_EQ(::chmod((dir / "plain").c_str(), 0640), 0);
    ASSERT_EQ(::chmod((dir / "locked").c_str(), 0400), 0);
    std::filesystem::create_directory(dir / "folder");
    ASSERT_EQ(::chmod((dir / "folder").c_str(), 0500), 0);
    std::filesystem::create_symlink(dir / "plain", dir / "link");

    struct Case
    {
        const char* name;
        bool followLink, folder, regular, link, writeProtected, othersRead;
        mode_t bits;
    };
    for (const Case& c : {Case{"plain", true, false, true, false, false, true, 0640},
                          Case{"locked", true, false, true, false, true, false, 0400},
                          // The read-only attribute is a file's: a folder without the owner-write bit has none.
                          Case{"folder", true, true, false, false, false, false, 0500},
                          Case{"link", true, false, true, false, false, true, 0640},
                          Case{"link", false, false, false, true, false, true, 0777}}) {
        FileState state;
        const std::string name = dir / c.name;
        ASSERT_EQ(c.followLink ? StateOf(name, state) : LinkStateOf(name, state), 0) << c.name;
        EXPECT_EQ(state.IsFolder(), c.folder) << c.name;
        EXPECT_EQ(state.IsRegular(), c.regular) << c.name;
        EXPECT_EQ(state.IsLink(), c.link) << c.name;
        EXPECT_EQ(state.IsWriteProtected(), c.writeProtected) << c.name;
        EXPECT_EQ(state.OthersMayRead(), c.othersRead) << c.name;
        EXPECT_EQ(state.PermissionBits(), c.bits) << c.name;
    }
    FileState state;
    EXPECT_EQ(LinkStateOf(dir / "missing", state), ENOENT);
    ASSERT_EQ(::chmod((dir / "folder").c_str(), 0700), 0);
}

TEST(Descriptors, ReadAndWriteWholeAtAnOffsetOrThePositionAndAnswerForStreams)
{
    TempDir dir;
    writeFile(dir / "data", std::string("0123456789"));
    File file;
    ASSERT_EQ(OpenForReadWrite(dir / "data", file), 0);
    char buffer[16] = {};
    std::int64_t got = -1;
    ASSERT_EQ(ReadFully(file.Descriptor(), buffer, 4, 6, got), 0);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(got)), "6789") << "at the offset, the end cut short";
    ASSERT_EQ(ReadFully(file.Descriptor(), buffer, 3, -1, got), 0);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(got)), "012") << "at the position, from the start";
    std::int64_t offset = -1;
    ASSERT_EQ(StreamOffset(file.Descriptor(), offset), 0);
    EXPECT_EQ(offset, 3);
    ASSERT_EQ(WriteFully(file.Descriptor(), "ab", 2, 8), 0);
    ASSERT_EQ(WriteFully(file.Descriptor(), std::string("XY")), 0);
    EXPECT_EQ(test::readText(dir / "data"), "012XY567ab");
    EXPECT_TRUE(IsOpenDescriptor(file.Descriptor()));
    EXPECT_FALSE(IsTerminal(file.Descriptor()));
    int columns = 0;
    EXPECT_EQ(TerminalColumns(file.Descriptor(), columns), ENOTTY);

    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    Descriptor reader(ends[0]);
    Descriptor writer(ends[1]);
    EXPECT_EQ(StreamOffset(reader.Get(), offset), ESPIPE);
    File copy;
    ASSERT_EQ(Duplicate(writer.Get(), "copy", copy), 0);
    EXPECT_NE(copy.Descriptor(), writer.Get());
    EXPECT_EQ(copy.Close(), 0);
    EXPECT_TRUE(IsOpenDescriptor(writer.Get())) << "closing the copy leaves the original open";
    ASSERT_EQ(WriteFully(writer.Get(), std::string("hi")), 0);
    writer.Reset();
    ASSERT_EQ(ReadFully(reader.Get(), buffer, sizeof buffer, -1, got), 0);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(got)), "hi") << "a pipe read to its end";
    const int closed = reader.Get();
    EXPECT_EQ(reader.Close(), 0);
    EXPECT_FALSE(IsOpenDescriptor(closed));
    EXPECT_EQ(Duplicate(closed, "gone", copy), EBADF);
}

TEST(EndSignalSource, TurnsAnEndSignalIntoAReadableHandle)
{
    EndSignalSource source;
    ASSERT_EQ(source.Start(), 0);
    pollfd watched{source.Handle(), POLLIN, 0};
    ASSERT_EQ(::poll(&watched, 1, 0), 0) << "nothing before a signal";
    ASSERT_EQ(::kill(::getpid(), SIGTERM), 0);
    ASSERT_EQ(::poll(&watched, 1, 0), 1) << "the process lives on, and the handle tells";
    source.Drain();
    ASSERT_EQ(::poll(&watched, 1, 0), 0) << "drained, it waits for the next";
}

} // namespace
} // namespace tazen::platform
