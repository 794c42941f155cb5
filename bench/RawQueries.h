#pragma once

#include <QString>

// The statements of a period search run straight through the sqlite3 C API,
// without Qt and without building result rows: the floor that the data store
// (and the windows above it) are measured against.
class TRawQueries {
public:
    // Runs the six statements of a period search on `dataFile` for `user`
    // (plain name) and the period (mm/dd/yyyy), stepping every row and
    // reading every value in its own type. Returns the number of rows stepped.
    static long long QueryPeriod(const QString &dataFile, const QString &user,
                                 const QString &dateFrom, const QString &dateTo);
    // One range scan of the user's records of the period in list order,
    // stepping every row and reading every column in its own type: the floor
    // of a search that reads its records once.
    static long long Scan(const QString &dataFile, const QString &user, const QString &dateFrom,
                          const QString &dateTo);
};
