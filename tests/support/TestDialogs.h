#pragma once

#include "forms/Dialogs.h"

#include <QList>
#include <QString>
#include <functional>

class QDialog;

// The test side of the dialog seam: answers come from a queue filled before
// the action that asks, in the order they are asked; every question is kept
// for the test to read. A question without a queued answer (or with one of
// another kind) fails the running test and is answered with Cancel, No or OK.
// Everything runs at once, inside the action that asks: nothing to wait for.
namespace TestDialogs {

// What the program asked or told, in order.
struct TAsked {
    enum TKind { MessageBox, ChoiceBox, InputBox, FileDialog, Window };
    TKind Kind;
    QString Caption;
    // The message; the input box's label; the file dialog's name filters,
    // joined by ";;"; the window's objectName.
    QString Text;
    TMessageKind MessageKind = TMessageKind::Information;
    // The input box's text; the file or folder the file dialog starts at.
    QString Start = QString();
};

// Puts the test dialogs in place for the rest of the process (idempotent).
void Install();
// The dialogs the user sees, which Install put aside.
TDialogs &Real();

// The next message box is answered with `button`.
void Answer(TButton button);
// The next choice is answered with the choice `index` (-1: Cancel).
void Choose(int index);
// The next input box gets `text` and OK, or is cancelled (nullopt).
void Text(const std::optional<QString> &text);
// The next file dialog chooses `path` (empty: cancelled), with `filter` as
// the selected name filter when given.
void File(const QString &path, const QString &filter = QString());
// The next of the program's own windows is shown (modal) and handed to
// `action`, which must close it (accept, reject, or a click that does); a
// window left open is rejected and fails the test.
void Dialog(std::function<void(QDialog *)> action);

// Everything asked since the last Clear.
const QList<TAsked> &Asked();
// The text of the last message box (empty when none was shown).
QString LastMessage();
// True when every queued answer was used.
bool AllUsed();
// Forgets the queue and what was asked; fails the running test when an
// answer was left unused. Call it from the suite's cleanup().
void Clear();

} // namespace TestDialogs
