#pragma once

// Numbers read from text written by people or by this program: command-line
// values, the record of remembered devices.

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

// A number from low to high and nothing else: no sign where T is unsigned,
// no '+', no spaces, no hex.
template <class T>
std::optional<T> ReadNumber(std::string_view text, T low, T high)
{
    T value {};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= low && value <= high))
        return std::nullopt;
    return value;
}
