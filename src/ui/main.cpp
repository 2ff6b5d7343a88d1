// The main window: the file list, its modes and the commands that act on it; how it starts, with the
// single-instance rule, the hand-over from a second start and the command line; and its place on the screen.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main.h"

#include "engine/crypto.h"
#include "engine/messages.h"
#include "engine/opened.h"
#include "engine/passphrase.h"
#include "engine/settings.h"
#include "format/fileformat.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "ui/about.h"
#include "ui/dialogs/dialogfrontend.h"
#include "ui/dialogs/progressDlg.h"
#include "ui/dialogs/shredDlg.h"
#include "ui/fileops.h"
#include "ui/icons.h"
#include "ui/openfiles.h"
#include "ui/passdlg.h"
#include "ui/secondstart.h"
#include "ui/settingsDlg.h"
#include "ui/windowframe.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSizeGrip>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace tazen {

namespace {

// The busy cursor over TaZEN's windows while a file is decrypted for opening, which shows nothing else.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString allFilesFilter()
{
    return TForm1::tr("All files (*.*)|*.*");
}

QString encryptedFilesFilter()
{
    return TForm1::tr("Encrypted files (*.TaZEN *.TaZEN.exe)|*.TaZEN;*.TaZEN.exe");
}
constexpr int kFixedColumnWidth = 100;
QString unencrypted()
{
    return TForm1::tr("Unencrypted");
}
// What the Status column may say; it is made wide enough for the widest of them.
QStringList statusTexts()
{
    return {unencrypted(), TForm1::tr("Encrypted"), TForm1::tr("encrypted")};
}

// The status bar as a screen reader meets it: its texts, without the size grip, which has no role a reader
// knows and says nothing the window's own frame does not.
class StatusBarAccessible : public QAccessibleWidget
{
public:
    explicit StatusBarAccessible(QWidget* bar) : QAccessibleWidget(bar, QAccessible::StatusBar) {}

    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const std::vector<QWidget*> shown = children();
        return index >= 0 && index < static_cast<int>(shown.size())
                   ? QAccessible::queryAccessibleInterface(shown[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const std::vector<QWidget*> shown = children();
        const auto found = std::find(shown.begin(), shown.end(), child ? child->object() : nullptr);
        return found == shown.end() ? -1 : static_cast<int>(found - shown.begin());
    }

private:
    std::vector<QWidget*> children() const
    {
        std::vector<QWidget*> shown;
        for (QWidget* child : widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!child->isWindow() && qobject_cast<QSizeGrip*>(child) == nullptr)
                shown.push_back(child);
        return shown;
    }
};

QAccessibleInterface* statusBarAccessibleFactory(const QString& className, QObject* object)
{
    if (className != QLatin1String("QStatusBar") || object == nullptr || !object->isWidgetType())
        return nullptr;
    return new StatusBarAccessible(static_cast<QWidget*>(object));
}

// A file's length in whole KB.
QString sizeText(std::int64_t size)
{
    return TForm1::tr("%1 KB").arg(QLocale().toString(size / 1024));
}

// The local file names a drop carries, as their bytes: the raw percent-encoding is decoded by hand, since
// Qt's own decoding would replace bytes that are not UTF-8.
std::vector<std::string> droppedNames(const QMimeData& data)
{
    std::vector<std::string> names;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile())
            names.push_back(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
    return names;
}

// What the password dialog of an encryption says will become of the originals, and where that is chosen.
QString originalsText(SourceFiles disposal)
{
    QString text;
    switch (disposal) {
    case SourceFiles::Leave:
        text = TForm1::tr("The original files will be kept.");
        break;
    case SourceFiles::Delete:
        text = TForm1::tr("The original files will be deleted.");
        break;
    case SourceFiles::Shred:
        text = TForm1::tr("The original files will be shredded.");
        break;
    }
    return text + TForm1::tr(" Settings chooses what becomes of them.");
}

BoxKind boxKindOf(MessageKind kind)
{
    return kind == MessageKind::Warning ? BoxKind::Warning : BoxKind::Error;
}

const char* const kSwitchDecrypt = "/d";

// Why a file given in a mode is not listed, or nothing when that mode takes it, as a drop in it would.
std::optional<QString> notTakenBecause(bool encrypt, const std::string& name)
{
    if (!platform::ExistsAsFile(name))
        return TForm1::tr(" was not found, or is not a file.");
    if (encrypt == IsEncryptedNameIgnoringCase(name))
        return encrypt ? TForm1::tr(" is encrypted already.") : TForm1::tr(" is not a TaZEN encrypted file.");
    return std::nullopt;
}

// A box names this many of the files left out, and counts the rest.
constexpr qsizetype kLeftOutNamed = 10;

} // namespace

TForm1::TForm1(Interaction& interaction, QWidget* parent)
    : QMainWindow(parent), interaction_(interaction), files_(new TFileListModel(this))
{
    setObjectName(QStringLiteral("Form1"));
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(statusBarAccessibleFactory);
        return true;
    }();
    (void)factoryInstalled;
    setWindowTitle(QStringLiteral("TaZEN"));
    setWindowIcon(GlyphIcon(Glyph::Program));
    resize(400, 250);
    createMenus();
    createToolBar();
    createList();
    statusBar1_ = new QLabel(this);
    statusBar1_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar1_->setTextFormat(Qt::PlainText);
    // The start hint is longer than the default window is wide; it wraps rather than being cut off.
    statusBar1_->setWordWrap(true);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->addWidget(statusBar1_, 1);
    setAcceptDrops(true);
    titlePrefix_ = windowTitle() + QStringLiteral(" - ");
    lstVfiles_->setFocus();
}

