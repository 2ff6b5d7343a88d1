// The settings dialog: the algorithm lists, self-extracting files and what becomes of the source files,
// loaded from and saved to the settings file; while there is no settings file its controls are the settings.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settingsDlg.h"

#include "engine/settings.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/settingsfolder.h"
#include "ui/dialogs/fixeddialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace tazen {

const QString kFileAlgorithmMessage =
    QStringLiteral("Denna version utav TaZEN är begränsad till Blowfish för filkryptering.\n\r"
                   "Den färdiga versionen kommer att innehålla de listade algoritmerna.\n\r"
                   "Håll utkik efter en uppdatering!");
const QString kPassAlgorithmMessage =
    QStringLiteral("Denna version utav TaZEN är begränsad till SHA-1 för lösenordskryptering.\n\r"
                   "Den färdiga versionen kommer att innehålla de listade algoritmerna.\n\r"
                   "Håll utkik efter en uppdatering!");

namespace {

// Item indexes of rgSrcFiles.
constexpr int kSourceFilesDelete = 1;
// Item indexes of cbxRecipientSystem, in the order of RecipientSystem.
constexpr int kRecipientWindows = 0;
constexpr int kRecipientLinux = 1;

int recipientIndex(RecipientSystem system)
{
    return system == RecipientSystem::Linux ? kRecipientLinux : kRecipientWindows;
}

QComboBox* makeList(const QString& name, const QStringList& items, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(true);
    list->addItems(items);
    // Typed text is a change to refuse, never a new entry, and no completion runs ahead of the refusal.
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    return list;
}

template <typename Control> Control* named(Control* control, const QString& name)
{
    control->setObjectName(name);
    return control;
}

} // namespace

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent) : QGroupBox(caption, parent)
{
    group_.setExclusive(true);
    for (const QString& item : items) {
        auto* button = new QRadioButton(item, this);
        group_.addButton(button, static_cast<int>(buttons_.size()));
        buttons_.push_back(button);
    }
}

int TRadioGroup::ItemIndex() const
{
    return group_.checkedId();
}

void TRadioGroup::SetItemIndex(int index)
{
    index = std::clamp(index, -1, Count() - 1);
    if (index >= 0) {
        buttons_[static_cast<std::size_t>(index)]->setChecked(true);
        return;
    }
    // An exclusive group never lets its last checked button go.
    group_.setExclusive(false);
    for (QRadioButton* button : buttons_)
        button->setChecked(false);
    group_.setExclusive(true);
}

TSettingsDialog::TSettingsDialog(Interaction& interaction, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint),
      interaction_(interaction)
{
    setWindowTitle(QStringLiteral("Settings"));

    // Made first, so it lies beneath the controls it frames.
    Bevel1_ = named(new QFrame(this), QStringLiteral("Bevel1"));
    Bevel1_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Label1_ = named(new QLabel(QStringLiteral("File encryption algorithm:"), this), QStringLiteral("Label1"));
    cbxFileAlgorithm_ = makeList(QStringLiteral("cbxFileAlgorithm"),
                                 {QStringLiteral("Blowfish"), QStringLiteral("Cast 128"), QStringLiteral("GOST"),
                                  QStringLiteral("IDEA"), QStringLiteral("Misty 1"), QStringLiteral("RC2"),
                                  QStringLiteral("Rijndael"), QStringLiteral("Twofish")},
                                 this);
    Label2_ = named(new QLabel(QStringLiteral("Password hash algotihm"), this), QStringLiteral("Label2"));
    cbxPassAlgorithm_ =
        makeList(QStringLiteral("cbxPassAlgorithm"),
                 {QStringLiteral("SHA-1"), QStringLiteral("Haval"), QStringLiteral("RipeMD-160")}, this);
    chbxCompress_ = named(new QCheckBox(QStringLiteral("Compress files before encryption (version 1.0)."), this),
                          QStringLiteral("chbxCompress"));
    chbxCompress_->setEnabled(false);
    chbxSelfExtract_ = named(new QCheckBox(QStringLiteral("Make encrypted files executable."), this),
                             QStringLiteral("chbxSelfExtract"));
    lblRecipientSystem_ =
        named(new QLabel(QStringLiteral("Recipient's system:"), this), QStringLiteral("lblRecipientSystem"));
    cbxRecipientSystem_ = named(new QComboBox(this), QStringLiteral("cbxRecipientSystem"));
    cbxRecipientSystem_->addItems({QStringLiteral("Windows"), QStringLiteral("Linux")});
    cbxRecipientSystem_->setAccessibleName(QStringLiteral("Recipient's system"));
    cbxRecipientSystem_->setAccessibleDescription(
        QStringLiteral("The system the self-extracting executable is made to run on"));
    rgSrcFiles_ = named(new TRadioGroup(QStringLiteral(" What to do with source files after encryption "),
                                        {QStringLiteral("Leave unchanged."), QStringLiteral("Delete."),
                                         QStringLiteral("Shred before delete (Gutman pass-35).")},
                                        this),
                        QStringLiteral("rgSrcFiles"));
    btnOk_ = named(new QPushButton(QStringLiteral("&OK"), this), QStringLiteral("btnOk"));
    btnOk_->setDefault(true);
    btnCancel_ = named(new QPushButton(QStringLiteral("&Cancel"), this), QStringLiteral("btnCancel"));

    // The form shows neither list with a selection until the dialog is first opened.
    selectingFromProgram_ = true;
    cbxFileAlgorithm_->setCurrentIndex(-1);
    cbxPassAlgorithm_->setCurrentIndex(-1);
    selectingFromProgram_ = false;
    rgSrcFiles_->SetItemIndex(kSourceFilesDelete);

    // Each list is tied to its label, which a screen reader gives as what the list is for.
    Label1_->setBuddy(cbxFileAlgorithm_);
    Label2_->setBuddy(cbxPassAlgorithm_);
    lblRecipientSystem_->setBuddy(cbxRecipientSystem_);
    showRecipientSystemUsable();

    connectControls();
    placeControls();
}

