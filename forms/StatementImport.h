#pragma once

#include "import/CategoryProposer.h"
#include "import/Duplicates.h"
#include "import/Statement.h"
#include "store/Records.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class TDbMan;

// One line of a statement as the import window shows it.
struct TImportRow {
    TStatementLine Line;
    TRecordType Type = TRecordType::Expense;
    TDuplicate Duplicate;
    // Duplicate.Kind Record: the stored record or pending row it matched.
    TRecord Match;
    bool MatchPending = false;
    TCategoryProposal Proposal;
    // The category the record gets: the proposal's, or the user's choice.
    QString Category;
    bool Chosen = false;
    bool Ticked = false;
};

// The work of the import window without its widgets: a statement file read
// with a layout (guessed, changed by the user, or a kept bank profile), its
// lines checked for duplicates among the user's stored records and pending
// rows, categories proposed from the user's rules and history, and the
// ticked lines handed over as pending records.
//
// Reading touches the data file only to read it; the rules and the bank
// profiles are written only through KeepRules, KeepProfile and
// DeleteProfile, which the user asks for.
class TStatementImport {
public:
    TStatementImport(TDbMan &db, const QString &user);
    ~TStatementImport();
    TStatementImport(const TStatementImport &) = delete;
    TStatementImport &operator=(const TStatementImport &) = delete;

    // Reads the file and guesses its format and layout; a kept bank profile
    // whose header the file shows is taken instead of the guess. Nothing is
    // read into lines yet (see Read). Throws TImportError when the file is
    // no statement (empty, binary, no column of dates, ...); then the
    // statement open before stays.
    void Open(const QString &path);
    const QString &Path() const { return FPath; }
    bool IsOpen() const { return !FPath.isEmpty(); }
    const TStatementGuess &Guess() const { return FGuess; }
    // The layout last read, or to be read.
    const TStatementLayout &Layout() const { return FLayout; }
    // The bank profile whose layout is in use, "" for the guess or a changed one.
    const QString &Profile() const { return FProfile; }
    // CSV: the column names under the layout.
    const QStringList &Columns() const { return FColumns; }

    // Reads the lines with `layout`, finds their duplicates among the user's
    // stored records of the lines' dates and `pending` (the rows of both
    // pending lists) and proposes their categories. New and ticked: the
    // lines that are no duplicates. Throws TImportError when the layout
    // cannot read the file (a column or the date order missing); then no
    // lines are left.
    void Read(const TStatementLayout &layout, const QList<TRecord> &pending);
    // Takes the layout of the kept profile `name`, fitted to where the file
    // has its header (as it is when the header is not found), and reads.
    void ReadProfile(const QString &name, const QList<TRecord> &pending);

    const QList<TImportRow> &Rows() const { return FRows; }
    const QList<TStatementProblem> &Problems() const { return FProblems; }

    void SetTicked(int row, bool ticked);
    // The user's category for `row`; a blank one gives the row its proposal
    // back.
    void SetCategory(int row, const QString &category);

    int TickedCount() const;
    // Ticked rows that cannot be added yet: they have no category.
    int TickedWithoutCategory() const;
    // The ticked rows of `type` as pending records (notes: payee and memo;
    // the import id kept for the duplicate rule). Rows without a category
    // are left out.
    QList<TRecord> Records(TRecordType type) const;

    // --- what the user keeps ------------------------------------------------------
    const QList<TCategoryRule> &Rules() const { return FRules; }
    // Stores the rules and proposes the categories again (the user's own
    // choices stay).
    void KeepRules(const QList<TCategoryRule> &rules);
    const QList<TBankProfile> &Profiles() const { return FProfiles; }
    // Stores the layout in use under `name`, replacing a profile of that name.
    void KeepProfile(const QString &name);
    void DeleteProfile(const QString &name);

private:
    void Propose();
    void LoadProfiles();

    TDbMan &FDb;
    QString FUser;
    QString FPath;
    QByteArray FBytes;
    TStatementGuess FGuess;
    TStatementLayout FLayout;
    QString FProfile;
    QStringList FColumns;
    QList<TImportRow> FRows;
    QList<TStatementProblem> FProblems;
    QList<TCategoryRule> FRules;
    QList<TBankProfile> FProfiles;
    std::unique_ptr<TCategoryProposer> FProposer;
};
