// The program's errors. Every failure is an exception carrying the message a
// user is shown; handlers catch `Error` and show `message()` in the error box.
#pragma once

#include <QString>

#include <exception>
#include <string>

namespace quillmere {

// Base of every error the program raises on purpose.
class Error : public std::exception {
public:
    explicit Error(const QString& message)
        : message_(message), utf8_(message.toUtf8().toStdString()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

// A file could not be read, written, renamed or removed. The message names the
// file and the system's reason.
class FileError : public Error {
public:
    using Error::Error;
};

// zlib reported a failure; the message is zlib's text for the result code
// ("data error", "stream error", ...).
class ZlibError : public Error {
public:
    ZlibError(int code, const QString& message) : Error(message), code_(code) {}
    int code() const noexcept { return code_; }

private:
    int code_;
};

}  // namespace quillmere
