#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// Answers modal windows (message boxes, input and file dialogs, the program's
// own dialogs) that the code under test opens with exec(). Answers are queued
// before the action that opens the window; each one is used for the next
// modal window that becomes active, in order.
namespace ModalAnswer {

// Runs `action` on the next modal window. The action must close it.
void Next(std::function<void(QWidget *)> action);

// Presses `button` in the next message box; stores its text and caption.
void MessageBox(QMessageBox::StandardButton button, QString *text = nullptr,
                QString *caption = nullptr);

// Types `text` into the next QInputDialog and presses OK (accept) or Cancel.
void InputDialog(const QString &text, bool accept = true);

// Chooses `path` in the next QFileDialog and accepts, or cancels when empty;
// selects `nameFilter` first when given.
void FileDialog(const QString &path, const QString &nameFilter = QString());

// True once every queued answer has been used; waits up to timeoutMs.
bool AllUsed(int timeoutMs = 5000);

// Drops answers that were never used (call between test functions).
void Clear();

} // namespace ModalAnswer