TForm1::~TForm1() = default;

void TForm1::createMenus()
{
    QMenu* arkiv1 = menuBar()->addMenu(tr("&File"));
    arkiv1->setObjectName(QStringLiteral("Arkiv1"));
    kryptera1_ = arkiv1->addAction(tr("&Encrypt"), this, &TForm1::kryptera1Click);
    kryptera1_->setObjectName(QStringLiteral("kryptera1"));
    kryptera1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    kryptera1_->setCheckable(true);
    dekryptera1_ = arkiv1->addAction(tr("&Decrypt"), this, &TForm1::Dekryptera1Click);
    dekryptera1_->setObjectName(QStringLiteral("Dekryptera1"));
    dekryptera1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    dekryptera1_->setCheckable(true);
    arkiv1->addSeparator();
    open1_ = arkiv1->addAction(tr("&Open..."), this, &TForm1::Open1Click);
    open1_->setObjectName(QStringLiteral("Open1"));
    open1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    openFiles1_ = arkiv1->addAction(tr("Open &files"), this, &TForm1::OpenFiles1Click);
    openFiles1_->setObjectName(QStringLiteral("OpenFiles1"));
    arkiv1->addSeparator();
    avsluta1_ = arkiv1->addAction(tr("&Exit"), this, &TForm1::Avsluta1Click);
    avsluta1_->setObjectName(QStringLiteral("Avsluta1"));
    avsluta1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));

    QMenu* hjlp1 = menuBar()->addMenu(tr("&Help"));
    hjlp1->setObjectName(QStringLiteral("Hjlp1"));
    tazenHjlp1_ = hjlp1->addAction(tr("&TaZEN Help"), this, &TForm1::TaZENHjlp1Click);
    tazenHjlp1_->setObjectName(QStringLiteral("TaZENHjlp1"));
    hjlp1->addSeparator();
    om1_ = hjlp1->addAction(tr("&About..."), this, &TForm1::Om1Click);
    om1_->setObjectName(QStringLiteral("Om1"));
}

