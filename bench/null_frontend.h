// A frontend that shows nothing and never cancels, so the measurements see the engine's own cost only.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"

#include <string>

namespace tazen::bench {

// No executable, sources kept: the run does the encryption and nothing after it.
class KeepSourcesControls : public SettingsControlsPort
{
public:
    bool SelfExtractChecked() const override { return false; }
    int SourceFilesIndex() const override { return 0; }
};

class NullFrontend : public Frontend
{
public:
    const SettingsControlsPort& SettingsControls() const override { return settings_; }
    void RunStarted(Direction, std::size_t) override {}
    void FileStarted(std::size_t, const std::string&) override {}
    void FileProgress(int) override {}
    void TotalProgress(int) override {}
    void TotalAdvanced(int) override {}
    void RunFinished() override {}
    void RunHidden() override {}
    bool CancelAsked() override { return false; }
    void ShredStarted(const std::string&) override {}
    void ShredPass(int, int) override {}
    void ShredProgress(int) override {}
    bool ShredCancelAsked() override { return false; }
    void ShredEnded(bool) override {}
    void ExecutableStarted(const std::string&) override {}
    void ExecutableProgress(int) override {}
    void ExecutableEnded() override {}
    void ShowMessage(MessageKind, const std::string&) override {}
    void ProcessMessages() override {}

private:
    KeepSourcesControls settings_;
};

} // namespace tazen::bench
