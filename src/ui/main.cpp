// The main window: the file list, its modes and the commands that act on it.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main.h"

#include "engine/fileformat.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "ui/dialogs/progressDlg.h"
#include "ui/icons.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSizeGrip>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace tazen {

namespace {

const QString kAllFilesFilter = QStringLiteral("All files (*.*)|*.*");
const QString kEncryptedFilesFilter = QStringLiteral("Encrypted files (*.TaZEN)|*.TaZEN");
constexpr int kFixedColumnWidth = 100;
const QString kUnencrypted = QStringLiteral("Unencrypted");
// What the Status column may say; it is made wide enough for the widest of them.
const QString kStatusTexts[] = {kUnencrypted, QStringLiteral("Encrypted"), QStringLiteral("encrypted")};

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

// The file's length in whole KB, or unknownText when it cannot be opened for reading and writing.
QString sizeText(const std::string& name, const QString& unknownText)
{
    std::int64_t size = 0;
    if (platform::SizeForReadWrite(name, size) != 0)
        return unknownText;
    return QString::number(size / 1024) + QStringLiteral(" KB");
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
    QMenu* arkiv1 = menuBar()->addMenu(QStringLiteral("&File"));
    arkiv1->setObjectName(QStringLiteral("Arkiv1"));
    kryptera1_ = arkiv1->addAction(QStringLiteral("&Encrypt"), this, &TForm1::kryptera1Click);
    kryptera1_->setObjectName(QStringLiteral("kryptera1"));
    kryptera1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    kryptera1_->setCheckable(true);
    dekryptera1_ = arkiv1->addAction(QStringLiteral("&Decrypt"), this, &TForm1::Dekryptera1Click);
    dekryptera1_->setObjectName(QStringLiteral("Dekryptera1"));
    dekryptera1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    dekryptera1_->setCheckable(true);
    arkiv1->addSeparator();
    avsluta1_ = arkiv1->addAction(QStringLiteral("&Exit"), this, &TForm1::Avsluta1Click);
    avsluta1_->setObjectName(QStringLiteral("Avsluta1"));
    avsluta1_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));

    QMenu* hjlp1 = menuBar()->addMenu(QStringLiteral("&Help"));
    hjlp1->setObjectName(QStringLiteral("Hjlp1"));
    tazenHjlp1_ = hjlp1->addAction(QStringLiteral("&TaZEN Help"), this, &TForm1::TaZENHjlp1Click);
    tazenHjlp1_->setObjectName(QStringLiteral("TaZENHjlp1"));
    hjlp1->addSeparator();
    om1_ = hjlp1->addAction(QStringLiteral("&About..."), this, &TForm1::Om1Click);
    om1_->setObjectName(QStringLiteral("Om1"));
}

void TForm1::createToolBar()
{
    // The title names the bar to a screen reader.
    QToolBar* toolBar = addToolBar(QStringLiteral("Commands"));
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    // The button that shows the commands a narrow window has no room for.
    if (auto* more = toolBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More commands"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->toggleViewAction()->setEnabled(false);
    toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    const auto button = [&](const char* name, const char* caption, const char* hint, Glyph glyph,
                            void (TForm1::*handler)()) {
        auto* created = new QToolButton(toolBar);
        created->setObjectName(QLatin1String(name));
        created->setText(QString::fromUtf8(caption));
        created->setToolTip(QString::fromUtf8(hint));
        created->setIcon(GlyphIcon(glyph));
        created->setIconSize(QSize(32, 32));
        created->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        created->setAutoRaise(true);
        created->setMinimumWidth(64);
        toolBar->addWidget(created);
        connect(created, &QToolButton::clicked, this, handler);
        return created;
    };
    btnAdd_ =
        button("btnAdd", "&Add", "Lägg till filer för kryptering eller dekryptering", Glyph::Add, &TForm1::btnAddClick);
    btnRemove_ = button("btnRemove", "&Remove", "Ta bort markerade filer", Glyph::Remove, &TForm1::btnRemoveClick);
    btnEncrypt_ = button("btnEncrypt", "&Encrypt", "Kryptera valda filer", Glyph::Encrypt, &TForm1::btnEncryptClick);
    btnDecrypt_ = button("btnDecrypt", "&Decrypt", "Dekryptera valda filer", Glyph::Decrypt, &TForm1::btnDecryptClick);
    btnSettings_ =
        button("btnSettings", "&Settings", "Ändra inställningar", Glyph::Settings, &TForm1::btnSettingsClick);
    btnEncrypt_->setEnabled(false);
    btnDecrypt_->setEnabled(false);
}

void TForm1::createList()
{
    lstVfiles_ = new QTreeView(this);
    lstVfiles_->setObjectName(QStringLiteral("lstVfiles"));
    lstVfiles_->setAccessibleName(QStringLiteral("Files"));
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
    header->resizeSection(TFileListModel::ColumnSize, kFixedColumnWidth);
    fitStatusColumn();
    setCentralWidget(lstVfiles_);

    popupMenu1_ = new QMenu(this);
    popupMenu1_->setObjectName(QStringLiteral("PopupMenu1"));
    abort1_ = popupMenu1_->addAction(QStringLiteral("Remove"), this, &TForm1::abort1Click);
    abort1_->setObjectName(QStringLiteral("abort1"));
    lstVfiles_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstVfiles_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { popupMenu1_->popup(lstVfiles_->viewport()->mapToGlobal(position)); });
    lstVfiles_->installEventFilter(this);
}