void TForm1::createToolBar()
{
    // The title names the bar to a screen reader.
    QToolBar* toolBar = addToolBar(tr("Commands"));
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    // The button that shows the commands a narrow window has no room for.
    if (auto* more = toolBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(tr("More commands"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->toggleViewAction()->setEnabled(false);
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    const auto button = [&](const char* name, const QString& caption, const QString& hint, Glyph glyph,
                            void (TForm1::*handler)()) {
        auto* created = new QToolButton(toolBar);
        created->setObjectName(QLatin1String(name));
        created->setText(caption);
        created->setToolTip(hint);
        created->setIcon(GlyphIcon(glyph));
        created->setIconSize(QSize(32, 32));
        created->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        created->setAutoRaise(true);
        created->setMinimumWidth(64);
        toolBar->addWidget(created);
        connect(created, &QToolButton::clicked, this, handler);
        return created;
    };
    btnAdd_ = button("btnAdd", tr("&Add"), tr("Lägg till filer för kryptering eller dekryptering"), Glyph::Add,
                     &TForm1::btnAddClick);
    btnRemove_ =
        button("btnRemove", tr("&Remove"), tr("Ta bort markerade filer"), Glyph::Remove, &TForm1::btnRemoveClick);
    btnEncrypt_ =
        button("btnEncrypt", tr("&Encrypt"), tr("Kryptera valda filer"), Glyph::Encrypt, &TForm1::btnEncryptClick);
    btnDecrypt_ =
        button("btnDecrypt", tr("&Decrypt"), tr("Dekryptera valda filer"), Glyph::Decrypt, &TForm1::btnDecryptClick);
    btnSettings_ =
        button("btnSettings", tr("&Settings"), tr("Ändra inställningar"), Glyph::Settings, &TForm1::btnSettingsClick);
    btnEncrypt_->setEnabled(false);
    btnDecrypt_->setEnabled(false);
}

void TForm1::createList()
{
    lstVfiles_ = new QTreeView(this);
    lstVfiles_->setObjectName(QStringLiteral("lstVfiles"));
    lstVfiles_->setAccessibleName(tr("Files"));
    lstVfiles_->setModel(files_);
    lstVfiles_->setRootIsDecorated(false);
    lstVfiles_->setItemsExpandable(false);
    // Every row is one line high, which lets the view lay out a hundred thousand rows without measuring them.
    lstVfiles_->setUniformRowHeights(true);
    lstVfiles_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstVfiles_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstVfiles_->setAllColumnsShowFocus(true);
    lstVfiles_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstVfiles_->setTextElideMode(Qt::ElideMiddle);
    QHeaderView* header = lstVfiles_->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setSectionResizeMode(TFileListModel::ColumnName, QHeaderView::Stretch);
    header->setSectionResizeMode(TFileListModel::ColumnSize, QHeaderView::Fixed);
    header->setSectionResizeMode(TFileListModel::ColumnStatus, QHeaderView::Fixed);
    fitFixedColumns();
    setCentralWidget(lstVfiles_);

    popupMenu1_ = new QMenu(this);
    popupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
    abort1_ = popupMenu1_->addAction(tr("Remove"), this, &TForm1::abort1Click);
    abort1_->setObjectName(QStringLiteral("abort1"));
    popupOpen1_ = popupMenu1_->addAction(tr("&Open..."), this, &TForm1::Open1Click);
    popupOpen1_->setObjectName(QStringLiteral("popupOpen1"));
    lstVfiles_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstVfiles_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { popupMenu1_->popup(lstVfiles_->viewport()->mapToGlobal(position)); });
    lstVfiles_->installEventFilter(this);
}

void TForm1::fitFixedColumns()
{
    // The margins the item delegate keeps on either side of a cell's text.
    const int margins = 2 * (lstVfiles_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lstVfiles_) + 1);
    // Measured in fractions of a pixel, as the view lays out the text it draws: a text a fraction wider than
    // its cell is elided.
    const QFontMetricsF metrics(lstVfiles_->font());
    const auto fit = [&](int column, const auto& texts) {
        int width = kFixedColumnWidth;
        for (const QString& text : texts)
            width = std::max(width, static_cast<int>(std::ceil(metrics.horizontalAdvance(text))) + margins);
        lstVfiles_->header()->resizeSection(column, width);
    };
    fit(TFileListModel::ColumnStatus, statusTexts());
    // Wide enough for the sizes of files up to about 100 GB.
    fit(TFileListModel::ColumnSize, std::array{sizeText(std::int64_t{99'999'999} * 1024)});
}

void TForm1::SetEncryptMode(bool ClearList)
{
    switchMode(true, ClearList);
}

void TForm1::SetDecryptMode(bool ClearList)
{
    switchMode(false, ClearList);
}

QString TForm1::ModeName() const
{
    if (!mode_)
        return {};
    return *mode_ == Direction::Encrypt ? tr("Encrypt") : tr("Decrypt");
}

void TForm1::switchMode(bool encrypt, bool clearList)
{
    if (clearList)
        files_->Clear();
    kryptera1_->setChecked(encrypt);
    dekryptera1_->setChecked(!encrypt);
    mode_ = encrypt ? Direction::Encrypt : Direction::Decrypt;
    setWindowTitle(titlePrefix_ + ModeName());
    openFilter_ = encrypt ? allFilesFilter() : encryptedFilesFilter();
    btnEncrypt_->setEnabled(encrypt && !running_);
    btnDecrypt_->setEnabled(!encrypt && !running_);
}

void TForm1::kryptera1Click()
{
    SetEncryptMode(true);
}

void TForm1::Dekryptera1Click()
{
    SetDecryptMode(true);
}

void TForm1::Avsluta1Click()
{
    close();
}

void TForm1::WhenIdle(std::function<void()> action)
{
    handOvers_.WhenIdle(std::move(action));
}

void TForm1::setCommandsEnabled(bool enabled)
{
    for (QWidget* control :
         {static_cast<QWidget*>(btnAdd_), static_cast<QWidget*>(btnRemove_), static_cast<QWidget*>(btnSettings_)})
        control->setEnabled(enabled);
    for (QAction* action : {kryptera1_, dekryptera1_, abort1_, open1_, popupOpen1_})
        action->setEnabled(enabled);
    btnEncrypt_->setEnabled(enabled && mode_ == Direction::Encrypt);
    btnDecrypt_->setEnabled(enabled && mode_ == Direction::Decrypt);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (running_) {
        // The run is cancelled first; the window closes once it has stopped.
        closeRequested_ = true;
        if (dialogs_.ProgressDialog)
            dialogs_.ProgressDialog->SetModalResult(kModalResultCancel);
        event->ignore();
        return;
    }
    // Every open file is closed first, its last change saved and its copy removed.
    if (openFiles_)
        openFiles_->CloseAll();
    SaveGeometry();
    event->accept();
    emit Closed();
}

// The list: what adds names to it and what takes them off.

void TForm1::AddDialogFiles(const std::vector<std::string>& names)
{
    addBatch(names, tr("Unknown"), tr("Encrypted"));
}

void TForm1::AddFileList(const std::vector<std::string>& names)
{
    addBatch(names, tr("Okänd"), tr("encrypted"));
}

void TForm1::addBatch(const std::vector<std::string>& names, const QString& unknownSize, const QString& encryptedStatus)
{
    std::optional<QString> lastRepeated;
    {
        // A hand-over arriving while an " already choosen." box is open waits until the rest of the batch is in.
        const Hold hold(handOvers_);
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string& name = names[i];
            if (IsListed(name)) {
                const QString text = tr("%1 already choosen.").arg(FileNameText(name));
                if (i + 1 == names.size()) {
                    lastRepeated = text;
                    break;
                }
                // The box shows over a list that already holds the names before this one.
                files_->ShowStaged();
                interaction_.MessageBox(this, BoxKind::Information, text);
                continue;
            }
            const QString caption = FileNameText(name);
            const QString status = IsEncryptedName(name) ? encryptedStatus : unencrypted();
            // The size is unknown when the file cannot be opened for reading and writing.
            std::int64_t size = 0;
            const bool measured = platform::SizeForReadWrite(name, size) == 0;
            files_->Stage({name, caption, measured ? sizeText(size) : unknownSize, status});
        }
        files_->ShowStaged();
        UpdateStatusLine();
    }
    if (lastRepeated)
        tellWithoutHolding(*lastRepeated);
}

