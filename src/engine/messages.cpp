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
    return Text(TAZEN_TEXT("Messages", "Could not open source file: \"%1\"\n\rThis could happen if the file is "
                                       "write-protected.\n\rRemove the write-protection and try again."),
                {name});
}

// A read-back that failed says why, as a failed read does; one that read different bytes has no reason to give.
std::string verifyFailureText(const MarkedText& failure, const std::string& name, ErrorCode error)
{
    const std::string text = Text(failure, {name});
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
        return outcome.inPreCheck || encrypting
                   ? openFailureText(file)
                   : Text(TAZEN_TEXT("Messages", "Could not open source file: %1"), {file});
    case Failure::TooShort:
        return Text(TAZEN_TEXT("Messages", "The file is too short to be a TaZEN encrypted file: %1"), {file});
    case Failure::NameTooLong:
        return withReason(Text(TAZEN_TEXT("Messages", "Could not create destination file: %1"), {file}), outcome.error);
    case Failure::WrongPassword:
        return Text(TAZEN_TEXT("Messages", "Wrong password for the file: %1"), {file});
    case Failure::CannotCreate:
        return Text(TAZEN_TEXT("Messages", "Could not create destination file: %1"), {file});
    case Failure::Read:
        return withReason(Text(TAZEN_TEXT("Messages", "Could not read the file: %1"), {file}), outcome.error);
    case Failure::Write:
        return withReason(Text(TAZEN_TEXT("Messages", "Could not write the file: %1"), {file}), outcome.error);
    case Failure::Verify:
        return verifyFailureText(encrypting ? kVerifyFailure : kDecryptedVerifyFailure, file, outcome.error);
    case Failure::Delete:
        return Text(TAZEN_TEXT("Messages", "Could not delete the file: %1"), {file});
    case Failure::ChangedWhileRead:
        return Text(TAZEN_TEXT("Messages", "Source file %1 changed while it was read."), {file});
    case Failure::Cancelled:
        return encrypting ? Text(TAZEN_TEXT("Messages", "Encryption canceled"))
                          : Text(TAZEN_TEXT("Messages", "Decryption canceled"));
    }
    return {};
}

std::string DisposalWarningText(const std::string& name, DisposalResult result, const std::string& reason)
{
    const std::string secondLine = reason.empty() ? "" : "\n\r" + reason;
    switch (result) {
    case NotDeleted:
        return Text(TAZEN_TEXT("Messages", "Source file %1 not deleted."), {name}) + secondLine;
    case NotShredded:
        return Text(TAZEN_TEXT("Messages", "Source file %1 not thoroughly shredded."), {name}) + secondLine;
    case Done:
        break;
    }
    return {};
}

std::string ExecutableFailureText(const std::string& name)
{
    return Text(TAZEN_TEXT("Messages", "An error occured while creating %1 executable."), {name});
}

std::string OverwriteFailureText(const std::string& name)
{
    return Text(TAZEN_TEXT("Messages", "Could not over-write the file: %1"), {name});
}

std::string RunTitle(Direction direction)
{
    return direction == Direction::Encrypt ? Text(TAZEN_TEXT("Messages", "Encrypting"))
                                           : Text(TAZEN_TEXT("Messages", "Decrypting"));
}

std::string ShredPassCaption(int pass, int passes)
{
    return Text(TAZEN_TEXT("Messages", "Pass %1 of %2"), {std::to_string(pass), std::to_string(passes)});
}

} // namespace tazen
