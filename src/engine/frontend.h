// What the engine needs of a user interface: the progress and shred dialogs, message boxes, a moment for
// pending window messages, and the settings dialog's two controls. The windows, the command-line tool and
// the tests each provide their own.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tazen {

// A dialog's modal results: none yet, and Cancel.
inline constexpr int kModalResultNone = 0;
inline constexpr int kModalResultCancel = 2;

// A percentage gauge (range 0 to 100).
class GaugePort
{
public:
    virtual ~GaugePort() = default;
    virtual int Progress() const = 0;
    virtual void SetProgress(int value) = 0;
    virtual void Advance(int amount) = 0;
};

// A label's caption.
class LabelPort
{
public:
    virtual ~LabelPort() = default;
    virtual void SetCaption(const std::string& text) = 0;
};

// The progress dialog the encryption and decryption runs drive.
class ProgressDialogPort
{
public:
    virtual ~ProgressDialogPort() = default;
    // Title "Encrypting" or "Decrypting", count text the number of files in decimal; clears the modal
    // result and shows the dialog without making it modal.
    virtual void StartProgress(const std::string& title, const std::string& countText) = 0;
    virtual void HideProgress() = 0;
    // Fills gaugeTotal and turns the button into "&Close".
    virtual void FinishProgress() = 0;
    virtual LabelPort& lblFilename() = 0;
    virtual GaugePort& gaugeFile() = 0;
    virtual GaugePort& gaugeTotal() = 0;
    // kModalResultCancel once the user has pressed Cancel.
    virtual int ModalResult() const = 0;
};

// The shred dialog, which shredding and the executable build use as a single-file progress window.
class ShredDialogPort
{
public:
    virtual ~ShredDialogPort() = default;
    virtual void SetCaption(const std::string& text) = 0;
    virtual LabelPort& lblHead() = 0;
    virtual LabelPort& lblFileName() = 0;
    virtual LabelPort& lblpass() = 0;
    virtual GaugePort& gaugePass() = 0;
    // Without making it modal, painted at once.
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual int ModalResult() const = 0;
    virtual void SetModalResult(int value) = 0;
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

    // A value chosen for this run alone (a command-line option), which wins over the settings file as well;
    // the window has none, so the file and then the controls decide.
    virtual std::optional<bool> SelfExtractOverride() const { return std::nullopt; }
    virtual std::optional<int> SourceFilesOverride() const { return std::nullopt; }
    // Whether a new file is read back from the device and proven before its source is destroyed; only a
    // command-line option turns it off.
    virtual bool VerifyBeforeDisposal() const { return true; }
};

enum class MessageKind
{
    Error,     // "Error" caption, error icon, one OK button
    Warning,   // "Warning" caption, warning icon, one OK button
    AbortError // error icon, one Abort button
};

class Frontend
{
public:
    virtual ~Frontend() = default;
    virtual ProgressDialogPort& ProgressDialog() = 0;
    virtual ShredDialogPort& shredDialog() = 0;
    virtual const SettingsControlsPort& SettingsControls() const = 0;
    // A modal message box; returns when the user has answered it.
    virtual void ShowMessage(MessageKind kind, const std::string& text) = 0;
    // Lets pending window messages be handled, so windows repaint and Cancel clicks arrive.
    virtual void ProcessMessages() = 0;

    // Whether an existing file of this name may be replaced by a new one; false skips the file that would
    // replace it, and the run goes on. The window replaces without a question, as it always has.
    virtual bool MayReplace(const std::string& name)
    {
        (void)name;
        return true;
    }
    // The position in the run's list, counted as the list stands, of the file at which a run stopped; the
    // run's result names the first entry equal to it with letter case disregarded, which may be another.
    virtual void RunStoppedAt(std::size_t index) { (void)index; }
    // How many threads one file's decryption may use; 0: one for each processor the program may run on.
    virtual int DecryptionThreads() const { return 0; }
};

} // namespace tazen
