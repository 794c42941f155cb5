#include "store/DbClass.h"

#include "store/AmountText.h"
#include "store/KestrelClass.h"

#include <QAtomicInteger>
#include <QDate>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVarLengthArray>
#include <QVariant>

#include <sodium.h>
#include <sqlite3.h>

#include <cmath>
#include <mutex>

namespace {

// How long a statement waits for another program instance that holds the
// file locked before it gives up with "database is locked".
constexpr int kBusyTimeoutMs = 5000;

[[noreturn]] void fail(const QString &message) {
    throw TDbError(message.toStdString());
}

// The database's own message where it gave one, else Qt's description.
[[noreturn]] void fail(const QSqlError &error) {
    const QString own = error.databaseText().trimmed();
    fail(own.isEmpty() ? error.text().trimmed() : own);
}

void ensureSodium() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = sodium_init() >= 0; });
    if (!ready)
        fail(QStringLiteral("The password library could not be initialised."));
}

QByteArray hashPassword(const QString &password) {
    ensureSodium();
    const QByteArray plain = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, plain.constData(), quint64(plain.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        fail(QStringLiteral("Out of memory while protecting the password."));
    return QByteArray(hash);
}

bool passwordMatches(const QByteArray &hash, const QString &password) {
    ensureSodium();
    // crypto_pwhash_str_verify wants a NUL-terminated string of at most
    // crypto_pwhash_STRBYTES; anything longer is not one of our hashes.
    if (hash.isEmpty() || hash.size() >= qsizetype(crypto_pwhash_STRBYTES))
        return false;
    const QByteArray plain = password.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), plain.constData(), quint64(plain.size())) ==
           0;
}

// One connection to the data file, open for the life of the object.
class Connection {
public:
    explicit Connection(const QString &dataFile) {
        static QAtomicInteger<quint64> counter;
        FName = QStringLiteral("ledgerly-db-%1").arg(counter.fetchAndAddRelaxed(1));
        // SQLite would silently create a missing file; an empty database in
        // place of the user's book must never appear.
        const QFileInfo info(dataFile);
        if (!info.isFile())
            fail(QStringLiteral("Data file not found: %1").arg(dataFile));
        QString error;
        {
            FDb = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), FName);
            // mode=rw: open an existing file for reading and writing, never create one.
            const QString uri =
                QUrl::fromLocalFile(info.absoluteFilePath()).toString(QUrl::FullyEncoded) +
                QStringLiteral("?mode=rw");
            FDb.setDatabaseName(uri);
            FDb.setConnectOptions(
                QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
            if (!FDb.open()) {
                const QSqlError e = FDb.lastError();
                error = e.databaseText().trimmed().isEmpty() ? e.text() : e.databaseText();
                error = QStringLiteral("Cannot open the data file %1: %2").arg(dataFile, error);
            }
        }
        if (!error.isEmpty()) {
            FDb = QSqlDatabase();
            QSqlDatabase::removeDatabase(FName);
            fail(error);
        }
        try {
            // Rollback journal (the file is complete on its own when closed,
            // so a byte copy is a backup) and every commit on the disk.
            Exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
            Exec(QStringLiteral("PRAGMA synchronous=FULL"));
            // Room for the pages of a long period, so that the statements of
            // one search read the file once (taken only as it is used).
            Exec(QStringLiteral("PRAGMA cache_size=-65536"));
        } catch (...) {
            Close();
            throw;
        }
    }
    ~Connection() { Close(); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // A statement ready for binding; reading statements go forward only so
    // that rows are not cached a second time.
    QSqlQuery Prepare(const QString &sql) {
        QSqlQuery query(FDb);
        query.setForwardOnly(true);
        if (!query.prepare(sql))
            fail(query.lastError());
        return query;
    }

    void Exec(const QString &sql) {
        QSqlQuery query(FDb);
        query.setForwardOnly(true);
        if (!query.exec(sql))
            fail(query.lastError());
    }

    // The connection's own SQLite handle, for statements whose many rows are
    // read straight from the engine (the QSQLITE driver hands it out; it is
    // the system SQLite library that this program links as well).
    sqlite3 *Handle() {
        const QVariant handle = FDb.driver()->handle();
        sqlite3 *db = nullptr;
        if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
            db = *static_cast<sqlite3 *const *>(handle.constData());
        if (!db)
            fail(QStringLiteral("The database driver gave no SQLite connection."));
        return db;
    }

private:
    void Close() {
        if (FName.isEmpty())
            return;
        FDb.close();
        FDb = QSqlDatabase();
        QSqlDatabase::removeDatabase(FName);
        FName.clear();
    }

    QString FName;
    QSqlDatabase FDb;
};

