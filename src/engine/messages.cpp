// The texts the engine's users see, each written once.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/messages.h"

#include "platform/files.h"

namespace tazen {

namespace {

std::string withReason(const std::string& text, ErrorCode error)
{
    return text + "\n\r" + platform::ErrorText(error);
}

// The window's wording for a file it cannot open, which gives no reason.
std::string openFailureText(const std::string& name)
{
    return "Could not open source file: \"" + name +
           "\"\n\rThis could happen if the file is write-protected.\n\rRemove the write-protection and try again.";
}

// A read-back that failed says why, as a failed read does; one that read different bytes has no reason to give.
std::string verifyFailureText(const char* failure, const std::string& name, ErrorCode error)
{
    const std::string text = failure + name;
    return error != 0 ? withReason(text, error) : text;
}

} // namespace

std::string MessageText(const RunOutcome& outcome)
{
    const std::string& file = outcome.file;
    const bool encrypting = outcome.direction == Direction::Encrypt;
    switch (outcome.failure) {
    case Failure::None:
    case Failure::Abandoned:
        return {};
    case Failure::CannotOpen:
        // Decryption names the file alone once the pre-check has passed it.
        return outcome.inPreCheck || encrypting ? openFailureText(file) : "Could not open source file: " + file;
    case Failure::TooShort:
        return "The file is too short to be a TaZEN encrypted file: " + file;
    case Failure::NameTooLong:
        return withReason("Could not create destination file: " + file, outcome.error);
    case Failure::WrongPassword:
        return "Wrong password for the file: " + file;
    case Failure::CannotCreate:
        return "Could not create destination file: " + file;
    case Failure::Read:
        return withReason("Could not read the file: " + file, outcome.error);
    case Failure::Write:
        return withReason("Could not write the file: " + file, outcome.error);
    case Failure::Verify:
        return verifyFailureText(encrypting ? kVerifyFailure : kDecryptedVerifyFailure, file, outcome.error);
    case Failure::Delete:
        return "Could not delete the file: " + file;
    case Failure::ChangedWhileRead:
        return "Source file " + file + " changed while it was read.";
    case Failure::Cancelled:
        return std::string(encrypting ? kEncryptionCanceled : kDecryptionCanceled);
    }
    return {};
}

std::string DisposalWarningText(const std::string& name, DisposalResult result, const std::string& reason)
{
    const std::string secondLine = reason.empty() ? "" : "\n\r" + reason;
    switch (result) {
    case NotDeleted:
        return "Source file " + name + " not deleted." + secondLine;
    case NotShredded:
        return "Source file " + name + " not thoroughly shredded." + secondLine;
    case Done:
        break;
    }
    return {};
}

std::string ExecutableFailureText(const std::string& name)
{
    return "An error occured while creating " + name + " executable.";
}

std::string OverwriteFailureText(const std::string& name)
{
    return "Could not over-write the file: " + name;
}

std::string RunTitle(Direction direction)
{
    return direction == Direction::Encrypt ? "Encrypting" : "Decrypting";
}

std::string ShredPassCaption(int pass, int passes)
{
    return "Pass " + std::to_string(pass) + " of " + std::to_string(passes);
}

} // namespace tazen
