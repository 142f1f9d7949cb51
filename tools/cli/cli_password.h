#pragma once

#include "status.h"

#include <string>

// Text that overwrites its bytes when it is destroyed or moved from, and
// when it grows: the device administrator's password, and the request that
// carries it.
class SecretText {
public:
    SecretText() = default;
    // Takes the bytes over; what the source still holds is overwritten.
    explicit SecretText(std::string&& text);
    SecretText(SecretText&& other) noexcept;
    SecretText& operator=(SecretText&& other) noexcept;
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;
    ~SecretText();

    const std::string& Text() const { return m_text; }
    bool Empty() const { return m_text.empty(); }
    void Append(char c);
    void PopBack() { m_text.back() = '\0'; m_text.pop_back(); }

private:
    std::string m_text;
};

// Reads the device administrator's password: one line of standard input with
// fromStdin, otherwise from the terminal on standard input with echo off and
// the prompt on standard error. Fails with the operator's message when there
// is no terminal, the input ends first, or the password is empty.
Result<SecretText> ReadPassword(bool fromStdin);
