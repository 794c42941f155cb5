#include "bench/BookGenerator.h"

#include "store/DbClass.h"
#include "store/FieldCodec.h"
#include "store/ProgramFiles.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <unistd.h>

#include <cmath>
#include <random>
#include <stdexcept>

namespace {

void check(sqlite3 *db, int rc, const char *what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(std::string("book generator: ") + what + ": " +
                                 sqlite3_errmsg(db));
}

void exec(sqlite3 *db, const char *sql) {
    check(db, sqlite3_exec(db, sql, nullptr, nullptr, nullptr), sql);
}

QString templatePath() {
    return QDir(ProgramFolder()).filePath("db.ledgerly");
}

const char *const kWords[] = {
    "lunch",  "dinner",   "with",     "family",  "friends",  "weekly",   "shop",    "market",
    "bus",    "train",    "ticket",   "monthly", "bill",     "paid",     "cash",    "card",
    "gift",   "for",      "mother",   "father",  "birthday", "party",    "coffee",  "bakery",
    "repair", "bike",     "car",      "fuel",    "station",  "parking",  "school",  "books",
    "office", "paper",    "printer",  "ink",     "doctor",   "pharmacy", "dentist", "glasses",
    "cinema", "concert",  "museum",   "zoo",     "holiday",  "hotel",    "flight",  "taxi",
    "rent",   "water",    "power",    "gas",     "phone",    "internet", "tv",      "club",
    "bonus",  "refund",   "interest", "salary",  "dividend", "sale",     "old",     "new",
    "garden", "plants",   "seeds",    "tools",   "paint",    "kitchen",  "chairs",  "table",
    "Café",   "O'Neil's", "\"best\"", "deal",    "half",     "price",    "again",   "late"};

} // namespace

QStringList TBookGenerator::UserNames() {
    return {"alice", "bob", "carol", "dave", QString::fromUtf8("Zoë")};
}

QStringList TBookGenerator::ExpenseCategories() {
    return {"Food",     "Rent",   "Transport", "Utilities", "Phone",     "Internet",
            "Clothes",  "Health", "Dentist",   "Books",     "Education", "Gifts",
            "Holidays", "Car",    "Fuel",      "Insurance", "Taxes",     "Garden",
            "Home",     "Kids",   "Pets",      "Fun",       "Café",      "O'Neil's pub"};
}

QStringList TBookGenerator::IncomeCategories() {
    return {"Salary", "Bonus", "Interest", "Dividends", "Sales", "Gifts received"};
}

bool TBookGenerator::Sealed() {
    return qgetenv("LEDGERLY_BENCH_SEALED") == "1";
}

QString TBookGenerator::BookPath() {
    return Sealed() ? SealedBookPath() : PlainBookPath();
}

QString TBookGenerator::PlainBookPath() {
    return Cached(QStringLiteral("book-1m"), &Generate);
}

QString TBookGenerator::SealedBookPath() {
    return Cached(QStringLiteral("book-1m-sealed"), &Seal);
}

void TBookGenerator::SignIn(TDbMan &db, const QString &user) {
    if (!Sealed() || db.HasKey(user))
        return;
    if (!db.CheckPassword(user, Password()))
        throw std::runtime_error("book generator: " + user.toStdString() + " cannot sign in");
    // The sealed book is cached: one sealed by a build that sealed values
    // otherwise would be measured as unreadable records. Checked once.
    static bool readable = false;
    if (!readable && db.ReadPeriod(user, LastDay().addDays(-30), LastDay()).Unreadable != 0)
        throw std::runtime_error("book generator: this build cannot read the sealed book " +
                                 SealedBookPath().toStdString() +
                                 "; delete it to have it made again");
    readable = true;
}

