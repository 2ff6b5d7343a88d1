// The INI file: lookup, trimming, integers and booleans, byte-preserving edits, and failed writes.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/inifile.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tazen::platform {
namespace {

using test::exists;
using test::listFolder;
using test::readText;
using test::TempDir;
using test::writeFile;

mode_t permissionsOf(const std::string& name)
{
    struct stat st
    {
    };
    if (::stat(name.c_str(), &st) != 0)
        return static_cast<mode_t>(-1);
    return st.st_mode & 07777;
}

class IniFileTest : public ::testing::Test
{
protected:
    TempDir dir;
    const std::string path = dir / "settings.ini";
    TIniFile ini{path};
};

// ---- Lookup ----

TEST_F(IniFileTest, SectionAndKeyNamesMatchWithoutRegardToCase)
{
    writeFile(path, "[Window]\nLeft=400\nTOP=20\n");
    EXPECT_EQ(ini.ReadValue("window", "left"), "400");
    EXPECT_EQ(ini.ReadValue("WINDOW", "LEFT"), "400");
    EXPECT_EQ(ini.ReadValue("Window", "Top"), "20");
    EXPECT_EQ(ini.ReadValue("Windows", "Left"), std::nullopt);
    EXPECT_EQ(ini.ReadValue("Window", "Lef"), std::nullopt);
}

TEST_F(IniFileTest, TrimsBlanksTabsAndCarriageReturns)
{
    writeFile(path, "  [ Window ]  \r\nLeft = 400\r\n\tTop\t=\t20 \t\r\nTitle = two words \r\nEmpty =\r\n");
    EXPECT_EQ(ini.ReadValue("Window", "Left"), "400");
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 0), 400);
    EXPECT_EQ(ini.ReadValue("Window", "Top"), "20");
    EXPECT_EQ(ini.ReadValue("Window", "Title"), "two words");
    EXPECT_EQ(ini.ReadValue("Window", "Empty"), "");
}

TEST_F(IniFileTest, UnterminatedLastLineWithCarriageReturnIsRead)
{
    writeFile(path, "[A]\r\nx=1\r");
    EXPECT_EQ(ini.ReadValue("A", "x"), "1");
}

TEST_F(IniFileTest, OnlyKeyLinesInsideSectionsHoldValues)
{
    writeFile(path, "Orphan=1\n"
                    "[A]\n"
                    "; Commented=2\n"
                    "#Hashed=3\n"
                    "NoEquals\n"
                    "\n"
                    "Real=4\n");
    EXPECT_EQ(ini.ReadValue("A", "Orphan"), std::nullopt);
    EXPECT_EQ(ini.ReadValue("", "Orphan"), std::nullopt);
    EXPECT_EQ(ini.ReadValue("A", "; Commented"), std::nullopt);
    EXPECT_EQ(ini.ReadValue("A", "Commented"), std::nullopt);
    EXPECT_EQ(ini.ReadValue("A", "#Hashed"), std::nullopt);
    EXPECT_EQ(ini.ReadValue("A", "NoEquals"), std::nullopt);
    EXPECT_EQ(ini.ReadValue("A", "Real"), "4");
}

TEST_F(IniFileTest, KeysBelongToTheirOwnSection)
{
    writeFile(path, "[A]\nx=1\n[B]\ny=2\n");
    EXPECT_EQ(ini.ReadValue("A", "y"), std::nullopt);
    EXPECT_EQ(ini.ReadValue("B", "x"), std::nullopt);
    EXPECT_EQ(ini.ReadValue("B", "y"), "2");
}

TEST_F(IniFileTest, FirstOccurrenceOfSectionAndKeyWins)
{
    writeFile(path, "[A]\nx=first\nX=second\n[B]\nz=1\n[a]\nx=third\ny=later\n");
    EXPECT_EQ(ini.ReadValue("A", "x"), "first");
    EXPECT_EQ(ini.ReadValue("A", "y"), std::nullopt);
}

