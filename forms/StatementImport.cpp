#include "forms/StatementImport.h"

#include "store/DbClass.h"

#include <QSet>

namespace {

// The categories of a stored list that can be proposed: trimmed, without
// empty ones.
QStringList CategoryItems(const QStringList &stored) {
    QStringList items;
    for (const QString &item : stored)
        if (!item.trimmed().isEmpty())
            items << item.trimmed();
    return items;
}

} // namespace

TStatementImport::TStatementImport(TDbMan &db, const QString &user) : FDb(db), FUser(user) {
    FRules = FDb.CategoryRules(FUser);
    LoadProfiles();
}

TStatementImport::~TStatementImport() = default;

void TStatementImport::LoadProfiles() {
    FProfiles = FDb.BankProfiles(FUser);
}

void TStatementImport::Open(const QString &path) {
    QByteArray bytes = ReadStatementBytes(path);
    TStatementGuess guess = GuessStatement(bytes);
    FPath = path;
    FBytes = std::move(bytes);
    FGuess = std::move(guess);
    FLayout = FGuess.Layout;
    FProfile.clear();
    FRows.clear();
    FProblems.clear();
    FProposer.reset();
    // A kept profile made from a file with the same header reads this one.
    if (FLayout.Format == TStatementFormat::Csv)
        for (const TBankProfile &profile : std::as_const(FProfiles)) {
            const std::optional<TStatementLayout> kept = TStatementLayout::FromText(profile.Layout);
            if (!kept)
                continue;
            if (const std::optional<TStatementLayout> fitted = FitStatementLayout(FBytes, *kept)) {
                FLayout = *fitted;
                FProfile = profile.Name;
                break;
            }
        }
    FColumns = StatementColumns(FBytes, FLayout);
}

void TStatementImport::ReadProfile(const QString &name, const QList<TRecord> &pending) {
    for (const TBankProfile &profile : std::as_const(FProfiles)) {
        if (profile.Name != name)
            continue;
        const std::optional<TStatementLayout> kept = TStatementLayout::FromText(profile.Layout);
        if (!kept)
            throw TImportError(QStringLiteral("The bank profile \u201C%1\u201D cannot be read; "
                                              "delete it and keep the layout again.")
                                   .arg(name)
                                   .toStdString());
        if (kept->Format != FLayout.Format)
            throw TImportError(QStringLiteral("The bank profile \u201C%1\u201D is for another "
                                              "kind of file.")
                                   .arg(name)
                                   .toStdString());
        const std::optional<TStatementLayout> fitted = FitStatementLayout(FBytes, *kept);
        Read(fitted ? *fitted : *kept, pending);
        FProfile = name;
        return;
    }
    throw TImportError(
        QStringLiteral("There is no bank profile \u201C%1\u201D.").arg(name).toStdString());
}

