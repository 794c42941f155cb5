-- The empty Ledgerly data file. Every user-typed text is stored as one-line
-- Base64 of its UTF-8 bytes, or, once its user has signed in, sealed (a
-- blob) under that user's data key; dates are ISO yyyy-MM-dd text so that
-- SQLite orders and filters them; amounts are plain numbers (0 in a sealed
-- record, whose amount is sealed with its category and notes).
PRAGMA journal_mode = DELETE;
-- The format version of the file (TDataFile::kFormatVersion): older files are
-- upgraded at sign-in, newer ones refused.
PRAGMA user_version = 5;
-- key: the user's data key wrapped under a key derived from the password
-- (empty until the user's first sign-in with this format).
CREATE TABLE users (
    name TEXT NOT NULL DEFAULT '',
    pwd  TEXT NOT NULL DEFAULT '',
    key  BLOB NOT NULL DEFAULT ''
);
CREATE TABLE cates (
    user TEXT NOT NULL DEFAULT '',
    out  TEXT NOT NULL DEFAULT '',
    "in" TEXT NOT NULL DEFAULT ''
);
CREATE TABLE data (
    id     INTEGER PRIMARY KEY AUTOINCREMENT,
    user   TEXT NOT NULL DEFAULT '',
    date   TEXT NOT NULL,
    type   TEXT NOT NULL,
    cate   TEXT NOT NULL DEFAULT '',
    amount REAL NOT NULL,
    notes  TEXT NOT NULL DEFAULT ''
);
-- The one index of the records: a period of one user is a range of it (user,
-- then date), and it carries every column, so the period statements never
-- visit the table. Within a day it is ordered as the transaction list is:
-- Income before Expense, then by id.
CREATE INDEX data_user_date ON data (user, date, type DESC, id, cate, amount, notes);
-- The records still plain (not sealed under their user's key): found at
-- sign-in without reading the user's whole book; empty once all are sealed.
CREATE INDEX data_plain ON data (user) WHERE typeof(notes) <> 'blob';
-- Statement import, per user: the category rules in the order they are tried
-- ("payee or memo contains text -> cate", for the lines of type "out", "in"
-- or "both"), the bank profiles (a statement layout kept under a name) and
-- the bank ids (OFX FITIDs) of the imported entries, unique within one
-- account of a bank.
CREATE TABLE rules (
    user TEXT NOT NULL DEFAULT '',
    pos  INTEGER NOT NULL DEFAULT 0,
    text TEXT NOT NULL DEFAULT '',
    cate TEXT NOT NULL DEFAULT '',
    type TEXT NOT NULL DEFAULT 'out'
);
CREATE INDEX rules_user ON rules (user, pos);
CREATE TABLE profiles (
    user   TEXT NOT NULL DEFAULT '',
    name   TEXT NOT NULL DEFAULT '',
    layout TEXT NOT NULL DEFAULT ''
);
CREATE UNIQUE INDEX profiles_user_name ON profiles (user, name);
CREATE TABLE fitids (
    user    TEXT NOT NULL DEFAULT '',
    account TEXT NOT NULL DEFAULT '',
    fitid   TEXT NOT NULL DEFAULT ''
);
CREATE UNIQUE INDEX fitids_user_account ON fitids (user, account, fitid);

-- Planning, per user: a monthly budget in cents per type and category (no
-- row: no budget), and the recurring entries, each the record it makes (type,
-- category, amount in cents, notes) on the dates of its schedule (every
-- "every" days, weeks, months or years from first_day, up to last_day when
-- one is set) and the date up to which it is booked (empty: nothing yet).
-- Ids are never used again, so that a pending row names its entry.
CREATE TABLE budgets (
    id    INTEGER PRIMARY KEY,
    user  TEXT NOT NULL DEFAULT '',
    type  TEXT NOT NULL DEFAULT 'Expense',
    cate  TEXT NOT NULL DEFAULT '',
    cents INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX budgets_user ON budgets (user);
CREATE TABLE recurring (
    id        INTEGER PRIMARY KEY AUTOINCREMENT,
    user      TEXT NOT NULL DEFAULT '',
    type      TEXT NOT NULL DEFAULT 'Expense',
    cate      TEXT NOT NULL DEFAULT '',
    cents     INTEGER NOT NULL DEFAULT 0,
    notes     TEXT NOT NULL DEFAULT '',
    first_day TEXT NOT NULL DEFAULT '',
    every     INTEGER NOT NULL DEFAULT 1,
    unit      TEXT NOT NULL DEFAULT 'month',
    last_day  TEXT NOT NULL DEFAULT '',
    booked    TEXT NOT NULL DEFAULT ''
);
CREATE INDEX recurring_user ON recurring (user);
