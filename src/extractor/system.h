// What the extractor's one flow needs of the system it runs on. Linux and Windows each implement it with
// their platform layer's calls; the options, texts, names, exit codes and the order of the steps stay in
// extractor/flow.cpp, the same for both programs.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/bytestream.h"
#include "base/error.h"
#include "cipher/secret.h"
#include "extractor/image.h"
#include "format/digest.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tazen::extractor {

// The plain file being written under a temporary name in its destination folder; removed when it goes
// uncommitted, so nothing half-written stays behind.
class NewFile : public ByteSink
{
public:
    // After each chunk written: the moment to start its way to the device.
    virtual void ChunkWritten() {}
    // The whole file, written and flushed to the device under its temporary name.
    virtual ErrorCode Flush() = 0;
    // Reads the flushed file back from the device into digest, bypassing the cache where the system allows it,
    // and counts its bytes.
    virtual ErrorCode ReadBack(StreamDigest& digest, std::int64_t& size) = 0;
    // Renames it onto its final name. Without mayReplace an existing file stays: EEXIST, and this one waits
    // for another Commit or for going.
    virtual ErrorCode Commit(bool mayReplace) = 0;
};

enum class Stream
{
    Output,
    Error
};

class System
{
public:
    virtual ~System() = default;

    // "terminal" or "console": where the program asks, in its texts.
    virtual const char* AskingPlace() const = 0;
    // The path of the program's own file, empty when the system cannot tell.
    virtual std::string OwnPath() = 0;
    virtual bool IsSeparator(char c) const = 0;
    virtual char Separator() const = 0;

    // Opens the program's own file and finds the encrypted file behind its image.
    virtual ErrorCode OpenSelf() = 0;
    virtual PayloadStatus LocatePayload(std::int64_t& start, std::int64_t& size) = 0;
    // Up to size bytes at offset of the file opened by OpenSelf; got is short only where the file ends.
    virtual ErrorCode ReadSelfAt(void* buffer, std::int64_t size, std::int64_t offset, std::int64_t& got) = 0;

    // Before anything else, unless the password comes on standard input or nothing is to be asked: a program
    // started where its user cannot see it may start itself again where they can, and then ends with the code
    // given.
    virtual std::optional<int> HandOff(const std::string& /*selfPath*/, int /*argc*/, char** /*argv*/)
    {
        return std::nullopt;
    }
    // The outcome, once more where the user of a program started without a terminal can see it.
    virtual void Tell(bool /*failure*/, const std::string& /*title*/, const std::string& /*text*/) {}

    // Ctrl+C from now on stops the work in progress instead of ending the program.
    virtual void CatchInterrupts() = 0;
    // 0, or what the exit status of an interrupted run adds to 128.
    virtual int Interrupted() const = 0;

    // Text in UTF-8, to one of the standard streams, as the system shows it.
    virtual void Write(Stream stream, const std::string& text) = 0;
    // The first line of standard input, as bytes; ENODATA when it is empty, EMSGSIZE when too long.
    virtual ErrorCode ReadInputLine(SecretString& line) = 0;
    // Whether there is a terminal (console) to ask on.
    virtual bool CanAsk() = 0;
    // Shows the prompt ("Password for NAME", its ": " the system's own) and reads a line without echo, in
    // UTF-8; ECANCELED when the user declined to give one.
    virtual ErrorCode ReadHidden(const std::string& prompt, SecretString& line) = 0;
    // Shows the question ("NAME already exists. Replace?", its " [y/N] " the system's own) and reads the answer:
    // yes only for "y" or "yes", in any letter case.
    virtual ErrorCode Ask(const std::string& question, bool& yes) = 0;

    virtual bool Exists(const std::string& name) = 0;
    // The plain file to be written under finalName; it gets the program file's own modification time, which
    // the program was given from its encrypted file, and that from the plain file.
    virtual ErrorCode CreateFile(const std::string& finalName, std::unique_ptr<NewFile>& file) = 0;
    virtual std::string ErrorText(ErrorCode error) = 0;

    // Last of all, with the exit code: where the program's window closes with it, the user reads the outcome
    // first.
    virtual void Ending() {}
};

// The extractor, from its arguments (in UTF-8, argv[0] the name it was started under) to its exit code.
int Run(System& system, int argc, char** argv);

} // namespace tazen::extractor