void run(QSqlQuery &query) {
    if (!query.exec())
        fail(query.lastError());
}

// A transaction on an open connection: committed by Commit(), rolled back
// when it goes out of scope without (an error unwinding through it).
class Transaction {
public:
    // Writers take the write lock at once, so that two instances never meet
    // in a deadlock between a read and a write (busy waiting covers the rest).
    Transaction(Connection &connection, bool write) : FConnection(connection) {
        FConnection.Exec(write ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
    }
    ~Transaction() {
        if (!FDone) {
            try {
                FConnection.Exec(QStringLiteral("ROLLBACK"));
            } catch (...) {
                // The failure that got us here is the one reported.
            }
        }
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void Commit() {
        FConnection.Exec(QStringLiteral("COMMIT"));
        FDone = true;
    }

private:
    Connection &FConnection;
    bool FDone = false;
};

// A reading statement run straight on the SQLite handle: the rows of a long
// period are read without a variant and a UTF-16 copy per value.
class Statement {
public:
    Statement(sqlite3 *db, const QString &sql) : FDb(db) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(FDb, text.constData(), int(text.size()), &FStmt, nullptr) !=
            SQLITE_OK)
            Fail();
    }
    ~Statement() { sqlite3_finalize(FStmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void Bind(int index, const QString &text) {
        const QByteArray bytes = text.toUtf8();
        if (sqlite3_bind_text(FStmt, index, bytes.constData(), int(bytes.size()),
                              SQLITE_TRANSIENT) != SQLITE_OK)
            Fail();
    }
    bool Next() {
        const int rc = sqlite3_step(FStmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            Fail();
        return false;
    }
    QByteArrayView Text(int column) {
        const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(FStmt, column));
        return QByteArrayView(data, data ? sqlite3_column_bytes(FStmt, column) : 0);
    }
    double Real(int column) { return sqlite3_column_double(FStmt, column); }
    qint64 Integer(int column) { return sqlite3_column_int64(FStmt, column); }

private:
    [[noreturn]] void Fail() { fail(QString::fromUtf8(sqlite3_errmsg(FDb))); }

    sqlite3 *FDb;
    sqlite3_stmt *FStmt = nullptr;
};

// "MM/dd/yyyy" (a real calendar date) to the stored "yyyy-MM-dd".
QString storedDate(const QString &date) {
    const auto refuse = [&] {
        fail(QStringLiteral("\"%1\" is not a date; write it as mm/dd/yyyy, e.g. 12/31/2009.")
                 .arg(date));
    };
    if (date.size() != 10 || date[2] != u'/' || date[5] != u'/')
        refuse();
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (date[i] < u'0' || date[i] > u'9')
            refuse();
    const int month = date.mid(0, 2).toInt();
    const int day = date.mid(3, 2).toInt();
    const int year = date.mid(6, 4).toInt();
    if (!QDate(year, month, day).isValid())
        refuse();
    QString iso;
    iso.reserve(10);
    iso += QStringView(date).mid(6, 4);
    iso += u'-';
    iso += QStringView(date).mid(0, 2);
    iso += u'-';
    iso += QStringView(date).mid(3, 2);
    return iso;
}

[[noreturn]] void badStoredDate(QByteArrayView stored) {
    fail(QStringLiteral("A record holds an unreadable date: \"%1\".")
             .arg(QString::fromUtf8(stored.data(), stored.size())));
}

// Stored "yyyy-MM-dd" back to "MM/dd/yyyy".
QString shownDate(QByteArrayView iso) {
    if (iso.size() != 10 || iso[4] != '-' || iso[7] != '-')
        badStoredDate(iso);
    const char shown[10] = {iso[5], iso[6], '/',    iso[8], iso[9],
                            '/',    iso[0], iso[1], iso[2], iso[3]};
    return QString::fromLatin1(shown, 10);
}

// Stored "yyyy-MM" to the month label "MM/yyyy".
QString monthLabel(QByteArrayView yearMonth) {
    if (yearMonth.size() != 7 || yearMonth[4] != '-')
        badStoredDate(yearMonth);
    const char label[7] = {yearMonth[5], yearMonth[6], '/',         yearMonth[0],
                           yearMonth[1], yearMonth[2], yearMonth[3]};
    return QString::fromLatin1(label, 7);
}

// A stored text decoded; short values (all notes and categories in practice)
// go through a buffer on the stack.
QString decoded(QByteArrayView stored) {
    QVarLengthArray<char, 512> buffer(DecodedSizeBound(stored.size()));
    return QString::fromUtf8(buffer.data(), DecodeFieldInto(stored, buffer.data()));
}

void checkType(const QString &type) {
    if (type != QLatin1String("Expense") && type != QLatin1String("Income"))
        fail(
            QStringLiteral("\"%1\" is not a record type; it must be Expense or Income.").arg(type));
}

double amountValue(const QString &amount) {
    double value = 0;
    if (!IsDecimalText(amount.trimmed(), &value) || !std::isfinite(value))
        fail(QStringLiteral("\"%1\" is not an amount; write a plain number such as 12.50.")
                 .arg(amount));
    return value;
}

qint64 recordId(const QString &id) {
    bool ok = false;
    const qint64 value = id.trimmed().toLongLong(&ok);
    if (!ok)
        fail(QStringLiteral("\"%1\" is not a record number.").arg(id));
    return value;
}

// "%0.2f", as FormatAmount writes it, without its cost for the usual
// values; a sum that rounds to nothing is shown as 0.00, never as -0.00.
QString money(double value) {
    // Fast path: when value * 100 lies well away from a halfway point (always
    // so for amounts of whole cents and their sums), its nearest integer is
    // the correctly rounded number of cents, the digits printf would write.
    const double cents = value * 100;
    if (std::fabs(cents) < 1e15) {
        const double whole = std::nearbyint(cents);
        if (std::fabs(cents - whole) < 0.25) {
            qint64 n = qint64(whole);
            const bool negative = n < 0;
            if (negative)
                n = -n;
            char buf[24];
            char *p = buf + sizeof buf;
            *--p = char('0' + n % 10);
            *--p = char('0' + n / 10 % 10);
            *--p = '.';
            n /= 100;
            do {
                *--p = char('0' + n % 10);
                n /= 10;
            } while (n);
            if (negative)
                *--p = '-';
            return QString::fromLatin1(p, buf + sizeof buf - p);
        }
    }
    // Near a halfway point: the same digits as the entry windows show.
    const QString text = FormatAmount(value);
    return text == QLatin1String("-0.00") ? QStringLiteral("0.00") : text;
}

// A category's share of its type's total, "%0.2f%%"; 0.00% where the total is
// nothing (only amounts below a cent can make it so), never nan or inf.
QString share(double sum, double total) {
    if (total == 0 || !std::isfinite(total))
        return QStringLiteral("0.00%");
    return money(sum * 100 / total) + u'%';
}

// Decodes stored categories once per distinct value: a period has few
// categories and many records.
class CategoryNames {
public:
    const QString &Decode(QByteArrayView stored) {
        // Looked up without copying the key; copied only when it is new.
        auto it = FNames.constFind(QByteArray::fromRawData(stored.data(), stored.size()));
        if (it == FNames.constEnd())
            it = FNames.insert(stored.toByteArray(), decoded(stored));
        return it.value();
    }

private:
    QHash<QByteArray, QString> FNames;
};

const QString kUserRows = QStringLiteral("select name, pwd from users where name = ?");

struct RecordValues {
    QString Date;
    QString Type;
    QString Category;
    double Amount = 0;
    QString Notes;
};

RecordValues checkedRecord(const QString &date, const QString &type, const QString &category,
                           const QString &amount, const QString &notes) {
    RecordValues rec;
    rec.Date = storedDate(date);
    checkType(type);
    rec.Type = type;
    rec.Category = TKestrel::EncodeField(category);
    rec.Amount = amountValue(amount);
    rec.Notes = TKestrel::EncodeField(notes);
    return rec;
}

const QString kInsertRecord = QStringLiteral(
    "insert into data (user, date, type, cate, amount, notes) values (?, ?, ?, ?, ?, ?)");

void insertRecord(QSqlQuery &insert, const QString &storedUser, const RecordValues &rec) {
    insert.bindValue(0, storedUser);
    insert.bindValue(1, rec.Date);
    insert.bindValue(2, rec.Type);
    insert.bindValue(3, rec.Category);
    insert.bindValue(4, rec.Amount);
    insert.bindValue(5, rec.Notes);
    run(insert);
}

// The period filter of every summary statement.
const QString kPeriod = QStringLiteral("user = ?1 and date >= ?2 and date <= ?3");

void bindPeriod(Statement &query, const QString &user, const QString &from, const QString &to) {
    query.Bind(1, user);
    query.Bind(2, from);
    query.Bind(3, to);
}

} // namespace

TDbMan::TDbMan(const QString &dataFile) : FDataFile(dataFile) {}

TDbMan::~TDbMan() = default;

bool TDbMan::AddUser(const QString &name, const QString &password) {
    const QByteArray hash = hashPassword(password); // before the file is touched: it is slow
    {
        Connection db(FDataFile);
        QSqlQuery insert =
            db.Prepare(QStringLiteral("insert into users (name, pwd) values (?, ?)"));
        insert.bindValue(0, TKestrel::EncodeField(name));
        insert.bindValue(1, QString::fromLatin1(hash));
        run(insert);
    }
    return UserExists(name);
}

bool TDbMan::DeleteUser(const QString &name) {
    {
        Connection db(FDataFile);
        QSqlQuery del = db.Prepare(QStringLiteral("delete from users where name = ?"));
        del.bindValue(0, TKestrel::EncodeField(name));
        run(del);
    }
    return !UserExists(name);
}

bool TDbMan::UserExists(const QString &name) {
    Connection db(FDataFile);
    QSqlQuery query = db.Prepare(QStringLiteral("select 1 from users where name = ? limit 1"));
    query.bindValue(0, TKestrel::EncodeField(name));
    run(query);
    return query.next();
}

bool TDbMan::CheckPassword(const QString &name, const QString &password) {
    QList<QByteArray> hashes;
    {
        Connection db(FDataFile);
        QSqlQuery query = db.Prepare(kUserRows);
        query.bindValue(0, TKestrel::EncodeField(name));
        run(query);
        while (query.next())
            hashes << query.value(1).toString().toLatin1();
    }
    // Verified with the file closed: hashing takes a while.
    for (const QByteArray &hash : std::as_const(hashes))
        if (passwordMatches(hash, password))
            return true;
    return false;
}

QString TDbMan::GetUserNames() {
    QString names;
    {
        Connection db(FDataFile);
        // Newest row first: a sign-in re-inserts the user, so the user who
        // signed in last heads the list.
        QSqlQuery query = db.Prepare(QStringLiteral("select name from users order by rowid desc"));
        run(query);
        while (query.next()) {
            names += QLatin1String("\r\n");
            names += DecodeField(query.value(0).toString());
        }
    }
    // Blanks and control characters at both ends go (the first line break too).
    qsizetype begin = 0, end = names.size();
    while (begin < end && names.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && names.at(end - 1).unicode() <= 0x20)
        --end;
    return names.mid(begin, end - begin);
}

namespace {

// Both category lists of a user, empty when the user has no row yet.
QPair<QString, QString> readCategories(Connection &db, const QString &storedUser) {
    QSqlQuery query = db.Prepare(
        QStringLiteral("select out, \"in\" from cates where user = ? order by rowid limit 1"));
    query.bindValue(0, storedUser);
    run(query);
    if (!query.next())
        return {};
    return {DecodeField(query.value(0).toString()), DecodeField(query.value(1).toString())};
}

} // namespace

QString TDbMan::GetCategories(const QString &user, const QString &listName) {
    if (listName != QLatin1String("out") && listName != QLatin1String("in"))
        fail(QStringLiteral("\"%1\" is not a category list; it must be out or in.").arg(listName));
    Connection db(FDataFile);
    const auto lists = readCategories(db, TKestrel::EncodeField(user));
    return listName == QLatin1String("out") ? lists.first : lists.second;
}

void TDbMan::SetCategories(const QString &user, const QString &listName, const QString &text) {
    const QString storedUser = TKestrel::EncodeField(user);
    Connection db(FDataFile);
    Transaction tr(db, true);
    auto [outText, inText] = readCategories(db, storedUser);
    if (listName == QLatin1String("out"))
        outText = text;
    if (listName == QLatin1String("in"))
        inText = text;
    {
        QSqlQuery del = db.Prepare(QStringLiteral("delete from cates where user = ?"));
        del.bindValue(0, storedUser);
        run(del);
        QSqlQuery insert =
            db.Prepare(QStringLiteral("insert into cates (user, out, \"in\") values (?, ?, ?)"));
        insert.bindValue(0, storedUser);
        insert.bindValue(1, TKestrel::EncodeField(outText));
        insert.bindValue(2, TKestrel::EncodeField(inText));
        run(insert);
    }
    tr.Commit();
}

void TDbMan::QueryPeriod(const QString &user, const QString &dateFrom, const QString &dateTo,
                         double &expenseTotal, double &incomeTotal, TStringsArray &dayRows,
                         TStringsArray &monthRows, TStringsArray &transRows,
                         TStringsArray &expenseCateRows, TStringsArray &incomeCateRows) {
    const QString storedUser = TKestrel::EncodeField(user);
    const QString from = storedDate(dateFrom);
    const QString to = storedDate(dateTo);
    expenseTotal = 0;
    incomeTotal = 0;

    Connection db(FDataFile);
    // One read transaction: all six results describe the same state of the
    // file even when another instance writes meanwhile.
    Transaction tr(db, false);
    sqlite3 *handle = db.Handle();
    const QString sums =
        QStringLiteral("total(case when type = 'Expense' then amount else 0 end) as outsum, "
                       "total(case when type = 'Income' then amount else 0 end) as insum, "
                       "count(*)");
    {
        Statement query(handle, QStringLiteral("select %1 from data where %2").arg(sums, kPeriod));
        bindPeriod(query, storedUser, from, to);
        if (query.Next()) {
            expenseTotal = query.Real(0);
            incomeTotal = query.Real(1);
            transRows.reserve(transRows.size() + query.Integer(2));
        }
    }
    {
        Statement query(
            handle, QStringLiteral("select date, %1 from data where %2 group by date order by date")
                        .arg(sums, kPeriod));
        bindPeriod(query, storedUser, from, to);
        while (query.Next())
            dayRows.append(
                QStringList{shownDate(query.Text(0)), money(query.Real(2)), money(query.Real(1))});
    }
    {
        // Months are summed from the day sums, so that only one row per day
        // has to be regrouped.
        Statement query(
            handle,
            QStringLiteral("select substr(date, 1, 7) as month, total(outsum), total(insum) from "
                           "(select date, %1 from data where %2 group by date) "
                           "group by month order by month")
                .arg(sums, kPeriod));
        bindPeriod(query, storedUser, from, to);
        while (query.Next())
            monthRows.append(
                QStringList{monthLabel(query.Text(0)), money(query.Real(2)), money(query.Real(1))});
    }
    CategoryNames categories;
    {
        Statement query(handle, QStringLiteral("select id, date, type, cate, amount, notes "
                                               "from data where %1 "
                                               "order by date asc, type desc, id asc")
                                    .arg(kPeriod));
        bindPeriod(query, storedUser, from, to);
        QByteArray lastIso;
        QString lastDate;
        while (query.Next()) {
            const QByteArrayView iso = query.Text(1);
            if (iso != lastIso) {
                lastDate = shownDate(iso);
                lastIso = iso.toByteArray();
            }
            // The amount goes to the column of the record's type.
            const QByteArrayView type = query.Text(2);
            bool income = type == "Income";
            bool expense = type == "Expense";
            if (!income && !expense) {
                const QByteArray kind = type.trimmed().toByteArray().toLower();
                income = kind == "income";
                expense = kind == "expense";
            }
            const QString amount = income || expense ? money(query.Real(4)) : QString();
            transRows.append(QStringList{
                QString::number(query.Integer(0)), lastDate, categories.Decode(query.Text(3)),
                income ? amount : QString(), expense ? amount : QString(), decoded(query.Text(5))});
        }
    }
    const auto cateRows = [&](const QString &type, double total, TStringsArray &rows) {
        Statement query(handle,
                        QStringLiteral("select cate, count(*), total(amount) as s from data where "
                                       "%1 and type = ?4 group by cate order by s desc, cate")
                            .arg(kPeriod));
        bindPeriod(query, storedUser, from, to);
        query.Bind(4, type);
        while (query.Next()) {
            const double sum = query.Real(2);
            rows.append(QStringList{type, categories.Decode(query.Text(0)),
                                    QString::number(query.Integer(1)), money(sum),
                                    share(sum, total)});
        }
    };
    cateRows(QStringLiteral("Expense"), expenseTotal, expenseCateRows);
    cateRows(QStringLiteral("Income"), incomeTotal, incomeCateRows);
    tr.Commit();
}

void TDbMan::QueryCategoryRecords(const QString &user, const QString &dateFrom,
                                  const QString &dateTo, const QString &type,
                                  const QString &category, TStringsArray &rows) {
    const QString storedUser = TKestrel::EncodeField(user);
    const QString from = storedDate(dateFrom);
    const QString to = storedDate(dateTo);
    checkType(type);
    const QString storedCategory = TKestrel::EncodeField(category);
    Connection db(FDataFile);
    Statement query(db.Handle(), QStringLiteral("select date, amount, notes from data "
                                                "where %1 and type = ?4 and cate = ?5 "
                                                "order by date asc, id asc")
                                     .arg(kPeriod));
    bindPeriod(query, storedUser, from, to);
    query.Bind(4, type);
    query.Bind(5, storedCategory);
    // Every row has the category asked for (matched exactly as stored).
    const QString shownCategory = DecodeField(storedCategory);
    while (query.Next())
        rows.append(QStringList{shownDate(query.Text(0)), shownCategory, money(query.Real(1)),
                                decoded(query.Text(2))});
}

void TDbMan::AddRecord(const QString &user, const QString &date, const QString &type,
                       const QString &category, const QString &amount, const QString &notes) {
    const RecordValues rec = checkedRecord(date, type, category, amount, notes);
    Connection db(FDataFile);
    QSqlQuery insert = db.Prepare(kInsertRecord);
    insertRecord(insert, TKestrel::EncodeField(user), rec);
}

void TDbMan::AddRecords(const QString &user, const TStringsArray &rows) {
    // Every row is checked before anything is stored.
    QList<RecordValues> records;
    records.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QStringList &row = rows.at(i);
        if (row.size() < 5)
            fail(QStringLiteral("Row %1 of the list has %2 values; a record needs date, type, "
                                "category, amount and notes.")
                     .arg(i + 1)
                     .arg(row.size()));
        records << checkedRecord(row.at(0), row.at(1), row.at(2), row.at(3), row.at(4));
    }
    const QString storedUser = TKestrel::EncodeField(user);
    Connection db(FDataFile);
    Transaction tr(db, true);
    {
        QSqlQuery insert = db.Prepare(kInsertRecord);
        for (const RecordValues &rec : std::as_const(records))
            insertRecord(insert, storedUser, rec);
    }
    tr.Commit();
}

