// What the engine tells a program that drives it while it works: a run's start, files, progress and end, a
// shredding's passes, an executable's build, the questions it asks, and its messages.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/secret.h"
#include "format/fileformat.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tazen {

enum class MessageKind
{
    Error,     // "Error" caption, error icon, one OK button
    Warning,   // "Warning" caption, warning icon, one OK button
    AbortError // error icon, one Abort button
};

// What a decryption does with a file that none of its passwords opens.
enum class WrongPasswordAnswer
{
    // The run ends there, as the window's does.
    StopRun,
    // The file is left as it is and the run goes on; the outcome lists it.
    SkipFile,
    // The password given is tried on it.
    TryPassword
};

// A run tells every event from the thread that called it, in the order it meets them (a run over several
// files at a time says otherwise: engine/parallelrun.h). The percentages are those the described gauges
// show, computed every 8192 bytes.
class RunEvents
{
public:
    virtual ~RunEvents() = default;

    // An encryption or decryption run over fileCount files has passed its pre-check.
    virtual void RunStarted(Direction direction, std::size_t fileCount) = 0;
    // The file at this position of the run's list is begun, before it is opened.
    virtual void FileStarted(std::size_t index, const std::string& name) = 0;
    virtual void FileProgress(int percent) = 0;
    virtual void TotalProgress(int percent) = 0;
    // Decryption's step of the whole after each file: 100 div the file count, added to what it shows.
    virtual void TotalAdvanced(int points) = 0;
    // Every file is through: the whole is full, and the window's button closes it.
    virtual void RunFinished() = 0;
    // The run stopped on a failure; a cancelled run is not hidden, the Cancel button closed it.
    virtual void RunHidden() = 0;
    // Asked before every 8192 bytes of a run.
    virtual bool CancelAsked() = 0;

    // A source is overwritten pass by pass, then deleted.
    virtual void ShredStarted(const std::string& name) = 0;
    virtual void ShredPass(int pass, int passes) = 0;
    virtual void ShredProgress(int percent) = 0;
    // Asked before every write of a pass.
    virtual bool ShredCancelAsked() = 0;
    // cancelCleared: a Cancel asked for during it is answered, so the next shredding does not see it.
    virtual void ShredEnded(bool cancelCleared) = 0;

    // An executable of this name is being built from the extractor and an encrypted file; it ignores Cancel.
    virtual void ExecutableStarted(const std::string& name) = 0;
    virtual void ExecutableProgress(int percent) = 0;
    virtual void ExecutableEnded() = 0;

    // Lets pending window messages be handled, so windows repaint and Cancel clicks arrive.
    virtual void ProcessMessages() = 0;
    // A message for the user; returns when the user has answered it.
    virtual void ShowMessage(MessageKind kind, const std::string& text) = 0;

    // Whether an existing file of this name may be replaced by a new one; false skips the file that would
    // replace it, and the run goes on. The window replaces without a question, as it always has.
    virtual bool MayReplace(const std::string& name)
    {
        (void)name;
        return true;
    }
    // No password of a decryption opens this file (named as in the run's list). For TryPassword, password holds
    // another one, which is wiped once its key is made; the question comes again when it does not open the file
    // either, and one that does is tried on the later files too. A run over several files at a time asks from
    // its calling thread, before the file is begun.
    virtual WrongPasswordAnswer WrongPassword(const std::string& name, Secret& password)
    {
        (void)name;
        (void)password;
        return WrongPasswordAnswer::StopRun;
    }
    // How many threads one file's decryption may use; 0: one for each processor the program may run on.
    virtual int DecryptionThreads() const { return 0; }

    // Asked once a file's new file is complete on the device (and proven where the run proves it), before it
    // is put in place; false removes it, leaves its source as it was, and ends the run as given up. A run over
    // several files at a time answers here when every file before this one is done.
    virtual bool MayPutInPlace() { return true; }

    // A run over several files at a time (engine/parallelrun.h) tells these instead of its files' own events.
    virtual void JobStarted(std::size_t index, const std::string& name)
    {
        (void)index;
        (void)name;
    }
    virtual void JobsProgress(std::uint64_t bytesDone, std::uint64_t totalBytes, std::size_t filesDone)
    {
        (void)bytesDone;
        (void)totalBytes;
        (void)filesDone;
    }
};

} // namespace tazen