void TForm1::tellWithoutHolding(const QString& text)
{
    // Nothing of the batch is left to keep in order.
    handOvers_.RunWhile([&] { interaction_.MessageBox(this, BoxKind::Information, text); });
}

void TForm1::UpdateStatusLine()
{
    const int count = files_->Count();
    if (count == 0)
        statusBar1_->clear();
    else if (count == 1)
        statusBar1_->setText(Mode() == Direction::Encrypt ? tr("One file choosen for encryption")
                                                          : tr("One file choosen for decryption"));
    else
        statusBar1_->setText((Mode() == Direction::Encrypt ? tr("%1 files choosen for encryption")
                                                           : tr("%1 files choosen for decryption"))
                                 .arg(QLocale().toString(count)));
}

void TForm1::btnAddClick()
{
    if (!kryptera1_->isChecked() && !dekryptera1_->isChecked()) {
        interaction_.MessageBox(this, BoxKind::Information,
                                tr("You must first select \"Encrypt/Decrypt\" from the \"File\" menu."));
        return;
    }
    if (const auto names = interaction_.OpenFiles(this, QtNameFilter(openFilter_)))
        AddDialogFiles(*names);
    else
        UpdateStatusLine();
}

void TForm1::btnRemoveClick()
{
    if (running_)
        return;
    if (files_->Count() == 0)
        interaction_.MessageBox(this, BoxKind::Information, tr("There are no files to remove."));
    else if (!lstVfiles_->selectionModel()->hasSelection())
        interaction_.MessageBox(this, BoxKind::Information, tr("Select the files you want to remove."));
    else
        removeSelected();
    UpdateStatusLine();
}

