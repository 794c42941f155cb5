#pragma once

#include <QString>

#include <stdexcept>

// Raised by every failing data-store operation; what() is the database's own
// message (or the reason a value was refused), `Code` SQLite's result code
// when the database gave one (0 otherwise).
class TDbError : public std::runtime_error {
public:
    explicit TDbError(const std::string &message, int code = 0)
        : std::runtime_error(message), Code(code) {}
    explicit TDbError(const QString &message, int code = 0)
        : std::runtime_error(message.toStdString()), Code(code) {}
    explicit TDbError(const char *message, int code = 0)
        : std::runtime_error(message), Code(code) {}

    int Code;
};
