// The main window: the file list, its modes and the commands that act on it.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/blowfish.h"
#include "cipher/cryptbase.h"
#include "format/fileformat.h"
#include "platform/instance.h"
#include "ui/dialogs/scandlg.h"
#include "ui/filelist.h"
#include "ui/handover.h"
#include "ui/handoverqueue.h"
#include "ui/interaction.h"
#include "ui/secondstart.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QToolButton;
class QTreeView;

namespace tazen {

class TAboutBox;
class TOpenFilesWindow;
class TPasswordDlg;
class TProgressDialog;
class TSettingsDialog;
class TshredDialog;

// The dialogs the application makes after the main window, in this order, and that live as long as it.
struct TDialogs
{
    TPasswordDlg* PasswordDlg = nullptr;
    TProgressDialog* ProgressDialog = nullptr;
    TSettingsDialog* SettingsDialog = nullptr;
    TAboutBox* AboutBox = nullptr;
    TshredDialog* shredDialog = nullptr;
};

class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr std::size_t kMostWaitingNames = HandOverQueue::kMostWaitingNames;

    explicit TForm1(Interaction& interaction, QWidget* parent = nullptr);
    ~TForm1() override;

    // The creation handler, called by the start-up code as soon as the window exists and before any other
    // window does: the single-instance rule, the geometry, then the status hint or the command line.
    // arguments are the program's, as their bytes. A second instance ends here: EndedWith() gives 0 once its
    // name was taken, 1 when it was not.
    void FormCreate(const std::vector<std::string>& arguments);
    // The same, with the single-instance rule already applied before the application was made.
    void FormCreate(const std::vector<std::string>& arguments, InstanceStart start);
    // The first instance's arguments: one file name, "/e" or "/d" with a folder, or (the file manager's
    // actions) "--encrypt" or "--decrypt" with the files to list in that mode.
    void HandleCommandLine(const std::vector<std::string>& arguments);
    // Lists the names in Encrypt or Decrypt mode, emptying the list first only when the mode changes. It takes
    // what a drop in that mode would (Encrypt: files not named as encrypted; Decrypt: files named so); a
    // folder stands for the files an /e or /d add finds in it, after its sub-folder question. What it
    // leaves out is said in one box.
    void AddInMode(bool encrypt, const std::vector<std::string>& names);
    // A message that arrived at the endpoint: a hand-over or a request to come to the front; anything else is
    // answered 0. A handed-over name is answered 1 as soon as it is queued, whatever the window is doing, and
    // listed in turn when the window is free; 0 when the queue is full. During the start-up, which may still
    // end the program, it is answered once listed.
    void WMCopyData(const platform::WindowMessage& message, const HandOverEndpoint::Reply& reply);
    // Opens an encrypted file in place: asks its password (and, when the copy's place is on a disk, whether
    // it may go there), decrypts it into its private folder, opens the copy with the desktop's application
    // and lists it in the Open files window. A file open already is shown there instead.
    void OpenEncrypted(const std::string& name);
    // The copies a crash or power cut left behind, offered one by one: saved back, discarded, or left for
    // the next start. The start-up code calls it once the window is shown.
    void OfferLeftBehind();
    // Where copies are opened: empty for the user's private runtime folder. Tests name one of their own.
    void SetOpenRuntimeFolder(std::string folder) { openRuntimeFolder_ = std::move(folder); }
    TOpenFilesWindow& OpenFilesWindow();

    // Restores and raises the window; with the activation token a second start was given, where the
    // window system asks for one.
    void BringToFront(const std::string& activationToken = {});

    // The outer bounds of the window as the settings file keeps them.
    void LoadGeometry();
    void SaveGeometry();
    QRect FrameBounds() const;

    void AttachDialogs(const TDialogs& dialogs) { dialogs_ = dialogs; }
    // Makes the password, progress, settings, about and shred dialogs, in this order, as windows of this
    // one: the window manager then keeps each in front of the main window and on its desktop.
    void CreateDialogs();
    const TDialogs& Dialogs() const { return dialogs_; }
    // The owner of a dialog or message box: this window once it is shown. Before that (the command line's
    // questions, the start-up scan) there is none, and the box stands on its own.
    QWidget* DialogOwner() { return isVisible() ? this : nullptr; }
    Interaction& UserInteraction() { return interaction_; }

    // The one cipher component; every run keys it anew for each file and leaves it wiped.
    TBlowfish& Blowfish1() noexcept { return blowfish1_; }

    // Mode
    void SetEncryptMode(bool ClearList);
    void SetDecryptMode(bool ClearList);
    // "Encrypt" or "Decrypt" as the title shows it; empty before a mode is chosen.
    QString ModeName() const;
    std::optional<Direction> Mode() const { return mode_; }
    const QString& OpenFilter() const { return openFilter_; }
    const QString& TitlePrefix() const { return titlePrefix_; }

    // The list. Both add every name not yet listed, in order, and differ only in two texts.
    void AddDialogFiles(const std::vector<std::string>& names);
    void AddFileList(const std::vector<std::string>& names);
    bool IsListed(const std::string& name) const { return files_->Contains(name); }
    void UpdateStatusLine();
    TFileListModel& Files() { return *files_; }
    const TFileListModel& Files() const { return *files_; }

