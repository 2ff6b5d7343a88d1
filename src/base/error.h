// The one way a function below the window fails: it returns an ErrorCode, the system's errno value or 0,
// which the compiler does not let a caller drop.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>

namespace tazen {

// 0 on success, else the errno value that says why. It converts to and from int, so it compares with errno
// constants and switches like one; returning it unused is a build error (-Werror=unused-result).
class [[nodiscard]] ErrorCode
{
public:
    constexpr ErrorCode() = default;
    // NOLINTNEXTLINE(google-explicit-constructor): an errno value is an ErrorCode
    constexpr ErrorCode(int code) : code_(code) {}
    // NOLINTNEXTLINE(google-explicit-constructor)
    constexpr operator int() const { return code_; }
    constexpr bool Failed() const { return code_ != 0; }

private:
    int code_ = 0;
};

// A value, or the reason there is none.
template <typename T> class [[nodiscard]] Result
{
public:
    // NOLINTNEXTLINE(google-explicit-constructor)
    Result(T value) : value_(std::move(value)) {}
    // NOLINTNEXTLINE(google-explicit-constructor)
    Result(ErrorCode error) : error_(error) {}

    bool Ok() const { return error_ == 0; }
    ErrorCode Error() const { return error_; }
    const T& Value() const& { return value_; }
    T& Value() & { return value_; }
    T&& Value() && { return std::move(value_); }

private:
    T value_{};
    ErrorCode error_;
};

} // namespace tazen