TEST_F(IniFileTest, ValueContainingEqualsSignIsKeptWhole)
{
    writeFile(path, "[A]\nFilter=a=b=c\n");
    EXPECT_EQ(ini.ReadValue("A", "Filter"), "a=b=c");
    ASSERT_EQ(ini.WriteString("A", "Other", "x=y"), 0);
    EXPECT_EQ(ini.ReadValue("A", "Other"), "x=y");
    EXPECT_EQ(ini.ReadValue("A", "Filter"), "a=b=c");
}

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(ini.ReadValue("A", "x"), std::nullopt);
    EXPECT_EQ(ini.ReadString("A", "x", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("A", "x", 7), 7);
    EXPECT_TRUE(ini.ReadBool("A", "x", true));
    EXPECT_FALSE(exists(path));

    writeFile(path, "[A]\nx=1\n");
    EXPECT_EQ(ini.ReadString("B", "x", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("A", "y", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("A", "x", "dflt"), "1");
}

TEST_F(IniFileTest, EveryReadSeesTheFileAsItIsNow)
{
    writeFile(path, "[A]\nx=1\n");
    EXPECT_EQ(ini.ReadInteger("A", "x", 0), 1);
    writeFile(path, "[A]\nx=2\n");
    EXPECT_EQ(ini.ReadInteger("A", "x", 0), 2);
    ASSERT_EQ(::unlink(path.c_str()), 0);
    EXPECT_EQ(ini.ReadInteger("A", "x", 0), 0);
}

// ---- Integers and booleans ----

TEST(ParseIniInteger, AcceptsDecimalWithOptionalMinus)
{
    EXPECT_EQ(ParseIniInteger("12"), 12);
    EXPECT_EQ(ParseIniInteger("-7"), -7);
    EXPECT_EQ(ParseIniInteger("0"), 0);
    EXPECT_EQ(ParseIniInteger("007"), 7);
    EXPECT_EQ(ParseIniInteger("2147483647"), INT_MAX);
    EXPECT_EQ(ParseIniInteger("-2147483648"), INT_MIN);
}

TEST(ParseIniInteger, AcceptsHexadecimalAfterZeroXOrDollar)
{
    EXPECT_EQ(ParseIniInteger("0x2"), 2);
    EXPECT_EQ(ParseIniInteger("0X1f"), 31);
    EXPECT_EQ(ParseIniInteger("0xAbC"), 0xABC);
    EXPECT_EQ(ParseIniInteger("$ff"), 255);
    EXPECT_EQ(ParseIniInteger("$7FFFFFFF"), INT_MAX);
    // 32 bits read as they stand wrap to negative.
    EXPECT_EQ(ParseIniInteger("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseIniInteger("$80000000"), INT_MIN);
    EXPECT_EQ(ParseIniInteger("0x000000000001"), 1);
}

TEST(ParseIniInteger, RejectsAnythingElse)
{
    for (const char* text : {"", "-", "0x", "0X", "$", "abc", "12abc", "1 2", " 12", "12 ", "+5", "--5", "-0x5", "0x1g",
                             "$-1", "1.5", "x12"})
        EXPECT_EQ(ParseIniInteger(text), std::nullopt) << '"' << text << '"';
}

TEST(ParseIniInteger, RejectsNumbersOutsideThirtyTwoBits)
{
    EXPECT_EQ(ParseIniInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("-2147483649"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("99999999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("0x100000000"), std::nullopt);
    EXPECT_EQ(ParseIniInteger("$FFFFFFFFFFFFFFFFF"), std::nullopt);
}

TEST_F(IniFileTest, ReadIntegerUsesDefaultWhenTextIsNoNumber)
{
    writeFile(path, "[N]\na=12\nb=-7\nc=0x2\nd=0x\ne=abc\nf=12abc\ng=\nh=4294967296\ni=$ff\n");
    EXPECT_EQ(ini.ReadInteger("N", "a", 99), 12);
    EXPECT_EQ(ini.ReadInteger("N", "b", 99), -7);
    EXPECT_EQ(ini.ReadInteger("N", "c", 99), 2);
    EXPECT_EQ(ini.ReadInteger("N", "d", 99), 99);
    EXPECT_EQ(ini.ReadInteger("N", "e", 99), 99);
    EXPECT_EQ(ini.ReadInteger("N", "f", 99), 99);
    EXPECT_EQ(ini.ReadInteger("N", "g", 99), 99);
    EXPECT_EQ(ini.ReadInteger("N", "h", 99), 99);
    EXPECT_EQ(ini.ReadInteger("N", "i", 99), 255);
}

TEST_F(IniFileTest, ReadBoolTakesAnyNonZeroNumberAsTrue)
{
    writeFile(path, "[B]\ntwo=2\nzero=0\nminus=-1\nhex=0x0\nword=abc\nyes=true\n");
    EXPECT_TRUE(ini.ReadBool("B", "two", false));
    EXPECT_TRUE(ini.ReadBool("B", "minus", false));
    EXPECT_FALSE(ini.ReadBool("B", "zero", true));
    EXPECT_FALSE(ini.ReadBool("B", "hex", true));
    // Words are not numbers: the default stands either way.
    EXPECT_TRUE(ini.ReadBool("B", "word", true));
    EXPECT_FALSE(ini.ReadBool("B", "word", false));
    EXPECT_TRUE(ini.ReadBool("B", "yes", true));
    EXPECT_FALSE(ini.ReadBool("B", "yes", false));
    EXPECT_TRUE(ini.ReadBool("B", "missing", true));
}

// ---- Writing ----

TEST_F(IniFileTest, WritesChangeOnlyWhatTheyMustAndKeepTheFilesLineEnds)
{
    struct Case
    {
        const char* what;
        std::optional<std::string> before; // none: no file
        std::function<void(TIniFile&)> write;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"a changed key keeps every other line byte for byte",
         "; settings\nLoose=line\n\n[Window]\n# position\n  LEFT = 400  \nUnknown=keep me\n\n[Other]\nLeft=5\n",
         [](TIniFile& ini) { ASSERT_EQ(ini.WriteInteger("window", "left", -12), 0); },
         "; settings\nLoose=line\n\n[Window]\n# position\nLEFT=-12\nUnknown=keep me\n\n[Other]\nLeft=5\n"},
        {"a changed key in a CRLF file keeps CRLF", "[Window]\r\nLeft = 400\r\nTop=1\r\n\r\n[Z]\r\nq=1",
         [](TIniFile& ini) { ASSERT_EQ(ini.WriteString("Window", "Left", "500"), 0); },
         "[Window]\r\nLeft=500\r\nTop=1\r\n\r\n[Z]\r\nq=1"},
        {"only the first of duplicate keys changes", "[A]\nx=1\nx=2\n[A]\nx=3\n",
         [](TIniFile& ini) { ASSERT_EQ(ini.WriteString("A", "X", "9"), 0); }, "[A]\nx=9\nx=2\n[A]\nx=3\n"},
        {"a new key goes at the end of its own section", "[A]\nx=1\n; end of A\n\n\n[B]\ny=2\n",
         [](TIniFile& ini) {
             ASSERT_EQ(ini.WriteBool("A", "Flag", true), 0);
             ASSERT_EQ(ini.WriteBool("B", "Off", false), 0);
         },
         "[A]\nx=1\n; end of A\nFlag=1\n\n\n[B]\ny=2\nOff=0\n"},
        {"a new key in a CRLF file uses CRLF after an unterminated last line", "[A]\r\nx=1",
         [](TIniFile& ini) { ASSERT_EQ(ini.WriteString("A", "y", "2"), 0); }, "[A]\r\nx=1\r\ny=2\r\n"},
        {"a new key in an empty section follows the header", "[A]\n\n[B]\n",
         [](TIniFile& ini) { ASSERT_EQ(ini.WriteString("A", "k", "v"), 0); }, "[A]\nk=v\n\n[B]\n"},
        {"a new section goes at the end after a blank line", "[A]\nx=1\n",
         [](TIniFile& ini) { ASSERT_EQ(ini.WriteString("New", "k", "v"), 0); }, "[A]\nx=1\n\n[New]\nk=v\n"},
        {"a new section in a CRLF file", "[A]\r\nx=1",
         [](TIniFile& ini) { ASSERT_EQ(ini.WriteString("New", "k", "v"), 0); }, "[A]\r\nx=1\r\n\r\n[New]\r\nk=v\r\n"},
        {"a blank line already there is separation enough", "[A]\nx=1\n\n",
         [](TIniFile& ini) { ASSERT_EQ(ini.WriteString("New", "k", "v"), 0); }, "[A]\nx=1\n\n[New]\nk=v\n"},
        {"an empty file gets no leading blank line", "",
         [](TIniFile& ini) { ASSERT_EQ(ini.WriteString("S", "k", "v"), 0); }, "[S]\nk=v\n"},
        {"integers are written in decimal", std::nullopt,
         [](TIniFile& ini) {
             ASSERT_EQ(ini.WriteInteger("N", "min", INT_MIN), 0);
             ASSERT_EQ(ini.WriteInteger("N", "max", INT_MAX), 0);
             ASSERT_EQ(ini.WriteInteger("N", "zero", 0), 0);
         },
         "[N]\nmin=-2147483648\nmax=2147483647\nzero=0\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(path);
        if (c.before)
            writeFile(path, *c.before);
        c.write(ini);
        EXPECT_EQ(readText(path), c.after);
    }
}

TEST_F(IniFileTest, WriteCreatesAMissingFile)
{
    ASSERT_EQ(ini.WriteInteger("Window", "Left", 400), 0);
    EXPECT_EQ(readText(path), "[Window]\nLeft=400\n");
    EXPECT_EQ(permissionsOf(path), 0644u);
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"settings.ini"});

    ASSERT_EQ(ini.WriteInteger("Window", "Top", -3), 0);
    ASSERT_EQ(ini.WriteBool("Window", "Max", true), 0);
    EXPECT_EQ(ini.ReadInteger("Window", "Left", 0), 400);
    EXPECT_EQ(ini.ReadInteger("Window", "Top", 0), -3);
    EXPECT_TRUE(ini.ReadBool("Window", "Max", false));
}

TEST_F(IniFileTest, WriteKeepsThePermissionBits)
{
    writeFile(path, "[A]\nx=1\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_EQ(ini.WriteString("A", "x", "2"), 0);
    EXPECT_EQ(permissionsOf(path), 0640u);
}

// ---- Failed writes ----

void expectWriteError(TIniFile& ini, const std::string& path)
{
    EXPECT_NE(ini.WriteString("A", "x", "a value long enough to pass a small size limit"), 0);
    EXPECT_EQ(IniWriteErrorText(path), "Unable to write to " + path);
}

TEST(IniFileWriteError, FolderThatDoesNotExist)
{
    TempDir dir;
    const std::string path = dir / "missing/settings.ini";
    TIniFile ini(path);
    expectWriteError(ini, path);
    EXPECT_TRUE(listFolder(dir.path()).empty());
}

TEST(IniFileWriteError, PathThatIsAFolder)
{
    TempDir dir;
    const std::string path = dir / "settings.ini";
    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
    TIniFile ini(path);
    expectWriteError(ini, path);
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"settings.ini"});
    EXPECT_TRUE(listFolder(path).empty());
}

TEST(IniFileWriteError, ReadOnlyFolderLeavesTheOldFile)
{
    TempDir dir;
    const std::string path = dir / "settings.ini";
    writeFile(path, "[A]\nx=1\n");
    ASSERT_EQ(::chmod(dir.path().c_str(), 0500), 0);
    const std::string probe = dir / "probe";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.c_str());
        GTEST_SKIP() << "folder permissions do not stop this user from writing";
    }
    TIniFile ini(path);
    expectWriteError(ini, path);
    EXPECT_EQ(readText(path), "[A]\nx=1\n");
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"settings.ini"});
}

