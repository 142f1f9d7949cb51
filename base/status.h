#pragma once

// How our own functions report failure (docs/errors.md): a Status, or a
// Result<T> that holds either a value or the Status of its failure.

#include "operator_text.h"

#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

class Status {
public:
    Status() = default; // success
    Status(std::error_code code, std::string message)
        : m_code(code), m_message(std::move(message)), m_sentence(OperatorText::Value(m_message))
    {
    }

    // An errno value; 0 is success. The message is "doing: reason".
    static Status FromErrno(int error, std::string_view doing);
    // A failure the operator is told in one sentence, without a system error.
    static Status Refused(std::errc why, std::string sentence);
    // The same with a marked sentence, which the desktop shows translated.
    static Status Refused(std::errc why, OperatorText sentence);

    bool Ok() const { return !m_code; }
    const std::error_code& Code() const { return m_code; }
    int Errno() const { return m_code.value(); }
    // For the operator; "" on success.
    const std::string& Message() const { return m_message; }
    // The message as the text it is made of: for the desktop to translate.
    const OperatorText& Sentence() const { return m_sentence; }

private:
    std::error_code m_code;
    std::string m_message;
    OperatorText m_sentence;
};

template <class T>
class Result {
public:
    Result(T value) : m_value(std::move(value)) { }
    Result(Status failure) : m_failure(std::move(failure)) { }

    bool Ok() const { return m_value.has_value(); }
    T& operator*() { return *m_value; }
    const T& operator*() const { return *m_value; }
    T* operator->() { return &*m_value; }
    const T* operator->() const { return &*m_value; }
    const Status& Failure() const { return m_failure; }

private:
    std::optional<T> m_value;
    Status m_failure;
};
