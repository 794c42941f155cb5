#pragma once

#include <QString>

#include <cerrno>
#include <stdexcept>

// Raised when a whole file cannot be read, written, copied or replaced;
// what() names the file, says why and what to do.
class TFileError : public std::runtime_error {
public:
    explicit TFileError(const QString &message, int systemError = 0)
        : std::runtime_error(message.toStdString()), SystemError(systemError) {}

    // True when the file could not be written for want of space on the disk.
    bool DiskFull() const { return SystemError == ENOSPC || SystemError == EDQUOT; }

    // The system's error number behind the failure, when there was one.
    int SystemError = 0;
};
