// tazen-cli's folders: a folder named on the command line stands for the files the window's /e or /d would
// list for it.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/options.h"

namespace tazen::cli {

// Replaces each name in options.files that is a folder by the files a folder add of the window finds there
// (with options.recursive, in its sub-folders too), in the same order, and says on standard error how many
// each folder gave. -1 when the command may go on, else the exit code: nothing to work on, or interrupted.
int ExpandFolders(Options& options);

} // namespace tazen::cli
