// The passphrase generator: the word list it takes, and what it draws from it.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/passphrase.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace tazen::test {
namespace {

// The first lines of the real list, in its own form ("11111<TAB>abacus").
std::string listLines(std::size_t lines)
{
    std::ifstream list(TAZEN_WORD_LIST_PATH);
    std::string text;
    std::string line;
    for (std::size_t i = 0; i < lines && std::getline(list, line); ++i)
        text += line + "\n";
    return text;
}

TEST(WordList, AListCutShortOrWithARepeatedWordIsRefusedWithWhatItHolds)
{
    const TempDir dir;
    const std::string full = listLines(kWordListSize);
    std::string repeated = full;
    repeated.replace(repeated.find("\tabdomen\n"), 9, "\tabacus\n");
    const std::pair<std::string, const char*> cases[] = {
        {"", "holds 0 distinct words, not 7776"},
        {"11111\tabacus\n", "holds 1 distinct word, not 7776"},
        {listLines(357), "holds 357 distinct words, not 7776"},
        {repeated, "holds 7775 distinct words, not 7776"},
    };
    for (const auto& [content, found] : cases) {
        std::ofstream(dir / "list.txt", std::ios::trunc) << content;
        std::string reason;
        EXPECT_TRUE(ReadWordList(dir / "list.txt", reason).empty());
        EXPECT_EQ(reason, "the word list " + (dir / "list.txt") + " " + found);
    }
    std::ofstream(dir / "list.txt", std::ios::trunc) << full;
    std::string reason;
    EXPECT_EQ(ReadWordList(dir / "list.txt", reason).size(), kWordListSize) << reason;
}

TEST(WordList, APassphraseHasTheAskedNumberOfWordsOfTheList)
{
    std::string reason;
    const std::vector<std::string> words = ReadWordList(TAZEN_WORD_LIST_PATH, reason);
    ASSERT_EQ(words.size(), kWordListSize) << reason;
    for (const int count : {1, 6, 8}) {
        std::istringstream passphrase(MakePassphrase(words, count, reason));
        int counted = 0;
        for (std::string word; passphrase >> word; ++counted)
            EXPECT_TRUE(std::find(words.begin(), words.end(), word) != words.end()) << word;
        EXPECT_EQ(counted, count);
    }
}

} // namespace
} // namespace tazen::test