void TDbMan::DeleteRecord(const QString &id) {
    const qint64 value = recordId(id);
    Connection db(FDataFile);
    QSqlQuery del = db.Prepare(QStringLiteral("delete from data where id = ?"));
    del.bindValue(0, value);
    run(del);
}

// Deletes every row of the user and inserts one with the given hash, so the
// user becomes the newest row (the head of the sign-in list).
static void replaceUserRow(Connection &db, const QString &storedName, const QByteArray &hash) {
    QSqlQuery del = db.Prepare(QStringLiteral("delete from users where name = ?"));
    del.bindValue(0, storedName);
    run(del);
    QSqlQuery insert = db.Prepare(QStringLiteral("insert into users (name, pwd) values (?, ?)"));
    insert.bindValue(0, storedName);
    insert.bindValue(1, QString::fromLatin1(hash));
    run(insert);
}

void TDbMan::ReinsertUser(const QString &name, const QString &password) {
    const QString storedName = TKestrel::EncodeField(name);
    Connection db(FDataFile);
    Transaction tr(db, true);
    QList<QByteArray> hashes;
    {
        QSqlQuery query = db.Prepare(kUserRows);
        query.bindValue(0, storedName);
        run(query);
        while (query.next())
            hashes << query.value(1).toString().toLatin1();
    }
    // The row moves with its own hash, so the password stays exactly what it
    // was: this never sets a password. Only where one name has several rows
    // does the password pick the one to keep (the rest go, as at any sign-in).
    QByteArray hash;
    if (hashes.size() == 1) {
        hash = hashes.first();
    } else {
        for (const QByteArray &h : std::as_const(hashes)) {
            if (passwordMatches(h, password)) {
                hash = h;
                break;
            }
        }
    }
    if (hash.isEmpty())
        fail(hashes.isEmpty() ? QStringLiteral("There is no user \"%1\" (any more).").arg(name)
                              : QStringLiteral("Wrong password for \"%1\".").arg(name));
    replaceUserRow(db, storedName, hash);
    tr.Commit();
}

