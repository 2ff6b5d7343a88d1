// Text made safe to print on a terminal or a console.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tazen::platform {

// The text as it may go to a terminal: control characters, C1 controls and every byte that is not part of
// well-formed UTF-8 written out (\n, \r, \t, \xHH for each such byte), so that a file name can neither break
// a message into lines of its own nor drive the terminal; printable UTF-8 (ä, 日本) stays as it is. Every
// name and text tazen-cli and the extractor print goes through it.
std::string Printable(const std::string& text);

} // namespace tazen::platform
