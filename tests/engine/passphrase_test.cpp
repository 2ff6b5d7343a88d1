// The passphrase generator's word list: a damaged one is refused, with what it holds.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/passphrase.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tazen::test {
namespace {

TEST(WordList, AListCutShortOrWithARepeatedWordIsRefusedWithWhatItHolds)
{
    const TempDir dir;
    std::string reason;
    std::vector<std::string> words = ReadWordList(TAZEN_WORD_LIST_PATH, reason);
    ASSERT_EQ(words.size(), kWordListSize) << reason;
    const auto firstLines = [&](std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i)
            text += std::to_string(i) + "\t" + words[i] + "\n";
        return text;
    };
    const std::pair<std::string, const char*> cases[] = {
        {"", "holds 0 distinct words, not 7776"},
        {firstLines(1), "holds 1 distinct word, not 7776"},
        {firstLines(357), "holds 357 distinct words, not 7776"},
        {firstLines(kWordListSize) + "7777\t" + words[5] + "\n",
         "holds 7777 words, 7776 of them distinct, not 7776 distinct words"},
        {firstLines(kWordListSize - 1) + "7776\t" + words[5] + "\n",
         "holds 7776 words, 7775 of them distinct, not 7776 distinct words"},
    };
    for (const auto& [content, found] : cases) {
        std::ofstream(dir / "list.txt", std::ios::trunc) << content;
        EXPECT_TRUE(ReadWordList(dir / "list.txt", reason).empty());
        EXPECT_EQ(reason, "the word list " + (dir / "list.txt") + " " + found);
    }
}

} // namespace
} // namespace tazen::test
