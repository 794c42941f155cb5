#pragma once

#include <QString>
#include <functional>

class QWidget;

// The application's error report and its title.
//
// Every handler that can fail runs its body through RunReported: an
// exception never unwinds through Qt's own frames; its text is shown in a
// message box and the program goes on.

// The application title: "Ledgerly" at start, "Ledgerly - Username: NAME"
// once a user has signed in. Error boxes carry it as their caption.
QString ApplicationTitle();
void SetApplicationTitle(const QString &title);

// Shows `text` in a message box with the error icon, an OK button and the
// application title as caption, owned by `owner` (may be null).
void ShowErrorReport(QWidget *owner, const QString &text);

// Runs `body`; any exception it raises is shown by ShowErrorReport. Returns
// true when the body ran to its end.
bool RunReported(QWidget *owner, const std::function<void()> &body);