void TForm1::removeSelected()
{
    std::vector<int> rows;
    for (const QModelIndex& index : lstVfiles_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    files_->RemoveRows(std::move(rows));
}

void TForm1::abort1Click()
{
    if (lstVfiles_->selectionModel()->hasSelection())
        btnRemoveClick();
}

void TForm1::lstVfilesKeyDown(int key)
{
    if (key == Qt::Key_Delete && lstVfiles_->selectionModel()->hasSelection())
        btnRemoveClick();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    // The list's own font, not the window's: a theme's font for lists reaches the list alone, when it is
    // polished, after the window was made.
    if (watched == lstVfiles_ && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
        fitFixedColumns();
    if (watched == lstVfiles_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            lstVfilesKeyDown(key->key());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !droppedNames(*event->mimeData()).empty())
        event->acceptProposedAction();
}

void TForm1::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    const std::vector<std::string> names = droppedNames(*event->mimeData());
    event->acceptProposedAction();
    DropFiles(names);
}

void TForm1::DropFiles(const std::vector<std::string>& names)
{
    if (busy())
        return WhenIdle([this, names] { DropFiles(names); });
    // What comes meanwhile (a folder's question is open) is listed after the drop, in turn.
    const Hold hold(handOvers_);
    std::vector<std::string> kept;
    bool anyEncrypted = false;
    bool anyOther = false;
    const auto keep = [&](std::string name) {
        if (!platform::ExistsAsFile(name))
            return;
        (IsEncryptedNameIgnoringCase(name) ? anyEncrypted : anyOther) = true;
        kept.push_back(std::move(name));
    };
    for (const std::string& name : names) {
        if (!platform::ExistsAsFolder(name)) {
            keep(name);
            continue;
        }
        // A folder stands for every file an /e add finds in it; those decide the mode as dropped files do.
        for (std::string& found : FilesOfFolder(*this, name, false))
            keep(std::move(found));
    }
    if (anyOther)
        SetEncryptMode(mode_ != Direction::Encrypt);
    else if (anyEncrypted)
        SetDecryptMode(mode_ != Direction::Decrypt);
    AddFileList(kept);
}

void TForm1::AddInMode(bool encrypt, const std::vector<std::string>& names)
{
    std::vector<std::string> taken;
    {
        const Hold hold(handOvers_);
        const auto take = [&](std::string name) {
            if (const std::optional<QString> reason = notTakenBecause(encrypt, name))
                leftOut_.push_back(FileNameText(name) + *reason);
            else
                taken.push_back(std::move(name));
        };
        for (const std::string& name : names) {
            if (!platform::ExistsAsFolder(name)) {
                take(name);
                continue;
            }
            for (std::string& found : FilesOfFolder(*this, name, !encrypt))
                take(std::move(found));
        }
        // As a drop does: the list is emptied only when the mode changes.
        if (encrypt)
            SetEncryptMode(Mode() != Direction::Encrypt);
        else
            SetDecryptMode(Mode() != Direction::Decrypt);
        AddFileList(taken);
    }
    tellLeftOut();
}

void TForm1::tellLeftOut()
{
    // A box is open already: what is left out meanwhile is told when it closes, in one more box.
    if (tellingLeftOut_)
        return;
    tellingLeftOut_ = true;
    while (!leftOut_.isEmpty()) {
        QStringList lines;
        lines.swap(leftOut_);
        QString text =
            Mode() == Direction::Encrypt ? tr("Not listed for encryption:") : tr("Not listed for decryption:");
        for (qsizetype i = 0; i < std::min(lines.size(), kLeftOutNamed); ++i)
            text += QStringLiteral("\n\r") + lines[i];
        if (lines.size() > kLeftOutNamed)
            text += tr("\n\rand %1 more.").arg(QLocale().toString(lines.size() - kLeftOutNamed));
        tellWithoutHolding(text);
    }
    tellingLeftOut_ = false;
}

void TForm1::listGiven(const std::string& name)
{
    if (name.empty())
        return;
    // A folder is never listed as a file: it stands for its files, in the window's mode or else for encryption.
    if (platform::ExistsAsFolder(name))
        return AddInMode(mode_ != Direction::Decrypt, {name});
    // Without a mode yet, the file chooses it, as at a first start; nothing listed before goes.
    if (!mode_)
        IsEncryptedName(name) ? SetDecryptMode(false) : SetEncryptMode(false);
    AddFileList({name});
}

// Encrypt and Decrypt with the password dialog, and the settings, about and help commands.

bool TForm1::AskPassword(const QString& prompt, Secret& password, bool showStrength, const Secret* confirming)
{
    TPasswordDlg& dialog = *dialogs_.PasswordDlg;
    dialog.lblpw().SetText(prompt);
    dialog.Reset();
    dialog.ShowStrength(showStrength);
    dialog.ShowOriginals(showStrength && dialogs_.SettingsDialog
                             ? originalsText(SourceFilesSetting(*dialogs_.SettingsDialog))
                             : QString());
    dialog.CompareWith(confirming);
    dialog.Suggester = [this, &dialog]() -> std::optional<QString> {
        std::string reason;
        const std::vector<std::string> words = ReadWordList(platform::ExecutableFolder() + kWordListName, reason);
        std::string passphrase = words.empty() ? std::string() : MakePassphrase(words, kPassphraseWords, reason);
        if (passphrase.empty()) {
            interaction_.MessageBox(&dialog, BoxKind::Error,
                                    tr("Could not suggest a passphrase: %1").arg(QString::fromStdString(reason)));
            return std::nullopt;
        }
        QString suggested = QString::fromStdString(passphrase);
        SecureFill(passphrase.data(), 0, passphrase.size());
        return suggested;
    };
    const int result = interaction_.ShowModal(dialog);
    dialog.CompareWith(nullptr);
    QByteArray typed = dialog.edPassword().text().toUtf8();
    // The field does not keep the password once it has been taken.
    dialog.edPassword().clear();
    password.Wipe();
    password.value.reserve(static_cast<size_t>(typed.size()));
    password.value.assign(typed.constData(), static_cast<size_t>(typed.size()));
    SecureFill(typed.data(), 0, static_cast<size_t>(typed.size()));
    return result == QDialog::Accepted;
}

void TForm1::btnEncryptClick()
{
    runCommand(true);
}

void TForm1::btnDecryptClick()
{
    runCommand(false);
}

void TForm1::runCommand(bool encrypt)
{
    if (running_)
        return;
    if (files_->Count() == 0) {
        interaction_.MessageBox(this, BoxKind::Information,
                                encrypt ? tr("You must first add the files you wish to encypt.")
                                        : tr("You must first add the files you wish to decrypt."));
        return;
    }
    // The run works on its own copy. What would change the list waits until the command is over, so nothing
    // added meanwhile is emptied away with the names the run has done.
    const Hold hold(handOvers_);
    const std::vector<std::string> names = files_->Names();
    // From here to the end of the run the process holds the password or its key, and cannot be dumped.
    Secret password;
    if (!AskPassword(tr("Enter password"), password, encrypt))
        return;
    if (encrypt) {
        Secret confirmation;
        if (!AskPassword(tr("Confirm password"), confirmation, false, &password))
            return;
        if (password.value != confirmation.value) {
            interaction_.MessageBox(this, BoxKind::Error, tr("Passwords do not match."));
            return;
        }
    }

    running_ = true;
    setCommandsEnabled(false);
    DialogFrontend frontend(*dialogs_.ProgressDialog, *dialogs_.shredDialog, *dialogs_.SettingsDialog,
                            [this](MessageKind kind, const std::string& text) {
                                interaction_.MessageBox(this, boxKindOf(kind), QString::fromUtf8(text),
                                                        kind == MessageKind::AbortError ? BoxButtons::Abort
                                                                                        : BoxButtons::Ok);
                            });
    // The run wipes the password once it has made the key.
    const RunOutcome outcome = encrypt ? EncryptFiles(blowfish1_, names, password, frontend)
                                       : DecryptFiles(blowfish1_, names, password, frontend);
    running_ = false;
    setCommandsEnabled(true);

    const auto setMode = [&] { encrypt ? SetEncryptMode(true) : SetDecryptMode(true); };
    if (outcome.Completed()) {
        setMode();
    } else {
        const bool cancelled = outcome.failure == Failure::Cancelled;
        // Closing the window cancelled the run; the user has said what should happen next.
        if (!(cancelled && closeRequested_))
            interaction_.MessageBox(this, BoxKind::Error, QString::fromUtf8(MessageText(outcome)));
        if (cancelled)
            setMode();
    }

    if (closeRequested_) {
        handOvers_.Drop();
        close();
    }
}

void TForm1::btnSettingsClick()
{
    if (!running_)
        dialogs_.SettingsDialog->Execute();
}

void TForm1::Om1Click()
{
    dialogs_.AboutBox->lblVersion().setText(ProductVersionText());
    interaction_.ShowModal(*dialogs_.AboutBox);
}

// Open: an encrypted file decrypted into a private folder, watched, and encrypted again when it changes.

TOpenFilesWindow& TForm1::OpenFilesWindow()
{
    if (!openFiles_)
        openFiles_ = new TOpenFilesWindow(this, handOvers_, [this](const OpenedFile& file) {
            interaction_.MessageBox(this, BoxKind::Error,
                                    tr("Could not save the last change of %1: %2\n\rThe decrypted copy is kept in "
                                       "%3; TaZEN offers to save it back at its next start.")
                                        .arg(FileNameText(file.EncryptedFile()),
                                             QString::fromStdString(file.Status().reason),
                                             FileNameText(file.Folder())));
        });
    return *openFiles_;
}

void TForm1::Open1Click()
{
    const QModelIndex current = lstVfiles_->selectionModel()->currentIndex();
    const bool selected = current.isValid() && lstVfiles_->selectionModel()->isRowSelected(current.row());
    const QModelIndexList rows = lstVfiles_->selectionModel()->selectedRows();
    const int row = selected ? current.row() : rows.isEmpty() ? -1 : rows.front().row();
    if (row < 0 || !IsEncryptedNameIgnoringCase(files_->Entry(row).name)) {
        interaction_.MessageBox(this, BoxKind::Information, tr("Select an encrypted file in the list to open it."));
        return;
    }
    OpenEncrypted(files_->Entry(row).name);
}

void TForm1::OpenFiles1Click()
{
    if (OpenFilesWindow().Count() == 0) {
        interaction_.MessageBox(this, BoxKind::Information, tr("No encrypted file is open."));
        return;
    }
    OpenFilesWindow().ShowFile({});
}

void TForm1::OpenEncrypted(const std::string& name)
{
    if (busy())
        return WhenIdle([this, name] { OpenEncrypted(name); });
    if (OpenFilesWindow().Find(name) != nullptr)
        return OpenFilesWindow().ShowFile(name);
    if (!platform::ExistsAsFile(name) || !IsEncryptedNameIgnoringCase(name)) {
        interaction_.MessageBox(DialogOwner(), BoxKind::Error,
                                FileNameText(name) + (platform::ExistsAsFile(name)
                                                          ? tr(" is not a TaZEN encrypted file.")
                                                          : tr(" was not found, or is not a file.")));
        return;
    }
    // What comes meanwhile waits until the file is open.
    const Hold hold(handOvers_);
    Secret password;
    if (!AskPassword(tr("Enter password"), password))
        return;
    // A second try on a disk needs the password again; the first wipes its own.
    Secret again;
    again.value = password.value;
    auto file = std::make_unique<OpenedFile>(name);
    const auto open = [&](Secret& typed, bool allowDisk) {
        const WaitCursor wait;
        QuietRunEvents events;
        return file->Open(typed, events, allowDisk, openRuntimeFolder_);
    };
    OpenOutcome outcome = open(password, false);
    if (outcome.failure == OpenFailure::NotInMemory) {
        const QString question = QString::fromStdString(OpenFailureText(name, outcome)) +
                                 tr("\n\rWrite the decrypted copy there all the same?");
        if (interaction_.MessageBox(DialogOwner(), BoxKind::Confirm, question, BoxButtons::OkCancel) != BoxAnswer::Ok)
            return;
        outcome = open(again, true);
    }
    again.Wipe();
    if (!outcome.Opened()) {
        interaction_.MessageBox(DialogOwner(), BoxKind::Error, QString::fromStdString(OpenFailureText(name, outcome)));
        return;
    }
    const QString copy = QString::fromStdString(file->CopyPath());
    TOpenFilesWindow& window = OpenFilesWindow();
    window.Add(std::move(file));
    window.ShowFile(name);
    interaction_.OpenForEditing(&window, copy, [this, name, copy](bool opened) {
        // Said only while the copy is still there to be opened.
        if (!opened && OpenFilesWindow().Find(name) != nullptr)
            interaction_.MessageBox(DialogOwner(), BoxKind::Warning,
                                    tr("No application opened the decrypted copy; open it yourself: %1").arg(copy));
    });
}

void TForm1::OfferLeftBehind()
{
    std::string reason;
    const OpenPlace place = FindOpenPlace(reason, openRuntimeFolder_);
    std::vector<LeftBehindCopy> copies;
    if (place.folder.empty() || FindLeftBehind(place, copies) != 0)
        return;
    for (const LeftBehindCopy& copy : copies) {
        // A folder without a copy holds nothing to save.
        if (copy.copy.empty()) {
            static_cast<void>(DiscardLeftBehind(copy)); // found again next time if it stays
            continue;
        }
        const QString encrypted =
            copy.encryptedFile.empty() ? tr("an unknown encrypted file") : FileNameText(copy.encryptedFile);
        const BoxAnswer answer = interaction_.MessageBox(
            DialogOwner(), BoxKind::Confirm,
            tr("A decrypted copy of %1 was left behind when TaZEN last ended:\n\r%2\n\rYes saves it back into the "
               "encrypted file, No discards it (overwritten, then removed), Cancel leaves it for the next start.")
                .arg(encrypted, FileNameText(copy.copy)),
            BoxButtons::YesNoCancel);
        if (answer == BoxAnswer::Yes) {
            Secret password;
            if (!AskPassword(tr("Enter password"), password))
                continue;
            QuietRunEvents events;
            std::string message;
            const auto saved = [&] {
                const WaitCursor wait;
                return SaveLeftBehind(copy, password, events, message);
            }();
            if (saved != SaveResult::Saved)
                interaction_.MessageBox(DialogOwner(), BoxKind::Error, QString::fromStdString(message));
        } else if (answer == BoxAnswer::No) {
            if (const ErrorCode error = DiscardLeftBehind(copy))
                interaction_.MessageBox(
                    DialogOwner(), BoxKind::Error,
                    tr("Could not remove %1: %2")
                        .arg(FileNameText(copy.folder), QString::fromStdString(platform::ErrorText(error))));
        }
    }
}

void TForm1::TaZENHjlp1Click()
{
    OpenHelpFile(interaction_, this);
}

// The start: the single-instance rule, the hand-over from a second start, and the command line.

void TForm1::FormCreate(const std::vector<std::string>& arguments)
{
    FormCreate(arguments, StartInstance(arguments));
}

void TForm1::FormCreate(const std::vector<std::string>& arguments, InstanceStart start)
{
    const Hold hold(handOvers_);
    // Declared after the hold, so it ends first and what the hold lets through is answered as listed.
    const HandOverQueue::StartingUp startingUp(handOvers_);
    if (start.handedOverWith) {
        // So that a lookup by the title can never find this instance's application.
        QCoreApplication::setApplicationName(QStringLiteral("NotMyAppTitle"));
        EndProgram(*start.handedOverWith);
        return;
    }
    const bool alone = !start.lock;
    if (!alone) {
        instanceLock_ = std::move(start.lock);
        becomeRunningInstance(std::move(start.listener));
    }
    // Dropped files are accepted from the moment the window exists; the title prefix is set with it.
    LoadGeometry();
    if (arguments.empty())
        statusBar1_->setText(tr("Select \"Encrypt/Decrypt\" from the \"File\" menu or \"drag and drop\" "
                                "files directly on the application."));
    else
        HandleCommandLine(arguments);
    // Said once: the next change of the list writes the status line anew.
    if (alone) {
        const QString note = tr("TaZEN runs alone: a second start cannot hand its files to this window.");
        const QString shown = statusBar1_->text();
        statusBar1_->setText(shown.isEmpty() ? note : shown + QLatin1Char(' ') + note);
    }
}

void TForm1::CreateDialogs()
{
    auto* passwordDlg = new TPasswordDlg(this);
    auto* progressDialog = new TProgressDialog(this);
    auto* settingsDialog = new TSettingsDialog(interaction_, this);
    auto* aboutBox = new TAboutBox(interaction_, this);
    auto* shredDialog = new TshredDialog(this);
    AttachDialogs({passwordDlg, progressDialog, settingsDialog, aboutBox, shredDialog});
}

void TForm1::becomeRunningInstance(platform::EndpointListener listener)
{
    if (listener.Handle() < 0)
        return;
    endpoint_ = std::make_unique<HandOverEndpoint>(
        [this](const platform::WindowMessage& message, const HandOverEndpoint::Reply& reply) {
            WMCopyData(message, reply);
        });
    endpoint_->Serve(std::move(listener));
}

void TForm1::WMCopyData(const platform::WindowMessage& message, const HandOverEndpoint::Reply& reply)
{
    if (message.message == platform::kMessageBringToFront) {
        BringToFront(platform::CopyDataText(message));
        return reply(1);
    }
    const bool plain = message.message == platform::kMessageCopyData;
    const bool encrypt = message.message == platform::kMessageHandOverEncrypt;
    const bool open = message.message == platform::kMessageHandOverOpen;
    if (!(plain || encrypt || open || message.message == platform::kMessageHandOverDecrypt) ||
        message.dwData != platform::kHandOverMarker)
        return reply(0);
    const std::string name = platform::CopyDataText(message);
    // The sender made its name absolute; a relative one could only be resolved against the wrong folder.
    if (name.empty() || name.front() != '/')
        return reply(0);
    handOvers_.HandOver(
        [this, name, plain, encrypt, open] {
            if (open)
                OpenEncrypted(name);
            else if (plain)
                listGiven(name);
            else
                AddInMode(encrypt, {name});
        },
        reply);
}

void TForm1::BringToFront(const std::string& activationToken)
{
    if (!isVisible())
        return;
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    // A Wayland compositor lets a window come forward only with a token from the start that asked for it;
    // Qt's Wayland shell takes the token from this variable when the window asks to be activated.
    if (!activationToken.empty() && QGuiApplication::platformName() == QLatin1String("wayland"))
        qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(activationToken));
    activateWindow();
}

