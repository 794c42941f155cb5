#include "forms/UndoCommands.h"

#include "forms/BusyGuard.h"
#include "forms/Dialogs.h"
#include "forms/Session.h"
#include "store/AmountText.h"
#include "store/DbClass.h"

#include <QUndoStack>
#include <QWidget>

#include <utility>

namespace {

QString translated(const char *text) {
    return QCoreApplication::translate("TBookStep", text);
}

// "Save of 4 expenses", "Import of 1 income".
QString saveText(const QList<TRecord> &stored, bool imported) {
    const qsizetype n = stored.size();
    const bool income = !stored.isEmpty() && stored.first().Type == TRecordType::Income;
    const char *const texts[2][2][2] = {{{QT_TRANSLATE_NOOP("TBookStep", "Save of 1 expense"),
                                          QT_TRANSLATE_NOOP("TBookStep", "Save of %1 expenses")},
                                         {QT_TRANSLATE_NOOP("TBookStep", "Save of 1 income"),
                                          QT_TRANSLATE_NOOP("TBookStep", "Save of %1 incomes")}},
                                        {{QT_TRANSLATE_NOOP("TBookStep", "Import of 1 expense"),
                                          QT_TRANSLATE_NOOP("TBookStep", "Import of %1 expenses")},
                                         {QT_TRANSLATE_NOOP("TBookStep", "Import of 1 income"),
                                          QT_TRANSLATE_NOOP("TBookStep", "Import of %1 incomes")}}};
    const QString text = translated(texts[imported][income][n != 1]);
    return n == 1 ? text : text.arg(n);
}

// "12.50 Food", as a step names a record.
QString recordName(const TRecord &record) {
    return CentsText(record.Cents) + QLatin1Char(' ') + record.Category;
}

} // namespace

// --- steps ---------------------------------------------------------------------------------

TBookStep::TBookStep(const QString &text) : QUndoCommand(text) {}

void TBookStep::undo() {
    if (FSteps)
        FSteps->Run(this, true);
}

void TBookStep::redo() {
    if (FSteps)
        FSteps->Run(this, false);
}

TRecordsStep::TRecordsStep(const QString &text, QList<TRecord> before, QList<TRecord> after)
    : TBookStep(text), FBefore(std::move(before)), FAfter(std::move(after)) {}

void TRecordsStep::Undo(TDbMan &db, const QString &user) {
    db.ChangeRecords(user, FAfter, FBefore);
}

void TRecordsStep::Redo(TDbMan &db, const QString &user) {
    db.ChangeRecords(user, FBefore, FAfter);
}

TSaveStep::TSaveStep(const QList<TRecord> &stored, bool imported, QList<TBookingAdvance> advanced)
    : TRecordsStep(saveText(stored, imported), {}, stored), FStored(stored),
      FAdvanced(std::move(advanced)) {}

void TSaveStep::Undo(TDbMan &db, const QString &user) {
    QList<TBookingAdvance> back;
    for (const TBookingAdvance &advance : FAdvanced)
        back << advance.Reversed();
    db.ChangeRecords(user, FStored, {}, back);
}

void TSaveStep::Redo(TDbMan &db, const QString &user) {
    db.ChangeRecords(user, {}, FStored, FAdvanced);
}

TRecurringStep::TRecurringStep(TRecurring before, TRecurring after)
    : TBookStep((before.Id == 0  ? tr("Add of the recurring entry %1")
                 : after.Id == 0 ? tr("Delete of the recurring entry %1")
                                 : tr("Edit of the recurring entry %1"))
                    .arg(CentsText(before.Id ? before.Cents : after.Cents) + QLatin1Char(' ') +
                         (before.Id ? before.Category : after.Category))),
      FBefore(std::move(before)), FAfter(std::move(after)) {}

void TRecurringStep::Change(TDbMan &db, const QString &user, const TRecurring &from,
                            const TRecurring &to) {
    if (from.Id == 0)
        db.AddRecurring(user, to); // under its own id again
    else if (to.Id == 0)
        db.DeleteRecurring(user, from);
    else
        db.UpdateRecurring(user, from, to);
}

void TRecurringStep::Undo(TDbMan &db, const QString &user) {
    Change(db, user, FAfter, FBefore);
}

void TRecurringStep::Redo(TDbMan &db, const QString &user) {
    Change(db, user, FBefore, FAfter);
}

TDeleteStep::TDeleteStep(const TRecord &deleted)
    : TRecordsStep(tr("Delete of %1").arg(recordName(deleted)), {deleted}, {}) {}