    // Handlers
    void kryptera1Click();
    void Dekryptera1Click();
    void Avsluta1Click();
    void TaZENHjlp1Click();
    void Om1Click();
    // File > Open... and the list's popup Open: the selected encrypted file.
    void Open1Click();
    void OpenFiles1Click();
    void btnAddClick();
    void btnRemoveClick();
    void btnEncryptClick();
    void btnDecryptClick();
    void btnSettingsClick();
    void abort1Click();
    void lstVfilesKeyDown(int key);
    // What a drop does with the names it carries, once they are read.
    void DropFiles(const std::vector<std::string>& names);

    // Sets lblpw, shows the password dialog and takes what was typed; true only for OK. The dialog's field
    // is emptied before it returns. showStrength: the estimate under the field (the first prompt of Encrypt).
    // confirming: the first entry, which the confirming prompt tells the typing's match with.
    bool AskPassword(const QString& prompt, Secret& password, bool showStrength = false,
                     const Secret* confirming = nullptr);

    // While a run is in progress, or a command, a start-up or an addition to the list is under way, an
    // action that would change the list waits until that is over; otherwise it happens at once.
    void WhenIdle(std::function<void()> action);
    bool RunInProgress() const { return running_; }

    // The program is to end with this exit code before the window is shown (a folder add found nothing or
    // was cancelled); the start-up code reads it.
    void EndProgram(int exitCode) { endedWith_ = exitCode; }
    std::optional<int> EndedWith() const { return endedWith_; }

    // The one scan dialog of a folder add.
    std::unique_ptr<TscanDialog>& ScanDialog() { return scanDialog_; }

    // Controls
    QTreeView& lstVfiles() { return *lstVfiles_; }
    QLabel& StatusBar1() { return *statusBar1_; }
    QAction& kryptera1() { return *kryptera1_; }
    QAction& Dekryptera1() { return *dekryptera1_; }
    QAction& Avsluta1() { return *avsluta1_; }
    QAction& TaZENHjlp1() { return *tazenHjlp1_; }
    QAction& Om1() { return *om1_; }
    QAction& abort1() { return *abort1_; }
    QAction& Open1() { return *open1_; }
    QAction& OpenFiles1() { return *openFiles1_; }
    QAction& popupOpen1() { return *popupOpen1_; }
    QMenu& PopupMenu1() { return *popupMenu1_; }
    QToolButton& btnAdd() { return *btnAdd_; }
    QToolButton& btnRemove() { return *btnRemove_; }
    QToolButton& btnEncrypt() { return *btnEncrypt_; }
    QToolButton& btnDecrypt() { return *btnDecrypt_; }
    QToolButton& btnSettings() { return *btnSettings_; }

signals:
    // The window has closed; the application ends.
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Held actions wait while one of these lives.
    using Hold = HandOverQueue::Hold;

    bool busy() const { return handOvers_.Busy(); }
    void becomeRunningInstance(platform::EndpointListener listener);
    void fitFrame();
    void createMenus();
    void createToolBar();
    void createList();
    void fitFixedColumns();
    void switchMode(bool encrypt, bool clearList);
    void addBatch(const std::vector<std::string>& names, const QString& unknownSize, const QString& encryptedStatus);
    // An information box during which held actions run as they come.
    void tellWithoutHolding(const QString& text);
    void removeSelected();
    // The one name of a plain start or hand-over: a folder stands for its files; a file chooses the mode
    // while there is none.
    void listGiven(const std::string& name);
    // Says which files AddInMode left out, and why.
    void tellLeftOut();
    void setCommandsEnabled(bool enabled);
    void runCommand(bool encrypt);

    Interaction& interaction_;
    TDialogs dialogs_;
    TBlowfish blowfish1_;

    std::optional<Direction> mode_;
    QString openFilter_;
    QString titlePrefix_;

    TFileListModel* files_;
    QTreeView* lstVfiles_ = nullptr;
    QLabel* statusBar1_ = nullptr;
    QMenu* popupMenu1_ = nullptr;
    QAction* kryptera1_ = nullptr;
    QAction* dekryptera1_ = nullptr;
    QAction* avsluta1_ = nullptr;
    QAction* tazenHjlp1_ = nullptr;
    QAction* om1_ = nullptr;
    QAction* abort1_ = nullptr;
    QAction* open1_ = nullptr;
    QAction* openFiles1_ = nullptr;
    QAction* popupOpen1_ = nullptr;
    TOpenFilesWindow* openFiles_ = nullptr;
    std::string openRuntimeFolder_;
    QToolButton* btnAdd_ = nullptr;
    QToolButton* btnRemove_ = nullptr;
    QToolButton* btnEncrypt_ = nullptr;
    QToolButton* btnDecrypt_ = nullptr;
    QToolButton* btnSettings_ = nullptr;

    bool running_ = false;
    bool closeRequested_ = false;
    std::unique_ptr<platform::InstanceLock> instanceLock_;
    std::unique_ptr<HandOverEndpoint> endpoint_;
    // The outer bounds still to be reached once the window manager has said how wide its frame is.
    std::optional<QRect> frameToFit_;
    std::optional<int> endedWith_;
    std::unique_ptr<TscanDialog> scanDialog_;
    QStringList leftOut_;
    bool tellingLeftOut_ = false;
    // A program that ends before its window shows, or a window closing, takes nothing more in.
    HandOverQueue handOvers_{[this] { return running_; }, [this] { return endedWith_.has_value() || closeRequested_; }};
};

} // namespace tazen
