// The settings dialog: the algorithm lists, self-extracting files and what becomes of the source files,
// loaded from and saved to the settings file; while there is no settings file its controls are the settings.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"
#include "ui/interaction.h"

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>

#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tazen {

// A framed group of radio buttons, one of which (or none) is the chosen item.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent);

    // -1 when no button is selected.
    int ItemIndex() const;
    // Below -1 counts as -1 (no button selected), past the last item as the last item.
    void SetItemIndex(int index);

    int Count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton& Item(int index) const { return *buttons_.at(static_cast<std::size_t>(index)); }

private:
    QButtonGroup group_;
    std::vector<QRadioButton*> buttons_;
};

class TSettingsDialog : public QDialog, public SettingsControlsPort
{
    Q_OBJECT

public:
    explicit TSettingsDialog(Interaction& interaction, QWidget* parent = nullptr);

    // Loads the controls from the settings file (or sets the state for no file), shows the dialog modally
    // and, on OK, writes the five Files keys and the recipient's system; a failed write is reported as an
    // application error.
    void Execute();

    bool SelfExtractChecked() const override;
    int SourceFilesIndex() const override;
    RecipientSystem RecipientSystemChosen() const override;

    QFrame& Bevel1() const { return *Bevel1_; }
    QLabel& Label1() const { return *Label1_; }
    QComboBox& cbxFileAlgorithm() const { return *cbxFileAlgorithm_; }
    QLabel& Label2() const { return *Label2_; }
    QComboBox& cbxPassAlgorithm() const { return *cbxPassAlgorithm_; }
    QCheckBox& chbxCompress() const { return *chbxCompress_; }
    QCheckBox& chbxSelfExtract() const { return *chbxSelfExtract_; }
    // The recipient's system, Windows or Linux, beside chbxSelfExtract and usable only while it is ticked.
    QLabel& lblRecipientSystem() const { return *lblRecipientSystem_; }
    QComboBox& cbxRecipientSystem() const { return *cbxRecipientSystem_; }
    TRadioGroup& rgSrcFiles() const { return *rgSrcFiles_; }
    QPushButton& btnOk() const { return *btnOk_; }
    QPushButton& btnCancel() const { return *btnCancel_; }

    // A change the user made to a list's selection or text: this version knows one entry of each.
    void cbxFileAlgorithmChange();
    void cbxPassAlgorithmChange();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The signals of the lists and buttons, and the order Tab goes through the controls.
    void connectControls();
    // The recipient's system matters only for executables.
    void showRecipientSystemUsable();
    void placeControls();
    // The radio group spreads its buttons evenly below its caption, as the form's group does; the group's size.
    QSize placeSourceFileButtons();
    void refuseOtherAlgorithm(QComboBox& list, const QString& message);
    // Selects the list's first entry without that counting as the user's change.
    void selectFirst(QComboBox& list);

    Interaction& interaction_;
    // Set while the program itself changes a list, so only the user's changes bring up the message.
    bool selectingFromProgram_ = false;

    QFrame* Bevel1_;
    QLabel* Label1_;
    QComboBox* cbxFileAlgorithm_;
    QLabel* Label2_;
    QComboBox* cbxPassAlgorithm_;
    QCheckBox* chbxCompress_;
    QCheckBox* chbxSelfExtract_;
    QLabel* lblRecipientSystem_;
    QComboBox* cbxRecipientSystem_;
    TRadioGroup* rgSrcFiles_;
    QPushButton* btnOk_;
    QPushButton* btnCancel_;
};

} // namespace tazen
