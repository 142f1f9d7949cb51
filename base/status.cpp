#include "status.h"

#include <cstring>

Status Status::FromErrno(int error, std::string_view doing)
{
    if (error == 0)
        return {};
    std::string message(doing);
    message += (message.empty() ? "" : ": ") + std::string(std::strerror(error));
    return Status(std::error_code(error, std::generic_category()), std::move(message));
}

Status Status::Refused(std::errc why, std::string sentence)
{
    return Status(std::make_error_code(why), std::move(sentence));
}

Status Status::Refused(std::errc why, OperatorText sentence)
{
    Status status(std::make_error_code(why), sentence.English());
    status.m_sentence = std::move(sentence);
    return status;
}
