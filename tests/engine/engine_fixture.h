// Shared set-up of the run tests: a folder of files, a program folder of their own for the settings file
// and the extractor, a scripted frontend, the cipher, and no fault hook left behind.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "engine/messages.h"
#include "engine/selfextract.h"
#include "engine/settings.h"
#include "engine/shred.h"
#include "platform/files.h"
#include "platform/folders.h"

#include "common/bytes.h"
#include "common/tempdir.h"
#include "engine/scripted_frontend.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>
#include <string>
#include <vector>

namespace tazen::test {

class EngineTest : public testing::Test
{
protected:
    EngineTest() { platform::SetExecutableFolderForTesting(program.path()); }
    ~EngineTest() override
    {
        platform::SetFaultHook(nullptr);
        platform::SetDataHook(nullptr);
        platform::SetExecutableFolderForTesting("");
    }

    // A file of random content in the work folder; returns its full name.
    std::string makeFile(const std::string& name, std::size_t size)
    {
        const std::string full = dir / name;
        writeFile(full, randomBytes(rng, size));
        return full;
    }

    void writeSettings(const std::string& text) { writeFile(SettingsFilePath(), text); }

    int encrypt(const std::vector<std::string>& names, const std::string& password = "secret")
    {
        return EncryptFiles(cipher, names, password, message, frontend);
    }
    int decrypt(const std::vector<std::string>& names, const std::string& password = "secret")
    {
        return DecryptFiles(cipher, names, password, message, frontend);
    }

    static mode_t modeOf(const std::string& name)
    {
        struct stat info;
        return ::stat(name.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    }

    static std::vector<std::string> withTemporaryNames(const std::vector<std::string>& names)
    {
        std::vector<std::string> found;
        for (const std::string& name : names)
            if (name.find(".tmp-") != std::string::npos)
                found.push_back(name);
        return found;
    }

    TempDir dir;
    TempDir program;
    ScriptedFrontend frontend;
    TBlowfish cipher;
    std::string message = "untouched";
    std::mt19937 rng{7};
};

// The three-line text for a file that cannot be opened in the pre-check.
inline std::string openFailureText(const std::string& name)
{
    return "Could not open source file: \"" + name +
           "\"\n\rThis could happen if the file is write-protected.\n\rRemove the write-protection and try again.";
}

} // namespace tazen::test