void TStatementImport::Read(const TStatementLayout &layout, const QList<TRecord> &pending) {
    FRows.clear();
    FProblems.clear();
    FProposer.reset();
    // A layout changed by the user is no longer the profile's.
    if (!(layout == FLayout))
        FProfile.clear();
    FLayout = layout;
    QString signature;
    FColumns = StatementColumns(FBytes, FLayout, &signature);
    if (FLayout.Format == TStatementFormat::Csv)
        FLayout.HeaderSignature = signature;
    if (!IsOpen())
        return;
    TStatement statement = ReadStatement(FBytes, FLayout);
    FProblems = std::move(statement.Problems);
    const QList<TStatementLine> &lines = statement.Lines;
    if (lines.isEmpty())
        return;

    // Duplicates: the stored records of the lines' dates and the days the
    // rule looks around them, and the pending rows.
    QDate first, last;
    QList<TImportId> ids;
    for (const TStatementLine &l : lines) {
        if (!first.isValid() || l.Date < first)
            first = l.Date;
        if (!last.isValid() || l.Date > last)
            last = l.Date;
        if (const TImportId id = StatementImportId(l); !id.IsEmpty())
            ids << id;
    }
    QList<TRecord> records = FDb.ReadPeriod(FUser, first.addDays(-TDuplicates::kMaxDays),
                                            last.addDays(TDuplicates::kMaxDays))
                                 .Records;
    const qsizetype stored = records.size();
    records << pending;
    QSet<TImportId> known = ids.isEmpty() ? QSet<TImportId>() : FDb.KnownImportIds(FUser, ids);
    for (const TRecord &p : pending)
        if (!p.Import.IsEmpty())
            known.insert(*p.Import);
    const QList<TDuplicate> duplicates = TDuplicates::Find(lines, records, known);

    // Categories: the rules, then what the user gave to such notes before.
    FProposer = std::make_unique<TCategoryProposer>(FRules, lines);
    FDb.ForEachNotesCategory(
        FUser, [this](TRecordType type, const QString &notes, const QString &category, int count) {
            FProposer->AddHistory(type, notes, category, count);
        });
    FProposer->SetCategories(CategoryItems(FDb.GetCategories(FUser, QStringLiteral("out"))),
                             CategoryItems(FDb.GetCategories(FUser, QStringLiteral("in"))));

    FRows.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        TImportRow row;
        row.Line = lines[i];
        row.Type = row.Line.Cents < 0 ? TRecordType::Expense : TRecordType::Income;
        row.Duplicate = duplicates[i];
        if (row.Duplicate.Record >= 0) {
            row.Match = records[row.Duplicate.Record];
            row.MatchPending = row.Duplicate.Record >= stored;
        }
        row.Ticked = row.Duplicate.Kind == TDuplicateKind::None;
        FRows << std::move(row);
    }
    Propose();
}

void TStatementImport::Propose() {
    if (!FProposer)
        return;
    for (TImportRow &row : FRows) {
        row.Proposal = FProposer->Propose(row.Line);
        if (!row.Chosen)
            row.Category = row.Proposal.Category;
    }
}

void TStatementImport::SetTicked(int row, bool ticked) {
    if (row >= 0 && row < FRows.size())
        FRows[row].Ticked = ticked;
}

void TStatementImport::SetCategory(int row, const QString &category) {
    if (row < 0 || row >= FRows.size())
        return;
    TImportRow &r = FRows[row];
    r.Chosen = !category.trimmed().isEmpty();
    r.Category = r.Chosen ? category.trimmed() : r.Proposal.Category;
}

int TStatementImport::TickedCount() const {
    int n = 0;
    for (const TImportRow &row : FRows)
        n += row.Ticked;
    return n;
}

int TStatementImport::TickedWithoutCategory() const {
    int n = 0;
    for (const TImportRow &row : FRows)
        n += row.Ticked && row.Category.trimmed().isEmpty();
    return n;
}

QList<TRecord> TStatementImport::Records(TRecordType type) const {
    QList<TRecord> records;
    for (const TImportRow &row : FRows) {
        if (!row.Ticked || row.Type != type || row.Category.trimmed().isEmpty())
            continue;
        TRecord record;
        record.Date = row.Line.Date;
        record.Type = row.Type;
        record.Category = row.Category.trimmed();
        record.Cents = qAbs(row.Line.Cents);
        record.Notes = StatementNotes(row.Line);
        TImportId id = StatementImportId(row.Line);
        // Ticked although marked a duplicate: stored as the user chose.
        id.Wanted = row.Duplicate.Kind != TDuplicateKind::None;
        record.Import = id;
        records << record;
    }
    return records;
}

void TStatementImport::KeepRules(const QList<TCategoryRule> &rules) {
    FDb.SetCategoryRules(FUser, rules);
    FRules = rules;
    if (FProposer) {
        FProposer->SetRules(FRules);
        Propose();
    }
}

void TStatementImport::KeepProfile(const QString &name) {
    FDb.SaveBankProfile(FUser, {name.trimmed(), FLayout.ToText()});
    LoadProfiles();
    FProfile = name.trimmed();
}

void TStatementImport::DeleteProfile(const QString &name) {
    FDb.DeleteBankProfile(FUser, name);
    LoadProfiles();
    if (FProfile == name)
        FProfile.clear();
}
