#pragma once

#include <string>

// An error record returned by the maker's services. Callers of this program
// release it unread; it exists so the calls keep their shape.
class ICVError
{
public:
    ICVError(int code, std::string message) : code_(code), message_(std::move(message)) {}

    int Code() const { return code_; }
    const std::string& Message() const { return message_; }

private:
    int code_;
    std::string message_;
};
