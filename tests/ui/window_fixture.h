// The main window with its dialogs, a scripted user, a private folder for files and another as the
// program's folder, so no settings file is shared.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/folders.h"
#include "ui/about.h"
#include "ui/dialogs/progressDlg.h"
#include "ui/dialogs/shredDlg.h"
#include "ui/main.h"
#include "ui/passdlg.h"
#include "ui/settingsDlg.h"

#include "common/tempdir.h"
#include "ui/scripted_interaction.h"

#include <QTreeView>

#include <gtest/gtest.h>

namespace tazen::test {

class WindowTest : public testing::Test
{
protected:
    WindowTest()
    {
        platform::SetExecutableFolderForTesting(program.path());
        form.AttachDialogs({&passwordDlg, &progressDialog, &settingsDialog, &aboutBox, &shredDialog});
    }
    ~WindowTest() override { platform::SetExecutableFolderForTesting(""); }

    // The next password dialog gets this typed and closes with OK (or the given result).
    void willType(const QString& password, int result = QDialog::Accepted)
    {
        user.modalScripts.push_back([password, result](QDialog& dialog) {
            auto& passwordDialog = dynamic_cast<TPasswordDlg&>(dialog);
            EXPECT_TRUE(passwordDialog.edPassword().text().isEmpty()) << "the field starts empty";
            passwordDialog.edPassword().setText(password);
            return result;
        });
    }

    std::string makeFile(const std::string& name, const std::string& content = "some content")
    {
        const std::string path = dir / name;
        writeFile(path, content);
        return path;
    }

    QString cell(int row, int column) const
    {
        return form.Files().data(form.Files().index(row, column), Qt::DisplayRole).toString();
    }
    QString sizeOf(int row) const { return cell(row, TFileListModel::ColumnSize); }
    QString statusOf(int row) const { return cell(row, TFileListModel::ColumnStatus); }
    std::vector<std::string> listed() const { return form.Files().Names(); }
    QString statusLine() { return form.StatusBar1().text(); }

    void select(std::initializer_list<int> rows)
    {
        form.lstVfiles().clearSelection();
        for (int row : rows)
            form.lstVfiles().selectionModel()->select(form.Files().index(row, 0),
                                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    TempDir dir;
    TempDir program;
    ScriptedInteraction user;
    TForm1 form{user};
    TPasswordDlg passwordDlg;
    TProgressDialog progressDialog;
    TSettingsDialog settingsDialog{user};
    TAboutBox aboutBox{user};
    TshredDialog shredDialog;
};

} // namespace tazen::test