TEditStep::TEditStep(const TRecord &before, const TRecord &after)
    : TRecordsStep(tr("Edit of %1").arg(recordName(before)), {before}, {after}) {}

TCategoryListStep::TCategoryListStep(TRecordType type, QStringList before, QStringList after)
    : TBookStep(type == TRecordType::Income ? tr("Save of the income categories")
                                            : tr("Save of the expense categories")),
      FType(type), FBefore(std::move(before)), FAfter(std::move(after)) {}

void TCategoryListStep::Undo(TDbMan &db, const QString &user) {
    db.ChangeCategories(user, FType, FAfter, FBefore);
}

void TCategoryListStep::Redo(TDbMan &db, const QString &user) {
    db.ChangeCategories(user, FType, FBefore, FAfter);
}

TRenameStep::TRenameStep(TCategoryRename rename, bool merged)
    : TBookStep((merged ? tr("Merge of %1 into %2") : tr("Rename of %1 to %2"))
                    .arg(rename.From, rename.To)),
      FRename(std::move(rename)) {}

void TRenameStep::Undo(TDbMan &db, const QString &user) {
    db.ApplyRename(user, FRename.Reversed());
}

void TRenameStep::Redo(TDbMan &db, const QString &user) {
    db.ApplyRename(user, FRename);
}

TBudgetsStep::TBudgetsStep(QList<TBudget> before, QList<TBudget> after)
    : TBookStep(tr("Change of the budgets")), FBefore(std::move(before)), FAfter(std::move(after)) {
}

void TBudgetsStep::Undo(TDbMan &db, const QString &user) {
    db.SetBudgets(user, FAfter, FBefore);
}

void TBudgetsStep::Redo(TDbMan &db, const QString &user) {
    db.SetBudgets(user, FBefore, FAfter);
}

// --- the session's steps ----------------------------------------------------------------------

TUndoSteps::TUndoSteps(TSession &session, QWidget *window)
    : QObject(window), FSession(session), FWindow(window), FStack(new QUndoStack(this)) {
    FStack->setObjectName(QStringLiteral("UndoStack"));
    FStack->setUndoLimit(kLimit);
}

TUndoSteps::~TUndoSteps() = default;

void TUndoSteps::Push(TBookStep *step) {
    step->FSteps = this;
    FQuiet = true;
    FStack->push(step);
    FQuiet = false;
}

void TUndoSteps::Clear() {
    FStack->clear();
}

void TUndoSteps::Changed() {
    emit BookChanged();
}

void TUndoSteps::Run(TBookStep *step, bool undo) {
    if (FQuiet || !FSession.DbMan)
        return;
    try {
        TBusyGuard busy;
        if (undo)
            step->Undo(*FSession.DbMan, FSession.UserName);
        else
            step->Redo(*FSession.DbMan, FSession.UserName);
    } catch (const TBookChangedError &refused) {
        // Nothing was changed, and never will be: the stack drops the step.
        step->setObsolete(true);
        FRefusal = QString::fromStdString(refused.what());
    } catch (...) {
        FFailure = std::current_exception();
    }
}

void TUndoSteps::Step(bool undo) {
    if (undo ? !FStack->canUndo() : !FStack->canRedo())
        return;
    const QString text = undo ? FStack->undoText() : FStack->redoText();
    FFailure = nullptr;
    FRefusal.clear();
    undo ? FStack->undo() : FStack->redo();
    if (FFailure) {
        // The stack has moved past the step although the book is as it
        // was: moved back without the store, the step can be tried again.
        FQuiet = true;
        undo ? FStack->redo() : FStack->undo();
        FQuiet = false;
        std::rethrow_exception(std::exchange(FFailure, nullptr));
    }
    // Also after a refusal: the window shows what another instance changed.
    // (A step dropped on redo leaves the stack's index and signals alone;
    // the window reads the texts of the steps again here too.)
    emit BookChanged();
    if (FRefusal.isEmpty())
        return;
    ShowWarning(FWindow, undo ? tr("Undo") : tr("Redo"),
                FRefusal + QStringLiteral("\n\n") +
                    (undo ? tr("\"%1\" was taken off the steps to undo; the steps before it can "
                               "still be undone.")
                          : tr("\"%1\" was taken off the steps to redo."))
                        .arg(text));
}

void TUndoSteps::Undo() {
    Step(true);
}

void TUndoSteps::Redo() {
    Step(false);
}
