// A frontend that shows nothing and never cancels, so the measurements see the engine's own cost only.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"

#include <string>

namespace tazen::bench {

class NullGauge : public GaugePort
{
public:
    int Progress() const override { return progress_; }
    void SetProgress(int value) override { progress_ = value; }
    void Advance(int amount) override { progress_ += amount; }

private:
    int progress_ = 0;
};

class NullLabel : public LabelPort
{
public:
    void SetCaption(const std::string&) override {}
};

class NullProgressDialog : public ProgressDialogPort
{
public:
    void StartProgress(const std::string&, const std::string&) override {}
    void HideProgress() override {}
    void FinishProgress() override {}
    LabelPort& lblFilename() override { return label_; }
    GaugePort& gaugeFile() override { return file_; }
    GaugePort& gaugeTotal() override { return total_; }
    int ModalResult() const override { return 0; }

private:
    NullLabel label_;
    NullGauge file_;
    NullGauge total_;
};

class NullShredDialog : public ShredDialogPort
{
public:
    void SetCaption(const std::string&) override {}
    LabelPort& lblHead() override { return head_; }
    LabelPort& lblFileName() override { return fileName_; }
    LabelPort& lblpass() override { return pass_; }
    GaugePort& gaugePass() override { return gauge_; }
    void Show() override {}
    void Hide() override {}
    int ModalResult() const override { return 0; }
    void SetModalResult(int) override {}

private:
    NullLabel head_;
    NullLabel fileName_;
    NullLabel pass_;
    NullGauge gauge_;
};

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
    ProgressDialogPort& ProgressDialog() override { return progress_; }
    ShredDialogPort& shredDialog() override { return shred_; }
    const SettingsControlsPort& SettingsControls() const override { return settings_; }
    void ShowMessage(MessageKind, const std::string&) override {}
    void ProcessMessages() override {}

private:
    NullProgressDialog progress_;
    NullShredDialog shred_;
    KeepSourcesControls settings_;
};

} // namespace tazen::bench
