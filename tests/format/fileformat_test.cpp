// The .TaZEN format: names, and file bytes checked against a computation from OpenSSL's primitives.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/fileformat.h"

#include "cipher/blowfish.h"
#include "format/stream.h"

#include "common/bytes.h"
#include "common/memory_stream.h"
#include "common/reference_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace tazen {
namespace {

using test::Bytes;
using test::referenceFile;

TEST(FormatNames, AppendAndDropTheExtensionByteForByte)
{
    EXPECT_EQ(EncryptedName("/home/u/report.doc"), "/home/u/report.doc.TaZEN");
    EXPECT_EQ(EncryptedName("archive.tar.gz"), "archive.tar.gz.TaZEN");
    EXPECT_EQ(PlainName("/home/u/report.doc.TaZEN"), "/home/u/report.doc");
    EXPECT_EQ(PlainName("archive.tar.gz.TaZEN"), "archive.tar.gz");
    EXPECT_EQ(PlainName(".TaZEN"), "");
    EXPECT_EQ(PlainName("abc"), "");

    EXPECT_TRUE(HasEncryptedExtension("a.TaZEN"));
    EXPECT_TRUE(HasEncryptedExtension(".TaZEN"));
    EXPECT_FALSE(HasEncryptedExtension("a.tazen"));
    EXPECT_FALSE(HasEncryptedExtension("a.TaZEN.exe"));
    EXPECT_FALSE(HasEncryptedExtension("TaZEN"));
}

TEST(FormatNames, AnExecutableEndingInAnyLetterCaseIsEncryptedAndDropsWhole)
{
    for (const char* name : {"/d/r.doc.TaZEN.exe", "/d/r.doc.TAZEN.EXE", "/d/r.doc.tazen.Exe"}) {
        EXPECT_TRUE(IsEncryptedName(name)) << name;
        EXPECT_EQ(PlainName(name), "/d/r.doc");
    }
    EXPECT_TRUE(IsEncryptedName("a.TaZEN"));
    EXPECT_FALSE(IsEncryptedName("a.tazen"));
    EXPECT_TRUE(IsEncryptedNameIgnoringCase("a.tazen"));
    for (const char* name : {"a.exe", "a.TaZENexe", "a.TaZEN.exe.old"})
        EXPECT_FALSE(IsEncryptedNameIgnoringCase(name)) << name;
}

Bytes encryptFile(TBlockCipher& cipher, const std::string& password, const Bytes& plain)
{
    const CheckBlock check = KeyCipher(cipher, password);
    Bytes file(kCheckBlockSize + plain.size());
    std::copy(check.begin(), check.end(), file.begin());
    std::copy(plain.begin(), plain.end(), file.begin() + kCheckBlockSize);
    TransformPayload(cipher, Direction::Encrypt, file.data() + kCheckBlockSize,
                     static_cast<std::int64_t>(plain.size()));
    cipher.Wipe();
    return file;
}

// The writer's file, and the reader's plain bytes back from it, on threads threads.
Bytes writeStream(TBlockCipher& cipher, const RunKey& key, const Bytes& plain)
{
    TazenWriter writer(cipher, key);
    test::MemorySource source(plain);
    test::MemorySink sink;
    PayloadHooks hooks;
    EXPECT_EQ(writer.Begin(sink), 0);
    const StreamOutcome outcome = writer.Encrypt(source, sink, hooks);
    EXPECT_TRUE(outcome.ended && outcome.failure == StreamFailure::None);
    EXPECT_EQ(outcome.read, static_cast<std::int64_t>(plain.size()));
    cipher.Wipe();
    return sink.bytes;
}

Bytes readStream(TBlockCipher& cipher, const RunKey& key, const Bytes& file, int threads)
{
    TazenReader reader(cipher, key);
    test::MemorySource source(file);
    test::MemorySink sink;
    PayloadHooks hooks;
    EXPECT_TRUE(reader.ReadCheckBlock(source).Matches());
    reader.KeyCipher();
    const StreamOutcome outcome = reader.Decrypt(source, sink, hooks, threads);
    EXPECT_TRUE(outcome.ended && outcome.failure == StreamFailure::None);
    cipher.Wipe();
    return sink.bytes;
}

TEST(FormatBytes, MatchAnIndependentComputationAndDecryptBack)
{
    struct Password
    {
        std::string typed;  // UTF-8, as a text field delivers it
        std::string hashed; // the bytes the key is made from
    };
    const Password passwords[] = {{"", ""}, {"abc", "abc"}, {"h\xC3\xB6gre", "h\xF6gre"}};
    std::mt19937 rng(2);
    TBlowfish cipher;
    // Pieces of 8192 bytes, in chunks of 128 pieces; the last length takes the read-ahead round its three chunks.
    const std::size_t chunk = 128 * 8192;
    for (const std::size_t length :
         {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{8}, std::size_t{13}, std::size_t{8191},
          std::size_t{8192}, std::size_t{8193}, std::size_t{65537}, chunk - 1, chunk, chunk + 1, 3 * chunk + 8192}) {
        const Bytes plain = test::randomBytes(rng, length);
        for (const Password& password : passwords) {
            SCOPED_TRACE(testing::Message() << length << " bytes, password '" << password.typed << "'");
            const Bytes file = encryptFile(cipher, password.typed, plain);
            ASSERT_EQ(file.size(), length + 32);
            ASSERT_EQ(file, referenceFile(password.hashed, plain));
            EXPECT_FALSE(cipher.Initialized());

            const CheckBlock check = KeyCipher(cipher, password.typed);
            ASSERT_TRUE(CheckBlockMatches(check, file.data()));
            Bytes back(file.begin() + 32, file.end());
            TransformPayload(cipher, Direction::Decrypt, back.data(), static_cast<std::int64_t>(back.size()));
            EXPECT_EQ(back, plain);
            cipher.Wipe();

            const RunKey key(cipher, password.typed);
            ASSERT_EQ(writeStream(cipher, key, plain), file);
            for (const int threads : {1, 3})
                EXPECT_EQ(readStream(cipher, key, file, threads), plain) << threads << " threads";
        }
    }
}

TEST(FormatPasswordCheck, RefusesAnyOtherPasswordAndAcceptsOtherSpellingsOfTheSameText)
{
    TBlowfish cipher;
    const Bytes file = encryptFile(cipher, "Correct horse", Bytes(20, 7));
    for (const std::string wrong : {"correct horse", "Correct hors", "Correct horsf", "Correct horse ", ""}) {
        EXPECT_FALSE(CheckBlockMatches(KeyCipher(cipher, wrong), file.data())) << wrong;
        cipher.Wipe();
    }
    EXPECT_TRUE(CheckBlockMatches(KeyCipher(cipher, "Correct horse"), file.data()));

    // The same letter typed precomposed or as o + combining diaeresis.
    const Bytes umlaut = encryptFile(cipher, "s\xC3\xB6t", {});
    EXPECT_TRUE(CheckBlockMatches(KeyCipher(cipher, "so\xCC\x88t"), umlaut.data()));
    EXPECT_FALSE(CheckBlockMatches(KeyCipher(cipher, "sot"), umlaut.data()));
}

TEST(FormatPayload, StepsInPiecesAndStopsWhenTold)
{
    TBlowfish cipher;
    KeyCipher(cipher, "pieces");
    Bytes data(2 * kPieceSize + 3616, 0x33);
    std::vector<std::int64_t> pieces;
    const std::int64_t done = TransformPayload(cipher, Direction::Encrypt, data.data(),
                                               static_cast<std::int64_t>(data.size()), [&](std::int64_t n) {
                                                   pieces.push_back(n);
                                                   return true;
                                               });
    EXPECT_EQ(done, static_cast<std::int64_t>(data.size()));
    EXPECT_EQ(pieces, (std::vector<std::int64_t>{kPieceSize, kPieceSize, 3616}));

    cipher.ResetVector();
    Bytes stopped(data.size(), 0x33);
    const std::int64_t partial =
        TransformPayload(cipher, Direction::Encrypt, stopped.data(), static_cast<std::int64_t>(stopped.size()),
                         [](std::int64_t) { return false; });
    EXPECT_EQ(partial, kPieceSize);
    EXPECT_TRUE(std::equal(stopped.begin(), stopped.begin() + kPieceSize, data.begin()));
    EXPECT_TRUE(std::all_of(stopped.begin() + kPieceSize, stopped.end(), [](std::uint8_t b) { return b == 0x33; }));
}

} // namespace
} // namespace tazen
