#include "bench/RawQueries.h"

#include "store/FieldCodec.h"

#include <QDate>
#include <QFile>

#include <sqlite3.h>

#include <initializer_list>
#include <stdexcept>

namespace {

// The same statements as the data store's period search.
const char *const kStatements[] = {
    "select total(case when type = 'Expense' then amount else 0 end), "
    "total(case when type = 'Income' then amount else 0 end) "
    "from data where user = ?1 and date >= ?2 and date <= ?3",
    "select date, total(case when type = 'Expense' then amount else 0 end), "
    "total(case when type = 'Income' then amount else 0 end) "
    "from data where user = ?1 and date >= ?2 and date <= ?3 group by date order by date",
    "select substr(date, 1, 7) as month, total(outsum), total(insum) from "
    "(select date, total(case when type = 'Expense' then amount else 0 end) as outsum, "
    "total(case when type = 'Income' then amount else 0 end) as insum "
    "from data where user = ?1 and date >= ?2 and date <= ?3 group by date) "
    "group by month order by month",
    "select id, date, type, cate, amount, notes from data "
    "where user = ?1 and date >= ?2 and date <= ?3 order by date asc, type desc, id asc",
    "select cate, count(*), total(amount) as s from data "
    "where user = ?1 and date >= ?2 and date <= ?3 and type = 'Expense' "
    "group by cate order by s desc, cate",
    "select cate, count(*), total(amount) as s from data "
    "where user = ?1 and date >= ?2 and date <= ?3 and type = 'Income' "
    "group by cate order by s desc, cate",
};

QByteArray iso(const QString &mdy) {
    return QDate::fromString(mdy, "MM/dd/yyyy").toString(Qt::ISODate).toLatin1();
}

// Runs `statements` in one read transaction, stepping every row and reading
// every value in its own type, as the store reads it.
long long runStatements(const QString &dataFile, const QString &user, const QString &dateFrom,
                        const QString &dateTo, std::initializer_list<const char *> statements) {
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(dataFile).constData(), &db, SQLITE_OPEN_READWRITE,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + dataFile.toStdString());
    }
    const QByteArray storedUser = EncodeField(user).toLatin1();
    const QByteArray from = iso(dateFrom), to = iso(dateTo);
    long long rows = 0;
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const char *sql : statements) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
            const std::string message = sqlite3_errmsg(db);
            sqlite3_close(db);
            throw std::runtime_error(message);
        }
        sqlite3_bind_text(st, 1, storedUser.constData(), int(storedUser.size()), SQLITE_STATIC);
        sqlite3_bind_text(st, 2, from.constData(), int(from.size()), SQLITE_STATIC);
        sqlite3_bind_text(st, 3, to.constData(), int(to.size()), SQLITE_STATIC);
        const int columns = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(st, c)) {
                case SQLITE_INTEGER:
                    (void)sqlite3_column_int64(st, c);
                    break;
                case SQLITE_FLOAT:
                    (void)sqlite3_column_double(st, c);
                    break;
                default:
                    (void)sqlite3_column_text(st, c);
                }
            }
            ++rows;
        }
        sqlite3_finalize(st);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rows;
}

} // namespace

long long TRawQueries::QueryPeriod(const QString &dataFile, const QString &user,
                                   const QString &dateFrom, const QString &dateTo) {
    return runStatements(dataFile, user, dateFrom, dateTo,
                         {kStatements[0], kStatements[1], kStatements[2], kStatements[3],
                          kStatements[4], kStatements[5]});
}

long long TRawQueries::Scan(const QString &dataFile, const QString &user, const QString &dateFrom,
                            const QString &dateTo) {
    return runStatements(dataFile, user, dateFrom, dateTo, {kStatements[3]});
}
