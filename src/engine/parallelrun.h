// Encryption and decryption over several files at a time, with the results of one run over the list.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/cryptbase.h"
#include "engine/crypto.h"
#include "engine/frontend.h"
#include "engine/outcome.h"
#include "format/fileformat.h"

#include <string>
#include <vector>

namespace tazen {

// Works on each file as a run of its own, up to jobs at a time, and ends as one run over the whole list
// would: the same pre-check first, the key made once and the password wiped before the first file, and the
// same files on disk at the end. Files are started in list order; a file whose new file is complete waits,
// under its temporary name, until every file before it is done, and only then is put in place and its
// source disposed of; once one fails, none starts and every later one is given up (its temporary file
// removed, its source as it was). A decryption stops before a file of the wrong password as one run would.
// The files' own messages are shown in list order; done tells which files were done.
//
// The frontend hears RunStarted, JobStarted, JobsProgress, the files' messages, and RunFinished or RunHidden,
// one at a time but not always from the calling thread; CancelAsked, ShredCancelAsked, MayReplace (one at a
// time) and SettingsControls are asked from the files' threads.
RunOutcome RunInParallel(Direction direction, TBlockCipher& cipher, const std::vector<std::string>& files,
                         Secret& password, Frontend& frontend, int jobs, std::vector<bool>& done);
// The same with several keys, tried on each file in order as one run tries them. A file that none opens is
// asked about (RunEvents::WrongPassword) from the calling thread once the files before it are through; a key
// given for it is added to keys, and a file left out is in the outcome's skipped list and not done.
RunOutcome RunInParallel(Direction direction, TBlockCipher& cipher, const std::vector<std::string>& files,
                         RunKeys& keys, Frontend& frontend, int jobs, std::vector<bool>& done);

} // namespace tazen