// The form's pixel positions at this system's font: a control whose text needs more room grows, the lists
// move right when a label is wider than the room left of them, what lies below moves down by as much as
// the rows above grew, and the bevel and the client area grow around it all.
void TSettingsDialog::connectControls()
{
    // A new selection from the list, Enter on a typed entry's name, and every keystroke in the text field;
    // QDialog's own Esc and close box reject.
    connect(cbxFileAlgorithm_, &QComboBox::currentIndexChanged, this, &TSettingsDialog::cbxFileAlgorithmChange);
    connect(cbxFileAlgorithm_->lineEdit(), &QLineEdit::textEdited, this, &TSettingsDialog::cbxFileAlgorithmChange);
    connect(cbxPassAlgorithm_, &QComboBox::currentIndexChanged, this, &TSettingsDialog::cbxPassAlgorithmChange);
    connect(cbxPassAlgorithm_->lineEdit(), &QLineEdit::textEdited, this, &TSettingsDialog::cbxPassAlgorithmChange);
    connect(chbxSelfExtract_, &QCheckBox::toggled, this, &TSettingsDialog::showRecipientSystemUsable);
    connect(btnOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(btnOk_, btnCancel_);
    setTabOrder(btnCancel_, cbxFileAlgorithm_);
    setTabOrder(cbxFileAlgorithm_, cbxPassAlgorithm_);
    setTabOrder(cbxPassAlgorithm_, chbxCompress_);
    QWidget* previous = chbxCompress_;
    for (int i = 0; i < rgSrcFiles_->Count(); ++i) {
        setTabOrder(previous, &rgSrcFiles_->Item(i));
        previous = &rgSrcFiles_->Item(i);
    }
    setTabOrder(previous, chbxSelfExtract_);
    setTabOrder(chbxSelfExtract_, cbxRecipientSystem_);
}

void TSettingsDialog::showRecipientSystemUsable()
{
    lblRecipientSystem_->setEnabled(chbxSelfExtract_->isChecked());
    cbxRecipientSystem_->setEnabled(chbxSelfExtract_->isChecked());
}

QSize TSettingsDialog::placeSourceFileButtons()
{
    const QMargins inside = rgSrcFiles_->contentsMargins();
    int buttonHeight = 0;
    // The group's least size is its title's, which a larger font would otherwise cut.
    int groupWidth = rgSrcFiles_->minimumSizeHint().width();
    for (int i = 0; i < rgSrcFiles_->Count(); ++i) {
        const QSize hint = rgSrcFiles_->Item(i).sizeHint();
        buttonHeight = std::max(buttonHeight, hint.height());
        groupWidth = std::max(groupWidth, inside.left() + 8 + hint.width() + inside.right() + 8);
    }
    const int pitch = std::max(buttonHeight, (81 - inside.top() - inside.bottom()) / rgSrcFiles_->Count());
    const QSize groupSize(std::max(286, groupWidth),
                          std::max(81, inside.top() + pitch * rgSrcFiles_->Count() + inside.bottom()));
    for (int i = 0; i < rgSrcFiles_->Count(); ++i)
        rgSrcFiles_->Item(i).setGeometry(inside.left() + 8, inside.top() + i * pitch + (pitch - buttonHeight) / 2,
                                         groupSize.width() - inside.left() - inside.right() - 16, buttonHeight);
    return groupSize;
}

void TSettingsDialog::placeControls()
{
    constexpr int kDrawnListHeight = 21;
    constexpr int kDrawnCheckHeight = 17;
    constexpr int kLabelGap = 8;

    const int labelWidth = std::max(Label1_->sizeHint().width(), Label2_->sizeHint().width());
    const int listLeft = std::max(160, 20 + labelWidth + kLabelGap);
    const int listWidth = std::max({145, cbxFileAlgorithm_->sizeHint().width(), cbxPassAlgorithm_->sizeHint().width()});
    int pushedDown = 0;
    int rightmost = 0;

    // A label and its list share a row, the label centred on the list as drawn.
    auto placeRow = [&](QLabel* label, QComboBox* list, int drawnTop) {
        const int listHeight = list->sizeHint().height();
        const int labelHeight = label->sizeHint().height();
        const int rowHeight = std::max({kDrawnListHeight, listHeight, labelHeight});
        const int top = drawnTop + pushedDown;
        list->setGeometry(listLeft, top + (rowHeight - listHeight) / 2, listWidth, listHeight);
        label->setGeometry(20, top + (rowHeight - labelHeight) / 2, label->sizeHint().width(), labelHeight);
        rightmost = std::max(rightmost, listLeft + listWidth);
        pushedDown += rowHeight - kDrawnListHeight;
    };
    auto placeBelow = [&](QWidget* control, int drawnTop, QSize drawn) {
        const QSize size = drawn.expandedTo(control->sizeHint());
        control->setGeometry(20, drawnTop + pushedDown, size.width(), size.height());
        rightmost = std::max(rightmost, 20 + size.width());
        pushedDown += size.height() - drawn.height();
    };

    placeRow(Label1_, cbxFileAlgorithm_, 18);
    placeRow(Label2_, cbxPassAlgorithm_, 66);
    placeBelow(chbxCompress_, 102, {293, kDrawnCheckHeight});
    placeBelow(chbxSelfExtract_, 126, {285, kDrawnCheckHeight});
    // The recipient's choice, a row of its own under the check box it belongs to, indented as its part; the
    // radio group moves down by the row.
    {
        constexpr int kIndent = 38;
        constexpr int kDrawnTop = 147;
        constexpr int kGapBelow = 8;
        const int listHeight = cbxRecipientSystem_->sizeHint().height();
        const int labelHeight = lblRecipientSystem_->sizeHint().height();
        const int labelWidth = lblRecipientSystem_->sizeHint().width();
        const int rowHeight = std::max({kDrawnListHeight, listHeight, labelHeight});
        const int top = kDrawnTop + pushedDown;
        const int left = std::max(listLeft, kIndent + labelWidth + kLabelGap);
        const int width = std::max(listWidth, cbxRecipientSystem_->sizeHint().width());
        lblRecipientSystem_->setGeometry(kIndent, top + (rowHeight - labelHeight) / 2, labelWidth, labelHeight);
        cbxRecipientSystem_->setGeometry(left, top + (rowHeight - listHeight) / 2, width, listHeight);
        rightmost = std::max(rightmost, left + width);
        pushedDown += kDrawnTop + rowHeight + kGapBelow - 160;
    }

    const QSize groupSize = placeSourceFileButtons();
    placeBelow(rgSrcFiles_, 160, groupSize);

    const int bevelRight = std::max(8 + 313, rightmost + 15);
    const int bevelBottom = rgSrcFiles_->geometry().bottom() + 1 + 8;
    Bevel1_->setGeometry(8, 8, bevelRight - 8, bevelBottom - 8);

    // The buttons keep their distance below the bevel and their right edge under its right edge.
    const QSize okSize = QSize(75, 25).expandedTo(btnOk_->sizeHint());
    const QSize cancelSize = QSize(75, 25).expandedTo(btnCancel_->sizeHint());
    const int buttonTop = bevelBottom + 11;
    const int cancelLeft = bevelRight - 2 - cancelSize.width();
    btnCancel_->setGeometry(cancelLeft, buttonTop, cancelSize.width(), cancelSize.height());
    btnOk_->setGeometry(cancelLeft - 9 - okSize.width(), buttonTop, okSize.width(), okSize.height());

    const int buttonsBottom = buttonTop + std::max(okSize.height(), cancelSize.height());
    setFixedSize(std::max(328, bevelRight + 7), std::max(295, buttonsBottom + 10));
}

void TSettingsDialog::Execute()
{
    const std::string path = SettingsFilePath();
    selectFirst(*cbxFileAlgorithm_);
    selectFirst(*cbxPassAlgorithm_);
    if (platform::ExistsAsFile(path)) {
        const platform::TIniFile settings(path);
        chbxCompress_->setChecked(settings.ReadBool(kSectionFiles, kKeyCompressFiles, false));
        chbxSelfExtract_->setChecked(settings.ReadBool(kSectionFiles, kKeyMakeSelfExtracting, false));
        rgSrcFiles_->SetItemIndex(settings.ReadInteger(kSectionFiles, kKeySourceFiles, kSourceFilesDefaultInDialog));
        cbxRecipientSystem_->setCurrentIndex(
            recipientIndex(RecipientSystemOf(settings.ReadString(kSectionFiles, kKeyRecipientSystem, {}))));
    } else {
        chbxCompress_->setChecked(false);
        chbxSelfExtract_->setChecked(false);
        rgSrcFiles_->SetItemIndex(kSourceFilesDelete);
        cbxRecipientSystem_->setCurrentIndex(kRecipientWindows);
    }

    // OK comes first in the tab order; in a text field any key would bring up the algorithm message.
    btnOk_->setFocus(Qt::OtherFocusReason);
    if (interaction_.ShowModal(*this) != QDialog::Accepted)
        return;

    // The user's configuration folder may not exist yet; if it cannot be made, the write says so.
    static_cast<void>(platform::MakeSettingsFolder());
    platform::TIniFile settings(path);
    // The first write that fails stops the rest.
    platform::ErrorCode error =
        settings.WriteInteger(kSectionFiles, kKeyFileAlgorithm, cbxFileAlgorithm_->currentIndex());
    if (error == 0)
        error = settings.WriteInteger(kSectionFiles, kKeyPassAlgorithm, cbxPassAlgorithm_->currentIndex());
    if (error == 0)
        error = settings.WriteBool(kSectionFiles, kKeyCompressFiles, chbxCompress_->isChecked());
    if (error == 0)
        error = settings.WriteBool(kSectionFiles, kKeyMakeSelfExtracting, chbxSelfExtract_->isChecked());
    if (error == 0)
        error = settings.WriteInteger(kSectionFiles, kKeySourceFiles, rgSrcFiles_->ItemIndex());
    // After the five keys the Windows program writes, which keep their order and their values.
    if (error == 0)
        error = settings.WriteString(kSectionFiles, kKeyRecipientSystem, RecipientSystemName(RecipientSystemChosen()));
    if (error != 0)
        interaction_.MessageBox(this, BoxKind::ApplicationError,
                                QString::fromUtf8(platform::IniWriteErrorText(settings.FileName())));
}

bool TSettingsDialog::SelfExtractChecked() const
{
    return chbxSelfExtract_->isChecked();
}

RecipientSystem TSettingsDialog::RecipientSystemChosen() const
{
    return cbxRecipientSystem_->currentIndex() == kRecipientLinux ? RecipientSystem::Linux : RecipientSystem::Windows;
}

int TSettingsDialog::SourceFilesIndex() const
{
    return rgSrcFiles_->ItemIndex();
}

void TSettingsDialog::cbxFileAlgorithmChange()
{
    refuseOtherAlgorithm(*cbxFileAlgorithm_, kFileAlgorithmMessage);
}

void TSettingsDialog::cbxPassAlgorithmChange()
{
    refuseOtherAlgorithm(*cbxPassAlgorithm_, kPassAlgorithmMessage);
}

void TSettingsDialog::refuseOtherAlgorithm(QComboBox& list, const QString& message)
{
    if (selectingFromProgram_)
        return;
    interaction_.MessageBox(this, BoxKind::Information, message, BoxButtons::Ok);
    selectFirst(list);
}

void TSettingsDialog::selectFirst(QComboBox& list)
{
    selectingFromProgram_ = true;
    // Also puts the entry's text back over typed text, which left the index at 0.
    list.setCurrentIndex(0);
    selectingFromProgram_ = false;
}

void TSettingsDialog::showEvent(QShowEvent* event)
{
    centreOnScreen(*this);
    QDialog::showEvent(event);
}

} // namespace tazen