QString TBookGenerator::Cached(const QString &name, void (*make)(const QString &path)) {
    // The cache name carries a digest of the empty data file, so a change of
    // schema or indexes makes a new book, and of the generator's own
    // version, for a change of what it writes (since 2: users without keys).
    QFile tmpl(templatePath());
    if (!tmpl.open(QIODevice::ReadOnly))
        throw std::runtime_error("book generator: no empty data file at " +
                                 templatePath().toStdString());
    const QByteArray tag =
        QCryptographicHash::hash(tmpl.readAll() + "generator 2", QCryptographicHash::Sha1)
            .toHex()
            .left(10);
    const QString dir = QDir(ProgramFolder()).filePath("bench");
    QDir().mkpath(dir);
    const QString path = QDir(dir).filePath(QStringLiteral("%1-%2.ledgerly").arg(name, tag));
    if (!QFileInfo::exists(path)) {
        // Made under a name of this process and renamed when complete, so a
        // second benchmark started meanwhile never sees half a book.
        const QString tmp =
            QStringLiteral("%1.part-%2").arg(path).arg(QCoreApplication::applicationPid());
        QFile::remove(tmp);
        try {
            make(tmp);
        } catch (...) {
            QFile::remove(tmp);
            throw;
        }
        if (!QFileInfo::exists(path) && !QFile::rename(tmp, path))
            throw std::runtime_error("book generator: cannot rename " + tmp.toStdString());
        QFile::remove(tmp);
    }
    return path;
}

QString TBookGenerator::WritableCopy(const QString &folder) {
    return CopyOf(BookPath(), folder);
}

QString TBookGenerator::CopyOf(const QString &book, const QString &folder) {
    const QString copy = QDir(folder).filePath("book-copy.ledgerly");
    QFile::remove(copy);
    if (!QFile::copy(book, copy))
        throw std::runtime_error("book generator: cannot copy the book to " + copy.toStdString());
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    // Written out now: else the first commit into the copy (a sync of the
    // file) would write all of it out and count it to the benchmark.
    QFile written(copy);
    if (!written.open(QIODevice::ReadWrite) || ::fsync(written.handle()) != 0)
        throw std::runtime_error("book generator: cannot sync " + copy.toStdString());
    return copy;
}

void TBookGenerator::Seal(const QString &path) {
    // Each user's first sign-in with this Ledgerly, one after the other, on
    // a copy of the plain book: the file as it is after the upgrade.
    if (!QFile::copy(PlainBookPath(), path))
        throw std::runtime_error("book generator: cannot create " + path.toStdString());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    for (const QString &user : UserNames()) {
        TDbMan db(path);
        if (!db.CheckPassword(user, Password()))
            throw std::runtime_error("book generator: " + user.toStdString() + " cannot sign in");
        db.SealBook(user, Password());
        if (db.PlainRecords(user) != 0)
            throw std::runtime_error("book generator: the book of " + user.toStdString() +
                                     " is not sealed");
    }
}

