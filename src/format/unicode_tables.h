// Unicode character data needed for NFC normalisation; the data lives in the generated unicode_tables.cpp.
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <span>

namespace tazen::unicode {

// A run of consecutive code points sharing one non-zero canonical combining class.
struct CombiningClassRange
{
    char32_t first;
    char32_t last;
    unsigned char combiningClass;
};

// One level of a canonical decomposition; second is 0 for a singleton. Hangul syllables are not listed.
struct Decomposition
{
    char32_t codePoint;
    char32_t first;
    char32_t second;
};

// A primary composite: the pair (first, second) composes to composite. Hangul syllables are not listed.
struct Composition
{
    char32_t first;
    char32_t second;
    char32_t composite;
};

// The most code points one code point can fully decompose into.
inline constexpr std::size_t kMaxDecompositionLength = 4;

// Sorted by first, non-overlapping.
std::span<const CombiningClassRange> CombiningClassRanges();
// Sorted by codePoint.
std::span<const Decomposition> Decompositions();
// Sorted by (first, second).
std::span<const Composition> Compositions();

} // namespace tazen::unicode
