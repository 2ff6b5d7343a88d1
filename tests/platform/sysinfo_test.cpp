// Reading the kernel release, the distribution's name and the memory figures for the about box.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sysinfo.h"

#include <gtest/gtest.h>

namespace tazen::platform {
namespace {

struct Release
{
    unsigned major, minor, build;
    bool operator==(const Release&) const = default;
};

std::optional<Release> release(std::string_view text)
{
    Release parts{99, 99, 99};
    if (!ParseKernelRelease(text, parts.major, parts.minor, parts.build))
        return std::nullopt;
    return parts;
}

TEST(SysInfo, KernelReleaseGivesMajorMinorAndBuild)
{
    EXPECT_EQ(release("6.1.0-13-amd64"), (Release{6, 1, 0}));
    EXPECT_EQ(release("5.15.133.1-microsoft-standard-WSL2"), (Release{5, 15, 133}));
    EXPECT_EQ(release("6.8-rc1"), (Release{6, 8, 0}));
    EXPECT_EQ(release("4.19.0+"), (Release{4, 19, 0}));
    EXPECT_EQ(release("10.20.30.40"), (Release{10, 20, 30}));
    EXPECT_EQ(release("6"), (Release{6, 0, 0}));
    EXPECT_EQ(release("linux-6.1"), std::nullopt);
    EXPECT_EQ(release(""), std::nullopt);
}

TEST(SysInfo, PrettyNameLosesItsQuotesAndEscapes)
{
    EXPECT_EQ(ParseOsReleasePrettyName("NAME=\"Debian GNU/Linux\"\n"
                                       "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                                       "VERSION_ID=\"12\"\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(ParseOsReleasePrettyName("ID=arch\r\nPRETTY_NAME='Arch Linux'\r\n"), "Arch Linux");
    EXPECT_EQ(ParseOsReleasePrettyName("PRETTY_NAME=\"Say \\\"hi\\\"\""), "Say \"hi\"");
    // A commented-out or differently named key is not it.
    EXPECT_EQ(ParseOsReleasePrettyName("# PRETTY_NAME=\"Old\"\nXPRETTY_NAME=\"No\"\nNAME=\"Fedora\"\n"), "");
}

TEST(SysInfo, MemInfoGivesTotalAndAvailableInBytes)
{
    const auto status = ParseMemInfo("MemTotal:         524288 kB\n"
                                     "MemFree:          100000 kB\n"
                                     "MemAvailable:     262144 kB\n"
                                     "HugePages_Total:       0\n");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->totalBytes, 524288ull * 1024);
    EXPECT_EQ(status->availableBytes, 262144ull * 1024);

    // Old kernels lack MemAvailable; a figure that is no number does not count.
    EXPECT_FALSE(ParseMemInfo("MemTotal: 524288 kB\nMemFree: 1000 kB\n"));
    EXPECT_FALSE(ParseMemInfo("MemTotal: lots kB\nMemAvailable: 1 kB\n"));
}

} // namespace
} // namespace tazen::platform
