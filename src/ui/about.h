// The about box, which names the product and reports the system and its memory, and the help command.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/interaction.h"

#include <QDialog>
#include <QLabel>

#include <cstdint>

class QPushButton;

namespace tazen {

inline constexpr const char* kFeedbackAddress = "tazen@codeberg.org";
inline constexpr const char* kUpdatesAddress = "https://codeberg.org/tazen/tazen/releases";
inline constexpr const char* kHelpFileName = "help_en.html";

// What lblVersion says: "Version 0.9 English".
QString ProductVersionText();

// A size in KB as the about box writes it: one space before the last three digits ("524 288 KB"), or in
// front of a number of three digits or fewer (" 512 KB").
QString MemoryText(std::uint64_t kilobytes);

// The help file beside the program in the first of the interface languages that has one (help_de.html for
// German), or help_en.html.
QString HelpFilePath();

// Opens the help file in the desktop's viewer, or where that fails in TaZEN's own help window; says so in a
// plain box when there is no help file to show.
void OpenHelpFile(Interaction& interaction, QWidget* owner);

// A label drawn as a link: in the palette's link colour (blue by default), underlined, with the hand pointer; a
// click says clicked(). Where that colour would not stand out from the window colour (a theme whose link
// colour is too dark for its windows), it is moved toward the window's text colour until it does.
class TLinkLabel : public QLabel
{
    Q_OBJECT

public:
    TLinkLabel(const QString& text, QWidget* parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void chooseColour();
    bool choosing_ = false;
};

// The ratio of the lighter colour's relative luminance to the darker one's, each plus 0.05: 1 for equal
// colours, 21 for black on white.
double ContrastRatio(const QColor& a, const QColor& b);

class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(Interaction& interaction, QWidget* parent = nullptr);

    // Fills in the system's version and memory; runs each time the box is shown.
    void FormShow();

    void Label5Click();
    void Label9Click();

    QLabel& lblAppName() const { return *lblAppName_; }
    QLabel& lblVersion() const { return *lblVersion_; }
    QLabel& Label5() const { return *Label5_; }
    QLabel& Label9() const { return *Label9_; }
    QLabel& lblPlatform() const { return *lblPlatform_; }
    QLabel& lblOS() const { return *lblOS_; }
    QLabel& lblAddInfo() const { return *lblAddInfo_; }
    QLabel& lblTotMem() const { return *lblTotMem_; }
    QLabel& lblAvailMem() const { return *lblAvailMem_; }
    QPushButton& OKButton() const { return *OKButton_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    Interaction& interaction_;

    QLabel* lblAppName_;
    QLabel* lblVersion_;
    TLinkLabel* Label5_;
    TLinkLabel* Label9_;
    QLabel* lblPlatform_;
    QLabel* lblOS_;
    QLabel* lblAddInfo_;
    QLabel* lblTotMem_;
    QLabel* lblAvailMem_;
    QPushButton* OKButton_;
};

} // namespace tazen
