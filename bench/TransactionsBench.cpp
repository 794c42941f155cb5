// The Search of the Transactions panel on the 1,000,000-record book, through
// a real signed-in main window: QueryPeriod, the five lists, the totals, and
// the paint that follows, until the event loop has drawn the window.
//
// Compare with BM_RawQueryPeriod_* (the same six statements through the
// sqlite3 C API) run in the same process.

#include "bench/BookGenerator.h"
#include "forms/MainForm.h"
#include "forms/RowsModel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QString kUser = QStringLiteral("carol");

// Resident and peak resident memory of this process, in MB.
double StatusMB(const char *field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// Counts the paints of one widget.
class TPaintCounter : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};

// One signed-in main window on a private copy of the book, showing the
// Transactions panel. Made once for all benchmarks of this file.
class TSearchWindow {
public:
    TSearchWindow() {
        const QString folder = QDir(FHome.path()).filePath("Ledgerly");
        QDir().mkpath(folder);
        const QString copy = TBookGenerator::WritableCopy(folder);
        QFile::rename(copy, QDir(folder).filePath("db.ledgerly"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(FHome.path()));

        // Answer the sign-in window that the constructor runs modally.
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&answer] {
            QWidget *login = QApplication::activeModalWidget();
            auto *submit = login ? login->findChild<QPushButton *>("btnSubmit") : nullptr;
            if (!submit)
                return;
            answer.stop();
            login->findChild<QComboBox *>("cboUsername")->setEditText(kUser);
            login->findChild<QLineEdit *>("edtPassword")->setText(TBookGenerator::Password());
            submit->click();
        });
        answer.start(10);
        Main = std::make_unique<TfrmMain>(nullptr, QStringList{"ledgerly_bench"});
        if (!Main->SignedIn())
            throw std::runtime_error("bench: sign-in failed");
        while (!Main->isVisible())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        Main->findChild<QRadioButton *>("rdoTransactions")->click();
        QCoreApplication::processEvents();
        Search = Main->findChild<QPushButton *>("btnTransSearch");
        Trans = Main->findChild<QTreeView *>("lvwTrans");
        Trans->viewport()->installEventFilter(&Counter);
    }

    void SetPeriod(const QDate &from, const QDate &to) {
        Main->findChild<QDateEdit *>("dtpTransDate1")->setDate(from);
        Main->findChild<QDateEdit *>("dtpTransDate2")->setDate(to);
    }

    // Empties the five lists (not measured: the search itself is).
    void ClearLists() {
        for (const char *name :
             {"lvwDayTotal", "lvwMonthTotal", "lvwTrans", "lvwInCates", "lvwOutCates"})
            ListModel(Main->findChild<QTreeView *>(name))->Clear();
        QCoreApplication::processEvents();
    }

    QTemporaryDir FHome;
    std::unique_ptr<TfrmMain> Main;
    QPushButton *Search = nullptr;
    QTreeView *Trans = nullptr;
    TPaintCounter Counter;
};

TSearchWindow *TheWindow = nullptr;

// Made on first use; destroyed (with the copy of the book) while the
// application object still exists.
TSearchWindow &Window() {
    if (!TheWindow) {
        TheWindow = new TSearchWindow;
        qAddPostRoutine([] {
            delete TheWindow;
            TheWindow = nullptr;
        });
    }
    return *TheWindow;
}

// One Search as the user clicks it, until the window has painted the result.
// `fresh`: from empty lists (the first search); otherwise the rows of the
// previous search are replaced (and freed) too.
void RunSearch(benchmark::State &state, const QDate &from, const QDate &to, bool fresh) {
    TSearchWindow &w = Window();
    w.SetPeriod(from, to);
    for (auto _ : state) {
        if (fresh) {
            state.PauseTiming();
            w.ClearLists();
            state.ResumeTiming();
        }
        const int paints = w.Counter.Paints;
        w.Search->click();
        QCoreApplication::processEvents();
        // The platform may hold the window's update back for its next frame;
        // the paint itself is part of the cost, the frame wait is not.
        if (w.Counter.Paints == paints)
            w.Main->repaint();
        if (w.Counter.Paints == paints) {
            state.SkipWithError("the transactions list was not painted");
            break;
        }
    }
    state.counters["records"] = ListModel(w.Trans)->Count();
    state.counters["rss_MB"] = StatusMB("VmRSS:");
    state.counters["peak_MB"] = StatusMB("VmHWM:");
}

void BM_Search_1Year(benchmark::State &state) {
    RunSearch(state, QDate(2024, 1, 1), QDate(2024, 12, 31), true);
}
void BM_Search_10Years(benchmark::State &state) {
    RunSearch(state, TBookGenerator::FirstDay(), TBookGenerator::LastDay(), true);
}
void BM_SearchAgain_10Years(benchmark::State &state) {
    RunSearch(state, TBookGenerator::FirstDay(), TBookGenerator::LastDay(), false);
}

// The window's own share of a 10-year Search: the five lists filled from
// rows already read (one model reset each), the totals shown and the window
// painted, without the data store.
void BM_FillAndPaint_10Years(benchmark::State &state) {
    TSearchWindow &w = Window();
    double out = 0, in = 0;
    TStringsArray rows[5];
    w.Main->DbMan->QueryPeriod(kUser, TBookGenerator::FirstDay().toString("MM/dd/yyyy"),
                               TBookGenerator::LastDay().toString("MM/dd/yyyy"), out, in, rows[0],
                               rows[1], rows[2], rows[3], rows[4]);
    const char *names[] = {"lvwDayTotal", "lvwMonthTotal", "lvwTrans", "lvwOutCates", "lvwInCates"};
    for (auto _ : state) {
        state.PauseTiming();
        w.ClearLists();
        TStringsArray copies[5];
        for (int i = 0; i < 5; ++i) {
            copies[i] = rows[i];
            copies[i].detach(); // a private array, as a fresh search delivers
        }
        state.ResumeTiming();
        for (int i = 0; i < 5; ++i)
            ListModel(w.Main->findChild<QTreeView *>(names[i]))->SetRows(std::move(copies[i]));
        w.Main->ShowPeriodTotals(in, out);
        w.Main->repaint();
    }
    state.counters["records"] = double(rows[2].size());
}

} // namespace

BENCHMARK(BM_FillAndPaint_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_1Year)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchAgain_10Years)->Unit(benchmark::kMillisecond);
