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

// "; left out: 2 hidden folders, 1 link to a folder", or nothing when the walk left out none.
std::string leftOutText(const LeftOutFolders& left)
{
    if (left.Total() == 0)
        return {};
    std::string text;
    const auto add = [&](std::size_t count, const std::string& one, const std::string& many) {
        if (count > 0)
            text += (text.empty() ? "; left out: " : ", ") + std::to_string(count) + " " + (count == 1 ? one : many);
    };
    add(left.hidden, "hidden folder", "hidden folders");
    add(left.writeProtected, "write-protected folder", "write-protected folders");
    add(left.links, "link to a folder", "links to folders");
    add(left.systemFolders, "folder of the kernel's own file systems", "folders of the kernel's own file systems");
    return text;
}

// The line that says what a folder gave, with what its walk left out before its full stop.
std::string withLeftOut(std::string line, const std::string& leftOut)
{
    if (leftOut.empty())
        return line;
    const bool stop = line.ends_with('.');
    if (stop)
        line.pop_back();
    return line + leftOut + (stop ? "." : "");
}

// The last name of a folder as given, for -o -r: "photos" for "photos/", "a/photos" or ".." seen from
// photos/x; empty for the root.
std::string lastName(const std::string& folder)
{
    std::vector<std::string> parts;
    const std::string absolute = platform::AbsoluteName(folder);
    for (std::size_t start = 0; start <= absolute.size();) {
        std::size_t end = absolute.find('/', start);
        if (end == std::string::npos)
            end = absolute.size();
        const std::string part = absolute.substr(start, end - start);
        if (part == ".." && !parts.empty())
            parts.pop_back();
        else if (!part.empty() && part != "." && part != "..")
            parts.push_back(part);
        start = end + 1;
    }
    return parts.empty() ? std::string() : parts.back();
}

// folder and then below, one '/' between them, none at the end (but for the root).
std::string joinedFolder(const std::string& folder, const std::string& below)
{
    std::string joined = below.empty() ? folder : platform::WithTrailingSlash(folder) + below;
    while (joined.size() > 1 && joined.back() == '/')
        joined.pop_back();
    return joined;
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
        std::string leftOut;
        if (options.recursive) {
            FolderWalk walk({nullptr, [] { return platform::InterruptSignal() != 0; }});
            walk.ScanFolderTree(name, decrypt, found);
            if (walk.Cancelled())
                return 128 + platform::InterruptSignal();
            reportUnreachable(walk);
            leftOut = leftOutText(walk.LeftOut());
        } else {
            named = platform::WithTrailingSlash(name);
            found = FolderFiles(named, decrypt);
        }
        if (!options.quiet || found.empty())
            say(found.empty() ? withLeftOut(nothingFoundText(decrypt, named, options.recursive), leftOut)
                              : withLeftOut(foundText(found.size(), decrypt, named), leftOut));
        // As cp -r copies a folder into an existing one: the tree below it goes below its own name there.
        const std::string top = platform::WithTrailingSlash(name);
        const std::string below = joinedFolder(options.outputFolder, lastName(name));
        for (const std::string& file : found) {
            if (options.recursive && !options.outputFolder.empty() && file.starts_with(top)) {
                const std::size_t slash = file.find_last_of('/');
                const std::string inside = slash > top.size() ? file.substr(top.size(), slash - top.size()) : "";
                options.destinations.emplace(file, joinedFolder(below, inside));
            }
            take(file);
        }
    }
    if (platform::InterruptSignal() != 0)
        return 128 + platform::InterruptSignal();
    options.files = std::move(files);
    return options.files.empty() ? kExitFailed : -1;
}

} // namespace tazen::cli