// A file size limit makes the data write fail midway for any user, root included, like a full disk.
TEST(IniFileWriteError, FailedDataWriteRemovesTheTemporaryFile)
{
    TempDir dir;
    const std::string path = dir / "settings.ini";
    const std::string original = "[A]\nx=1\n; padding so the file is larger than the limit\n";
    writeFile(path, original);
    TIniFile ini(path);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const ErrorCode error = ini.WriteString("A", "x", "2");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(readText(path), original);
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"settings.ini"});
}

// ---- Quotes and encodings ----

// Text as UTF-16 bytes with the byte-order mark, from the compiler's own encoding of the literal.
std::string utf16(std::u16string_view text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST_F(IniFileTest, ReadsQuotedValuesMarkedUtf8AndUtf16AsWindowsDoes)
{
    struct Case
    {
        std::string file;
        std::string key;
        std::optional<std::string> expected;
    };
    const std::string smiley = "\xC3\xA4\xF0\x9F\x98\x80"; // ä and U+1F600 in UTF-8
    const Case cases[] = {
        {"[Files]\nSourceFiles=\"0\"\n", "SourceFiles", "0"},
        {"[Files]\nSourceFiles = '0' \n", "SourceFiles", "0"},
        {"[Files]\nName=\" two words \"\n", "Name", " two words "},
        {"[Files]\nName=\"0'\n", "Name", "\"0'"},
        {"[Files]\nName=\"\n", "Name", "\""},
        {"[Files]\nName=\"\"\"\"\n", "Name", "\"\""},
        {"\xEF\xBB\xBF[Files]\r\nSourceFiles=0\r\n", "SourceFiles", "0"},
        {utf16(u"[Files]\r\nSourceFiles=\"2\"\r\nName=\u00E4\U0001F600\r\n", false), "SourceFiles", "2"},
        {utf16(u"[Files]\r\nSourceFiles=2\r\nName=\u00E4\U0001F600\r\n", false), "Name", smiley},
        {utf16(u"[Files]\nName=\u00E4\U0001F600\n", true), "Name", smiley},
        // UTF-16 without its mark is not text this reader knows.
        {utf16(u"[Files]\nSourceFiles=0\n", false).substr(2), "SourceFiles", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        writeFile(path, c.file);
        EXPECT_EQ(ini.ReadValue("Files", c.key), c.expected);
    }
    writeFile(path, "[Files]\nSourceFiles=\"0\"\n");
    EXPECT_EQ(ini.ReadInteger("Files", "SourceFiles", 1), 0);
}

TEST_F(IniFileTest, WritingKeepsTheFilesEncodingAndMark)
{
    const std::pair<std::string, std::string> cases[] = {
        {"\xEF\xBB\xBF[Files]\r\nSourceFiles=0\r\nName=\xC3\xA4\r\n",
         "\xEF\xBB\xBF[Files]\r\nSourceFiles=2\r\nName=\xC3\xA4\r\nMakeSelfExtracting=1\r\n"},
        {utf16(u"[Files]\r\nSourceFiles=0\r\nName=\u00E4\U0001F600\r\n", false),
         utf16(u"[Files]\r\nSourceFiles=2\r\nName=\u00E4\U0001F600\r\nMakeSelfExtracting=1\r\n", false)},
        {utf16(u"[Files]\nSourceFiles='0'\n", true), utf16(u"[Files]\nSourceFiles=2\nMakeSelfExtracting=1\n", true)},
    };
    for (const auto& [before, after] : cases) {
        SCOPED_TRACE(before);
        writeFile(path, before);
        ASSERT_EQ(ini.WriteInteger("Files", "SourceFiles", 2), 0);
        ASSERT_EQ(ini.WriteBool("Files", "MakeSelfExtracting", true), 0);
        EXPECT_EQ(readText(path), after);
    }
}

} // namespace
} // namespace tazen::platform
