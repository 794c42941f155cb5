#pragma once

#include "store/Records.h"

#include <QCoreApplication>
#include <QObject>
#include <QUndoCommand>

#include <exception>

class QUndoStack;
class QWidget;
class TDbMan;
class TUndoSteps;
struct TSession;

// One change of the signed-in user's book that can be taken back (Undo) and
// made again (Redo). A step is added once its change has been made, so its
// first redo, the one QUndoStack::push runs, does nothing. Each undo and
// redo is one transaction of the store, which refuses it when another
// instance changed what it would touch; the step is then dropped.
class TBookStep : public QUndoCommand {
    Q_DECLARE_TR_FUNCTIONS(TBookStep)
public:
    explicit TBookStep(const QString &text);

    void undo() override;
    void redo() override;

protected:
    virtual void Undo(TDbMan &db, const QString &user) = 0;
    virtual void Redo(TDbMan &db, const QString &user) = 0;

private:
    friend class TUndoSteps;
    TUndoSteps *FSteps = nullptr;
};

// Records replaced by others: `before` as they were, `after` as they are
// now, each with its id (the store gives a record its id back).
class TRecordsStep : public TBookStep {
public:
    TRecordsStep(const QString &text, QList<TRecord> before, QList<TRecord> after);

protected:
    void Undo(TDbMan &db, const QString &user) override;
    void Redo(TDbMan &db, const QString &user) override;

private:
    QList<TRecord> FBefore, FAfter;
};

// A Save of a pending list: the records as stored, all of one type ("Save
// of 4 expenses"; "Import of 25 expenses" when they came from a statement),
// with the booked dates of the recurring entries whose due rows it saved or
// skipped: undo moves them back, redo forward again.
class TSaveStep : public TRecordsStep {
public:
    TSaveStep(const QList<TRecord> &stored, bool imported, QList<TBookingAdvance> advanced = {});

protected:
    void Undo(TDbMan &db, const QString &user) override;
    void Redo(TDbMan &db, const QString &user) override;

private:
    QList<TRecord> FStored;
    QList<TBookingAdvance> FAdvanced;
};

// A record deleted from the transaction list ("Delete of 12.50 Food").
class TDeleteStep : public TRecordsStep {
public:
    explicit TDeleteStep(const TRecord &deleted);
};

// A record changed in the record editor ("Edit of 12.50 Food", named as it
// was before).
class TEditStep : public TRecordsStep {
public:
    TEditStep(const TRecord &before, const TRecord &after);
};

// A recurring entry added, changed or deleted ("Add of the recurring entry
// 12.50 Rent"): `before` invalid (Id 0) for an add, `after` for a delete.
class TRecurringStep : public TBookStep {
public:
    TRecurringStep(TRecurring before, TRecurring after);

protected:
    void Undo(TDbMan &db, const QString &user) override;
    void Redo(TDbMan &db, const QString &user) override;

private:
    static void Change(TDbMan &db, const QString &user, const TRecurring &from,
                       const TRecurring &to);
    TRecurring FBefore, FAfter;
};

// A category list saved from the list editor ("Save of the expense
// categories").
class TCategoryListStep : public TBookStep {
public:
    TCategoryListStep(TRecordType type, QStringList before, QStringList after);

protected:
    void Undo(TDbMan &db, const QString &user) override;
    void Redo(TDbMan &db, const QString &user) override;

private:
    TRecordType FType;
    QStringList FBefore, FAfter;
};

// A category renamed, or merged into another ("Rename of Food to
// Groceries", "Merge of Food into Groceries").
class TRenameStep : public TBookStep {
public:
    TRenameStep(TCategoryRename rename, bool merged);

protected:
    void Undo(TDbMan &db, const QString &user) override;
    void Redo(TDbMan &db, const QString &user) override;

private:
    TCategoryRename FRename;
};

// The budgets saved from the budgets window ("Change of the budgets"): all
// of them as they were and as they are.
class TBudgetsStep : public TBookStep {
public:
    TBudgetsStep(QList<TBudget> before, QList<TBudget> after);

protected:
    void Undo(TDbMan &db, const QString &user) override;
    void Redo(TDbMan &db, const QString &user) override;

private:
    QList<TBudget> FBefore, FAfter;
};

// The undo steps of the signed-in session, owned by the main window and
// handed to the panels through the session. Undo and Redo run the newest
// step; a step the store refuses (another instance changed its records) is
// dropped with a message, the steps before it stay. After each, BookChanged
// tells the window to show the book as it is.
class TUndoSteps : public QObject {
    Q_OBJECT
public:
    // The steps kept at most; older ones are forgotten.
    static constexpr int kLimit = 100;

    TUndoSteps(TSession &session, QWidget *window);
    ~TUndoSteps() override;

    QUndoStack *Stack() const { return FStack; }

    // Adds the step of a change already made to the book.
    void Push(TBookStep *step);
    // Take back the newest step, or make the last one taken back again. A
    // failure other than a refusal (the file cannot be written) changes
    // nothing, keeps the step where it was and is thrown.
    void Undo();
    void Redo();
    // Forgets every step (another user, another data file).
    void Clear();
    // Tells the window that the book changed under what it shows.
    void Changed();

signals:
    // After every undo and redo, and after Changed: what the window shows
    // of the book, and the texts of the steps, are to be read again.
    void BookChanged();

private:
    friend class TBookStep;
    void Run(TBookStep *step, bool undo);
    void Step(bool undo);

    TSession &FSession;
    QWidget *FWindow;
    QUndoStack *FStack;
    // Set while the stack moves without the store (the first redo of a
    // pushed step, a failed step put back).
    bool FQuiet = false;
    std::exception_ptr FFailure;
    QString FRefusal;
};