void TForm1::HandleCommandLine(const std::vector<std::string>& arguments)
{
    const std::string& first = arguments.front();
    if (first == kSwitchOpenFile) {
        statusBar1_->setText(tr("Select \"Encrypt/Decrypt\" from the \"File\" menu or \"drag and drop\" "
                                "files directly on the application."));
        // The password dialog exists once the window does; the file is opened from the event loop.
        const std::vector<std::string> names = NamesToHandOver(arguments);
        if (!names.empty())
            QTimer::singleShot(0, this, [this, name = names.front()] { OpenEncrypted(name); });
        return;
    }
    if (IsModeSwitch(first))
        return AddInMode(first == kSwitchEncryptFiles, NamesToHandOver(arguments));
    if (!IsFolderSwitch(first)) {
        const std::string name = platform::AbsoluteName(first);
        if (!platform::ExistsAsFolder(name))
            IsEncryptedName(name) ? SetDecryptMode(true) : SetEncryptMode(true);
        return listGiven(name);
    }
    const std::string folder = arguments.size() > 1 ? platform::AbsoluteName(arguments[1]) : std::string();
    if (folder.empty() || !platform::ExistsAsFolder(folder)) {
        interaction_.MessageBox(DialogOwner(), BoxKind::Information, tr("Operation only allowed on folders."));
        return EndProgram(0);
    }
    const std::optional<bool> recursive = AskIncludeSubFolders(*this, folder);
    if (!recursive)
        return EndProgram(0);
    if (first == kSwitchDecrypt)
        AddFolderForDecryption(*this, folder, *recursive);
    else
        AddFolderForEncryption(*this, folder, *recursive);
}

// The place and size the settings file keeps, fitted to the window manager's frame.

void TForm1::LoadGeometry()
{
    const QRect frame = LoadFrame();
    move(frame.topLeft());
    resize(frame.size());
    // The frame's width is known only once the window is shown; the size is then made to fit in it.
    frameToFit_ = frame;
}

QRect TForm1::FrameBounds() const
{
    return OuterBounds(*this);
}

void TForm1::SaveGeometry()
{
    SaveFrame(FrameBounds());
}

void TForm1::fitFrame()
{
    if (!frameToFit_ || !isVisible())
        return;
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    if (frame == inner)
        return; // the window manager has not framed the window yet
    const QSize decoration = frame.size() - inner.size();
    const QRect wanted = *frameToFit_;
    frameToFit_.reset();
    resize(wanted.size() - decoration);
    move(wanted.topLeft());
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    fitFrame();
}

void TForm1::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    fitFrame();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    fitFrame();
}

} // namespace tazen
