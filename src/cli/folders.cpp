// tazen-cli's folders, walked by the engine's folder walk as the window's folder adds walk them.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/folders.h"

#include "engine/folderwalk.h"
#include "platform/folders.h"
#include "platform/terminal.h"

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace tazen::cli {

namespace {

void say(const std::string& text)
{
    std::fputs(("tazen-cli: " + platform::Printable(text) + "\n").c_str(), stderr);
}

// The window names entries past the path limit in one box; here they are one warning.
void reportUnreachable(const FolderWalk& walk)
{
    if (walk.UnreachableCount() == 0)
        return;
    std::string text = std::to_string(walk.UnreachableCount()) +
                       (walk.UnreachableCount() == 1 ? " entry was" : " entries were") +
                       " not added: their paths are longer than the system allows";
    for (const UnreachableEntry& entry : walk.Unreachable())
        text += "\n  " + platform::Printable(entry.path);
    if (walk.UnreachableCount() > walk.Unreachable().size())
        text += "\n  ...";
    std::fputs(("tazen-cli: warning: " + text + "\n").c_str(), stderr);
}

std::string foundText(std::size_t count, bool decrypt, const std::string& folder)
{
    const std::string what = decrypt ? " TaZEN encrypted file" : " file";
    return std::to_string(count) + what + (count == 1 ? "" : "s") + " found" + (decrypt ? "" : " for encryption") +
           " in " + folder;
}

// The window's texts for a folder that gave nothing.
std::string nothingFoundText(bool decrypt, const std::string& folder, bool recursive)
{
    if (!decrypt)
        return "No files found for encryption in " + folder;
    return "No TaZEN encrypted files found in " + folder + (recursive ? " or its sub directories." : "");
}

} // namespace

int ExpandFolders(Options& options)
{
    const bool decrypt = options.verb == Command::Decrypt;
    if (options.verb != Command::Encrypt && !decrypt)
        return -1;
    std::vector<std::string> files;
    std::set<std::string> taken;
    const auto take = [&](const std::string& name) {
        if (taken.insert(name).second)
            files.push_back(name);
    };
    for (const std::string& name : options.files) {
        if (!platform::ExistsAsFolder(name)) {
            take(name);
            continue;
        }
        std::vector<std::string> found;
        // As the window names them: the recursive walk with the folder as given, the other with its '/'.
        std::string named = name;
        if (options.recursive) {
            FolderWalk walk({nullptr, [] { return platform::InterruptSignal() != 0; }});
            walk.ScanFolderTree(name, decrypt, found);
            if (walk.Cancelled())
                return 128 + platform::InterruptSignal();
            reportUnreachable(walk);
        } else {
            named = platform::WithTrailingSlash(name);
            found = FolderFiles(named, decrypt);
        }
        if (!options.quiet || found.empty())
            say(found.empty() ? nothingFoundText(decrypt, named, options.recursive)
                              : foundText(found.size(), decrypt, named));
        for (const std::string& file : found)
            take(file);
    }
    if (platform::InterruptSignal() != 0)
        return 128 + platform::InterruptSignal();
    options.files = std::move(files);
    return options.files.empty() ? kExitFailed : -1;
}

} // namespace tazen::cli