void TBookGenerator::Generate(const QString &path) {
    if (!QFile::copy(templatePath(), path))
        throw std::runtime_error("book generator: cannot create " + path.toStdString());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);

    // Users with real password hashes, through the store. The store gives
    // each a data key; the keys are taken out again below, so the book is
    // as an earlier Ledgerly wrote it and the category lists (written by a
    // store without keys) and records are plain.
    {
        TDbMan db(path);
        for (const QString &user : UserNames())
            db.AddUser(user, Password());
    }

    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("book generator: cannot open " + path.toStdString());
    }
    try {
        exec(db, "update users set key = ''");
        exec(db, "PRAGMA journal_mode=OFF");
        exec(db, "PRAGMA synchronous=OFF");
        // Indexes are dropped for the bulk insert and made again afterwards.
        QList<QByteArray> indexes;
        {
            sqlite3_stmt *st = nullptr;
            check(db,
                  sqlite3_prepare_v2(db,
                                     "select name, sql from sqlite_master where type = 'index' "
                                     "and tbl_name = 'data' and sql is not null",
                                     -1, &st, nullptr),
                  "list indexes");
            QList<QByteArray> names;
            while (sqlite3_step(st) == SQLITE_ROW) {
                names << reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
                indexes << reinterpret_cast<const char *>(sqlite3_column_text(st, 1));
            }
            sqlite3_finalize(st);
            for (const QByteArray &name : names)
                exec(db, ("DROP INDEX \"" + name + "\"").constData());
        }
        exec(db, "BEGIN");
        sqlite3_stmt *ins = nullptr;
        check(db,
              sqlite3_prepare_v2(db,
                                 "insert into data (user, date, type, cate, amount, notes) "
                                 "values (?, ?, ?, ?, ?, ?)",
                                 -1, &ins, nullptr),
              "prepare insert");

        std::mt19937_64 rng(20110315);
        const auto below = [&](int n) { return int(rng() % unsigned(n)); };
        std::uniform_real_distribution<double> unit(0.0, 1.0);

        const auto encodeAll = [](const QStringList &list) {
            QList<QByteArray> out;
            for (const QString &s : list)
                out << EncodeField(s).toLatin1();
            return out;
        };
        const QList<QByteArray> users = encodeAll(UserNames());
        const QList<QByteArray> outCates = encodeAll(ExpenseCategories());
        const QList<QByteArray> inCates = encodeAll(IncomeCategories());
        const int days = int(FirstDay().daysTo(LastDay())) + 1;
        QByteArray iso;
        int isoDay = -1;
        for (int i = 0; i < kRecords; ++i) {
            // Records come in date order, as they are kept day by day.
            const int day = int(qint64(i) * days / kRecords);
            if (day != isoDay) {
                iso = FirstDay().addDays(day).toString(Qt::ISODate).toLatin1();
                isoDay = day;
            }
            const bool income = below(100) < 15;
            // Category popularity falls off: earlier categories are used more.
            const QList<QByteArray> &cates = income ? inCates : outCates;
            const int cate = int(std::pow(unit(rng), 2.0) * cates.size());
            // Amounts in cents, log-uniform: 1.00-500.00, income 50.00-5000.00.
            const double lo = income ? 5000 : 100, hi = income ? 500000 : 50000;
            const qint64 cents = qint64(lo * std::pow(hi / lo, unit(rng)));
            QString notes;
            if (below(100) < 60) {
                const int words = 1 + below(5);
                for (int w = 0; w < words; ++w) {
                    if (w)
                        notes += ' ';
                    notes += QString::fromUtf8(kWords[below(int(std::size(kWords)))]);
                }
            }
            const QByteArray storedNotes = EncodeField(notes).toLatin1();
            const QByteArray &user = users[below(int(users.size()))];
            sqlite3_bind_text(ins, 1, user.constData(), int(user.size()), SQLITE_STATIC);
            sqlite3_bind_text(ins, 2, iso.constData(), int(iso.size()), SQLITE_STATIC);
            sqlite3_bind_text(ins, 3, income ? "Income" : "Expense", -1, SQLITE_STATIC);
            sqlite3_bind_text(ins, 4, cates[cate].constData(), int(cates[cate].size()),
                              SQLITE_STATIC);
            sqlite3_bind_double(ins, 5, double(cents) / 100.0);
            sqlite3_bind_text(ins, 6, storedNotes.constData(), int(storedNotes.size()),
                              SQLITE_TRANSIENT);
            check(db, sqlite3_step(ins), "insert");
            sqlite3_reset(ins);
        }
        sqlite3_finalize(ins);
        for (const QByteArray &sql : indexes)
            exec(db, sql.constData());
        exec(db, "COMMIT");
        exec(db, "PRAGMA journal_mode=DELETE");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
    TDbMan plain(path);
    for (const QString &user : UserNames()) {
        plain.SetCategories(user, "out", ExpenseCategories());
        plain.SetCategories(user, "in", IncomeCategories());
    }
}
