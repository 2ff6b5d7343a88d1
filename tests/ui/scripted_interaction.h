// An Interaction that answers from a script and records what was shown, for the window tests.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/interaction.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tazen::test {

struct ShownBox
{
    BoxKind kind;
    QString text;
    BoxButtons buttons;
    QWidget* owner;
};

class ScriptedInteraction : public Interaction
{
public:
    using ModalScript = std::function<int(QDialog&)>;

    // Boxes with only an OK button answer Ok by themselves; any other box takes the next of these.
    std::deque<BoxAnswer> answers;
    // Each modal dialog shown runs the next script, which may fill in its controls, and returns its result.
    std::deque<ModalScript> modalScripts;
    // Each open-file dialog takes the next of these; an empty list is Cancel (the dialog cannot confirm
    // nothing).
    std::deque<std::vector<std::string>> openFileAnswers;
    bool shellSucceeds = true;
    // Runs while the next box is open, as the events the real box lets through would.
    std::function<void()> whileBoxOpen;

    std::vector<ShownBox> boxes;
    std::vector<QString> modalTitles;
    std::vector<QString> openFilters;
    std::vector<QString> shellOpened;

    BoxAnswer MessageBox(QWidget* owner, BoxKind kind, const QString& text, BoxButtons buttons) override
    {
        boxes.push_back({kind, text, buttons, owner});
        if (whileBoxOpen)
            std::exchange(whileBoxOpen, nullptr)();
        if (buttons == BoxButtons::Ok)
            return BoxAnswer::Ok;
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
            return BoxAnswer::Cancel;
        }
        const BoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    int ShowModal(QDialog& dialog) override
    {
        modalTitles.push_back(dialog.windowTitle());
        if (modalScripts.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << dialog.windowTitle().toStdString();
            return QDialog::Rejected;
        }
        ModalScript script = std::move(modalScripts.front());
        modalScripts.pop_front();
        return script(dialog);
    }

    std::optional<std::vector<std::string>> OpenFiles(QWidget*, const QString& filter) override
    {
        openFilters.push_back(filter);
        if (openFileAnswers.empty()) {
            ADD_FAILURE() << "unexpected open-file dialog";
            return std::nullopt;
        }
        std::vector<std::string> names = std::move(openFileAnswers.front());
        openFileAnswers.pop_front();
        if (names.empty())
            return std::nullopt;
        return names;
    }

    bool ShellOpen(const QString& target) override
    {
        shellOpened.push_back(target);
        return shellSucceeds;
    }

    // Recorded with ShellOpen's targets, and answered at once as ShellOpen is.
    void OpenForEditing(QWidget*, const QString& path, std::function<void(bool)> opened) override
    {
        opened(ShellOpen(path));
    }

    // The texts of the boxes shown so far, in order.
    std::vector<QString> texts() const
    {
        std::vector<QString> result;
        for (const ShownBox& box : boxes)
            result.push_back(box.text);
        return result;
    }
};

} // namespace tazen::test