void TDbMan::SetPassword(const QString &name, const QString &password) {
    const QByteArray hash = hashPassword(password);
    const QString storedName = TKestrel::EncodeField(name);
    Connection db(FDataFile);
    Transaction tr(db, true);
    replaceUserRow(db, storedName, hash);
    tr.Commit();
}

void TDbMan::ReplaceRecord(const QString &id, const QString &user, const QString &date,
                           const QString &type, const QString &category, const QString &amount,
                           const QString &notes) {
    const qint64 oldId = recordId(id);
    const RecordValues rec = checkedRecord(date, type, category, amount, notes);
    Connection db(FDataFile);
    Transaction tr(db, true);
    {
        // Only the user's own record is replaced; when it is gone (another
        // instance deleted it), nothing is inserted, or the edit would bring
        // a deleted record back.
        QSqlQuery del = db.Prepare(QStringLiteral("delete from data where id = ? and user = ?"));
        del.bindValue(0, oldId);
        del.bindValue(1, TKestrel::EncodeField(user));
        run(del);
        if (del.numRowsAffected() < 1)
            throw TDbError("The record to edit no longer exists. Search again to see the "
                           "current records.");
        QSqlQuery insert = db.Prepare(kInsertRecord);
        insertRecord(insert, TKestrel::EncodeField(user), rec);
    }
    tr.Commit();
}
