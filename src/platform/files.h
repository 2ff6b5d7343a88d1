// Byte-file access with the rules the engine expects of Windows: the read-only attribute, checked reads
// and writes that keep the system's reason, and new files that appear under their name only when complete.
// Each part has a header of its own; this one brings them all.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/deletion.h"
#include "platform/descriptor.h"
#include "platform/entry.h"
#include "platform/faults.h"
#include "platform/file.h"
#include "platform/pendingfile.h"
