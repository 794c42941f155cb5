#pragma once

#include <QString>

#include <stdexcept>

// Raised when a whole file cannot be read, written, copied or replaced;
// what() names the file and says why.
class TFileError : public std::runtime_error {
public:
    explicit TFileError(const QString &message) : std::runtime_error(message.toStdString()) {}
};
