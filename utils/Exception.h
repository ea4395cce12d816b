#pragma once

#include <exception>
#include <string>

namespace Utils {

// The program's own exception: raised inside a stage, caught at its worker body.
class Exception : public std::exception {
public:
    explicit Exception(std::string message = {}) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

}  // namespace Utils
