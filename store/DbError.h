#pragma once

#include <QString>

#include <stdexcept>

// Raised by every failing data-store operation. what() is the sentence shown
// to the user: for a failure of the database it names the file and says what
// to do; otherwise it is the reason a value was refused.
class TDbError : public std::runtime_error {
public:
    explicit TDbError(const std::string &message, int code = 0)
        : std::runtime_error(message), Code(code) {}
    explicit TDbError(const QString &message, int code = 0, const QString &reason = QString(),
                      int systemError = 0)
        : std::runtime_error(message.toStdString()), Code(code), Reason(reason),
          SystemError(systemError) {}
    explicit TDbError(const char *message, int code = 0)
        : std::runtime_error(message), Code(code) {}

    // True when the write failed for want of space on the disk.
    bool DiskFull() const;

    // SQLite's result code when the database gave one (0 otherwise).
    int Code;
    // SQLite's own words, for a text that names the file itself; empty when
    // the failure did not come from SQLite.
    QString Reason;
    // The system's error number behind the failure, when there was one.
    int SystemError = 0;
};
