#pragma once
// Run-time errors that end a procedure and reach its caller. The code is the
// program's own error number.
#include <QString>
#include <functional>
#include <stdexcept>
#include <string>

namespace core {

enum ErrorCode : int {
    ErrOverflow = 6,
    ErrSubscriptOutOfRange = 9,
    ErrTypeMismatch = 13,
    ErrFileNotFound = 53,
    ErrInvalidPicture = 481,
};

struct RuntimeError : std::runtime_error {
    int code;
    RuntimeError(int code, const std::string& message)
        : std::runtime_error(message), code(code) {}
    RuntimeError(int code, const QString& message) : RuntimeError(code, message.toStdString()) {}
    RuntimeError(int code, const char* message) : RuntimeError(code, std::string(message)) {}
};

// Runs one statement of a procedure that goes on with the next statement
// after an error: the error is dropped.
inline void resumeNext(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const std::exception&) {
    }
}

} // namespace core
