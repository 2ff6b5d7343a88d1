// What the engine needs of a program that drives it: its events (engine/events.h) and the settings dialog's
// controls. The windows, the command-line tool and the tests each provide their own.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/events.h"

#include <optional>
#include <string>

namespace tazen {

// A dialog's modal results: none yet, and Cancel.
inline constexpr int kModalResultNone = 0;
inline constexpr int kModalResultCancel = 2;

// What becomes of a source after its encryption, by the numbers the settings file stores.
enum class SourceFiles
{
    Leave = 0,
    Delete = 1,
    Shred = 2
};

// The system the recipient of a self-extracting executable runs it on: which extractor goes in front. The name
// ends in ".exe" for both, so Windows is the default.
enum class RecipientSystem
{
    Windows,
    Linux
};

// The settings dialog's controls, read while no settings file exists; they keep whatever the user last
// set in them, even in a dialog that was then cancelled.
class SettingsControlsPort
{
public:
    virtual ~SettingsControlsPort() = default;
    // chbxSelfExtract
    virtual bool SelfExtractChecked() const = 0;
    // rgSrcFiles' item index: 0 leave, 1 delete, 2 shred; -1 when no button is selected.
    virtual int SourceFilesIndex() const = 0;
    // The recipient's system chosen beside chbxSelfExtract.
    virtual RecipientSystem RecipientSystemChosen() const { return RecipientSystem::Windows; }

    // A value chosen for this run alone (a command-line option), which wins over the settings file as well;
    // the window has none, so the file and then the controls decide.
    virtual std::optional<bool> SelfExtractOverride() const { return std::nullopt; }
    virtual std::optional<SourceFiles> SourceFilesOverride() const { return std::nullopt; }
    virtual std::optional<RecipientSystem> RecipientSystemOverride() const { return std::nullopt; }
    // Whether a new file is read back from the device and proven before its source is destroyed; only a
    // command-line option turns it off.
    virtual bool VerifyBeforeDisposal() const { return true; }
    // The folder the new file made from source (a name of the run's list, as given) goes into; empty: beside
    // the source. Only a command-line option chooses another; a folder below the one it named is made when
    // the file's turn comes.
    virtual std::string DestinationFolder(const std::string& source) const
    {
        (void)source;
        return {};
    }
    // Whether decryption keeps the encrypted file (or executable) it decrypted; only a command-line option does.
    virtual bool KeepEncryptedFiles() const { return false; }
};

class Frontend : public RunEvents
{
public:
    virtual const SettingsControlsPort& SettingsControls() const = 0;
};

} // namespace tazen