void TForm1::fitStatusColumn()
{
    // The margins the item delegate keeps on either side of a cell's text.
    const int margins = 2 * (lstVfiles_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lstVfiles_) + 1);
    const QFontMetrics metrics = lstVfiles_->fontMetrics();
    int width = kFixedColumnWidth;
    for (const QString& text : kStatusTexts)
        width = std::max(width, metrics.horizontalAdvance(text) + margins);
    lstVfiles_->header()->resizeSection(TFileListModel::ColumnStatus, width);
}

void TForm1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (lstVfiles_ && (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange))
        fitStatusColumn();
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
    return *mode_ == Direction::Encrypt ? QStringLiteral("Encrypt") : QStringLiteral("Decrypt");
}

void TForm1::switchMode(bool encrypt, bool clearList)
{
    if (clearList)
        files_->Clear();
    kryptera1_->setChecked(encrypt);
    dekryptera1_->setChecked(!encrypt);
    mode_ = encrypt ? Direction::Encrypt : Direction::Decrypt;
    setWindowTitle(titlePrefix_ + ModeName());
    modeWord_ = encrypt ? QStringLiteral("encryption") : QStringLiteral("decryption");
    openFilter_ = encrypt ? kAllFilesFilter : kEncryptedFilesFilter;
    btnEncrypt_->setEnabled(encrypt && !running_);
    btnDecrypt_->setEnabled(!encrypt && !running_);
}

void TForm1::AddDialogFiles(const std::vector<std::string>& names)
{
    addBatch(names, QStringLiteral("Unknown"), QStringLiteral("Encrypted"));
}

void TForm1::AddFileList(const std::vector<std::string>& names)
{
    addBatch(names, QStringLiteral("Okänd"), QStringLiteral("encrypted"));
}

void TForm1::addBatch(const std::vector<std::string>& names, const QString& unknownSize, const QString& encryptedStatus)
{
    std::optional<QString> lastRepeated;
    {
        // A hand-over arriving while an " already choosen." box is open waits until the rest of the batch is in.
        const Hold hold(*this);
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string& name = names[i];
            if (IsListed(name)) {
                const QString text = FileNameText(name) + QStringLiteral(" already choosen.");
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
            files_->Stage({name, caption, sizeText(name, unknownSize),
                           HasEncryptedExtension(name) ? encryptedStatus : kUnencrypted});
        }
        files_->ShowStaged();
        UpdateStatusLine();
    }
    if (lastRepeated)
        tellWithoutHolding(*lastRepeated);
}

void TForm1::tellWithoutHolding(const QString& text)
{
    // Nothing of the batch is left to keep in order: what waits is listed first, and what comes while the box
    // is open is listed at once, as though the box were not there.
    const bool wasRunningHeld = std::exchange(runningHeld_, false);
    runHeld();
    interaction_.MessageBox(this, BoxKind::Information, text);
    runningHeld_ = wasRunningHeld;
}

void TForm1::UpdateStatusLine()
{
    const int count = files_->Count();
    if (count == 0)
        statusBar1_->clear();
    else if (count == 1)
        statusBar1_->setText(QStringLiteral("One file choosen for ") + modeWord_);
    else
        statusBar1_->setText(QString::number(count) + QStringLiteral(" files choosen for ") + modeWord_);
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

void TForm1::btnAddClick()
{
    if (!kryptera1_->isChecked() && !dekryptera1_->isChecked()) {
        interaction_.MessageBox(this, BoxKind::Information,
                                QStringLiteral("You must first select \"Encrypt/Decrypt\" from the \"File\" menu."));
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
        interaction_.MessageBox(this, BoxKind::Information, QStringLiteral("There are no files to remove."));
    else if (!lstVfiles_->selectionModel()->hasSelection())
        interaction_.MessageBox(this, BoxKind::Information, QStringLiteral("Select the files you want to remove."));
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
    std::vector<std::string> kept;
    bool anyEncrypted = false;
    bool anyOther = false;
    for (const std::string& name : names) {
        if (!platform::ExistsAsFile(name))
            continue;
        kept.push_back(name);
        (HasEncryptedExtensionIgnoringCase(name) ? anyEncrypted : anyOther) = true;
    }
    if (anyOther)
        SetEncryptMode(mode_ != Direction::Encrypt);
    else if (anyEncrypted)
        SetDecryptMode(mode_ != Direction::Decrypt);
    AddFileList(kept);
}

void TForm1::WhenIdle(std::function<void()> action)
{
    // Behind what waits already, so nothing overtakes it.
    if (busy() || runningHeld_ || !held_.empty())
        held_.push_back(std::move(action));
    else
        action();
}

void TForm1::runHeld()
{
    // A program that ends before its window shows, or a window closing, takes nothing more in. An action
    // that holds the list and lets it go again comes back here; the loop below goes on in order instead.
    if (runningHeld_)
        return;
    runningHeld_ = true;
    while (!held_.empty() && !busy() && !endedWith_ && !closeRequested_) {
        const std::function<void()> action = std::move(held_.front());
        held_.pop_front();
        action();
    }
    runningHeld_ = false;
}

void TForm1::dropHeld()
{
    held_.clear();
    namesWaiting_ = 0;
}

void TForm1::setCommandsEnabled(bool enabled)
{
    for (QWidget* control :
         {static_cast<QWidget*>(btnAdd_), static_cast<QWidget*>(btnRemove_), static_cast<QWidget*>(btnSettings_)})
        control->setEnabled(enabled);
    for (QAction* action : {kryptera1_, dekryptera1_, abort1_})
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
    SaveGeometry();
    event->accept();
    emit Closed();
}

} // namespace tazen
