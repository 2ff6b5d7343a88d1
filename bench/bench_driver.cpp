// The engine as a command, for timing it against other tools: encrypts, decrypts or shreds the files named,
// with a frontend that shows nothing and keeps the sources, and can print the process's peak memory.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "null_frontend.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "engine/shred.h"
#include "platform/folders.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: tazen_bench_driver encrypt|decrypt|shred FILE... [--password-file FILE] "
                         "[--peak-memory]\n");
    return 2;
}

// The first line of the file, without its line end.
bool readPassword(const std::string& name, std::string& password)
{
    std::ifstream in(name, std::ios::binary);
    if (!in || !std::getline(in, password))
        return false;
    if (!password.empty() && password.back() == '\r')
        password.pop_back();
    return true;
}

// The high-water mark of resident memory, in KiB, as the kernel kept it for this process.
long peakResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// An empty folder stands for the program's own, so no settings file changes what a run does.
class EmptySettingsFolder
{
public:
    EmptySettingsFolder()
    {
        const char* base = std::getenv("TMPDIR");
        path_ = std::string(base && *base ? base : "/tmp") + "/tazen-driver-XXXXXX";
        if (!::mkdtemp(path_.data()))
            path_.clear();
    }
    ~EmptySettingsFolder()
    {
        if (!path_.empty())
            ::rmdir(path_.c_str());
    }
    EmptySettingsFolder(const EmptySettingsFolder&) = delete;
    EmptySettingsFolder& operator=(const EmptySettingsFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string command = argv[1];
    std::vector<std::string> files;
    std::string passwordFile;
    bool peakMemory = false;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--password-file" && i + 1 < argc)
            passwordFile = argv[++i];
        else if (argument == "--peak-memory")
            peakMemory = true;
        else
            files.push_back(argument);
    }
    if (files.empty() || (command != "encrypt" && command != "decrypt" && command != "shred"))
        return usage();

    EmptySettingsFolder settingsFolder;
    if (settingsFolder.path().empty()) {
        std::perror("tazen_bench_driver: mkdtemp");
        return 1;
    }
    tazen::platform::SetExecutableFolderForTesting(settingsFolder.path());

    tazen::bench::NullFrontend frontend;
    bool succeeded = true;
    if (command == "shred") {
        for (const std::string& file : files)
            if (!tazen::ShredFile(file, frontend)) {
                std::fprintf(stderr, "tazen_bench_driver: could not shred %s\n", file.c_str());
                succeeded = false;
            }
    } else {
        std::string password;
        if (passwordFile.empty() || !readPassword(passwordFile, password)) {
            std::fprintf(stderr, "tazen_bench_driver: a readable --password-file is needed\n");
            return 2;
        }
        tazen::TBlowfish cipher;
        std::string message;
        const int result = command == "encrypt" ? tazen::EncryptFiles(cipher, files, password, message, frontend)
                                                : tazen::DecryptFiles(cipher, files, password, message, frontend);
        if (result != tazen::kAllFilesDone) {
            std::fprintf(stderr, "tazen_bench_driver: stopped at %s: %s\n",
                         files[static_cast<std::size_t>(result)].c_str(), message.c_str());
            succeeded = false;
        }
    }
    if (peakMemory)
        std::printf("peak-memory-kib %ld\n", peakResidentKiB());
    return succeeded ? 0 : 1;
}
