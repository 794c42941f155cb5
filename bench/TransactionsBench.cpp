// The Search of the Transactions panel on the 1,000,000-record book, through
// a real signed-in main window: QueryPeriod, the five lists, the totals, and
// the paint that follows, until the event loop has drawn the window.
//
// Compare with BM_RawQueryPeriod_* (the same six statements through the
// sqlite3 C API) run in the same process.

#include "bench/BookGenerator.h"
#include "forms/CategoriesPanel.h"
#include "forms/ChartsPanel.h"
#include "forms/MainForm.h"
#include "forms/RowsModel.h"
#include "forms/TransListPanel.h"
#include "forms/TransactionsPanel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QChartView>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

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
        const QString book = QDir(folder).filePath("db.ledgerly");
        QFile::rename(copy, book);

        // The window of a signed-in user, as the start-up hands it over.
        TSession session;
        session.UserName = kUser;
        session.DataFile = book;
        session.DbMan = std::make_unique<TDbMan>(book);
        TBookGenerator::SignIn(*session.DbMan, kUser);
        Main = std::make_unique<TfrmMain>(std::move(session));
        Main->ShowAtStart();
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

    // Empties the lists by searching a period without records (not
    // measured: the search itself is), then sets the period back and lets
    // the window settle, as it has when the user clicks: the empty lists'
    // layouts and paints are done before the measured search starts.
    void ClearLists() {
        auto *from = Main->findChild<QDateEdit *>("dtpTransDate1");
        auto *to = Main->findChild<QDateEdit *>("dtpTransDate2");
        const QDate first = from->date(), last = to->date();
        SetPeriod(QDate(1990, 1, 1), QDate(1990, 1, 1));
        Search->click();
        SetPeriod(first, last);
        Settle();
    }

    // Runs the event loop for a moment, long enough for the posted events,
    // the zero-time timers (delayed layouts) and the paints they cause.
    static void Settle() {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
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
// previous search are replaced (and freed) too. `counter` counts the paints
// of the list or chart that shows the result (the transaction list's by
// default). `alternate`: every other search is of the year before, so each
// search shows other figures than the one before it.
void RunSearch(benchmark::State &state, const QDate &from, const QDate &to, bool fresh,
               TPaintCounter *counter = nullptr, bool alternate = false) {
    TSearchWindow &w = Window();
    if (!counter)
        counter = &w.Counter;
    w.SetPeriod(from, to);
    bool yearBefore = false;
    for (auto _ : state) {
        if (fresh || alternate) {
            state.PauseTiming();
            if (alternate) {
                const int years = yearBefore ? -1 : 0;
                w.SetPeriod(from.addYears(years), to.addYears(years));
                yearBefore = !yearBefore;
            }
            if (fresh)
                w.ClearLists();
            state.ResumeTiming();
        }
        const int paints = counter->Paints;
        w.Search->click();
        QCoreApplication::processEvents();
        // The platform may hold the window's update back for its next frame;
        // the paint itself is part of the cost, the frame wait is not.
        if (counter->Paints == paints)
            w.Main->repaint();
        if (counter->Paints == paints) {
            static std::string message; // the library keeps the pointer
            message = QStringLiteral("the result was not painted (Search %1, list %2, window %3)")
                          .arg(w.Search->isEnabled() ? "enabled" : "disabled",
                               w.Trans->isVisible() ? "shown" : "hidden",
                               w.Main->isVisible() ? "shown" : "hidden")
                          .toStdString();
            state.SkipWithError(message.c_str());
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
// The same turns between 2024 and 2023 with the Transactions sub-panel shown.
void BM_Search_1Year_Alternating(benchmark::State &state) {
    RunSearch(state, QDate(2024, 1, 1), QDate(2024, 12, 31), true, nullptr, true);
}
void BM_Search_10Years(benchmark::State &state) {
    RunSearch(state, TBookGenerator::FirstDay(), TBookGenerator::LastDay(), true);
}
// One search only: the memory of a process after it, run on its own.
void BM_SearchOnce_10Years(benchmark::State &state) {
    RunSearch(state, TBookGenerator::FirstDay(), TBookGenerator::LastDay(), true);
}
void BM_SearchAgain_10Years(benchmark::State &state) {
    RunSearch(state, TBookGenerator::FirstDay(), TBookGenerator::LastDay(), false);
}

// The window's own share of a 10-year Search: both sub-panels filled from a
// period already read (one model reset per list), the totals shown and the
// window painted, without the data store.
void BM_FillAndPaint_10Years(benchmark::State &state) {
    TSearchWindow &w = Window();
    const QString user = w.Main->UserName();
    const TPeriod period =
        w.Main->Store().ReadPeriod(user, TBookGenerator::FirstDay(), TBookGenerator::LastDay());
    const TReportHead head =
        TReportHead::Of(user, TBookGenerator::FirstDay(), TBookGenerator::LastDay(), period);
    TTransactionsPanel *panel = w.Main->TransactionsPanel();
    for (auto _ : state) {
        state.PauseTiming();
        w.ClearLists();
        TPeriod copy = period;
        copy.Records.detach(); // private rows, as a fresh search delivers
        const int paints = w.Counter.Paints;
        state.ResumeTiming();
        panel->ListPanel()->ShowPeriod(head, copy);
        panel->CategoriesPanel()->ShowPeriod(head, copy);
        // As after a click: the posted layouts first, then the paint (a
        // repaint straight after the fill leaves the list unpainted).
        QCoreApplication::processEvents();
        w.Main->repaint();
        if (w.Counter.Paints == paints) {
            state.SkipWithError("the transaction list was not painted");
            break;
        }
    }
    state.counters["records"] = double(period.Records.size());
}

// Switching between the Transactions and Categories sub-panels after a
// 10-year search, until the window has painted the other sub-panel.
void BM_SwitchSubPanels_10Years(benchmark::State &state) {
    TSearchWindow &w = Window();
    w.SetPeriod(TBookGenerator::FirstDay(), TBookGenerator::LastDay());
    w.Search->click();
    QCoreApplication::processEvents();
    auto *transactions = w.Main->findChild<QRadioButton *>("rdoTransTransactions");
    auto *categories = w.Main->findChild<QRadioButton *>("rdoTransCategories");
    bool toCategories = true;
    for (auto _ : state) {
        (toCategories ? categories : transactions)->click();
        QCoreApplication::processEvents();
        w.Main->repaint();
        toCategories = !toCategories;
    }
    transactions->click();
    state.counters["records"] = ListModel(w.Trans)->Count();
}

// A 1-year Search with the Charts sub-panel shown: the lists are filled as
// before, and both charts are drawn and painted instead of the lists. The
// searches take turns between 2024 and 2023, so the charts always change
// (compare with BM_Search_1Year and BM_Search_1Year_Alternating).
void BM_Search_1Year_Charts(benchmark::State &state) {
    TSearchWindow &w = Window();
    auto *charts = w.Main->findChild<QRadioButton *>("rdoTransCharts");
    charts->click();
    QCoreApplication::processEvents();
    TPaintCounter counter;
    w.Main->findChild<QChartView *>("chvMonths")->viewport()->installEventFilter(&counter);
    RunSearch(state, QDate(2024, 1, 1), QDate(2024, 12, 31), true, &counter, true);
    w.Main->findChild<QRadioButton *>("rdoTransTransactions")->click();
    QCoreApplication::processEvents();
}

// Forty monthly budgets: every category of the book (24 expense, 6 income)
// and ten expense categories without records.
QList<TBudget> FortyBudgets() {
    QList<TBudget> budgets;
    qint64 cents = 5000;
    for (const QString &category : TBookGenerator::ExpenseCategories())
        budgets.append({TRecordType::Expense, category, cents += 7500});
    for (int i = 1; i <= 10; ++i)
        budgets.append({TRecordType::Expense, QStringLiteral("Unused %1").arg(i), 10000 * i});
    for (const QString &category : TBookGenerator::IncomeCategories())
        budgets.append({TRecordType::Income, category, cents += 30000});
    return budgets;
}

// Replaces the user's budgets in the window's book; the next search reads them.
void SetBudgets(TSearchWindow &w, const QList<TBudget> &budgets) {
    TDbMan book(w.Main->DataFile());
    book.SetBudgets(w.Main->UserName(), book.Budgets(w.Main->UserName()), budgets);
}

// A Search with forty budgets set, the Budgets sub-panel (`budgetsShown`)
// or the Transactions one shown, until the list shown is painted; the
// searches take turns with the same period a year earlier, as
// BM_Search_1Year_Charts does. The budgets are taken out again at the end.
void RunBudgetedSearch(benchmark::State &state, const QDate &from, const QDate &to,
                       bool budgetsShown) {
    TSearchWindow &w = Window();
    const QList<TBudget> budgets = FortyBudgets();
    SetBudgets(w, budgets);
    TPaintCounter counter;
    if (budgetsShown) {
        w.Main->findChild<QRadioButton *>("rdoTransBudgets")->click();
        QCoreApplication::processEvents();
        w.Main->findChild<QTreeView *>("lvwBudgets")->viewport()->installEventFilter(&counter);
    }
    RunSearch(state, from, to, true, budgetsShown ? &counter : nullptr, true);
    w.Main->findChild<QRadioButton *>("rdoTransTransactions")->click();
    QCoreApplication::processEvents();
    SetBudgets(w, {});
    state.counters["budgets"] = double(budgets.size());
}

void BM_Search_1Year_Budgets(benchmark::State &state) {
    RunBudgetedSearch(state, QDate(2024, 1, 1), QDate(2024, 12, 31), true);
}
void BM_Search_1Year_Budgeted(benchmark::State &state) {
    RunBudgetedSearch(state, QDate(2024, 1, 1), QDate(2024, 12, 31), false);
}
// Ten years and the ten years before them (nine of which have records).
void BM_Search_10Years_Budgets(benchmark::State &state) {
    RunBudgetedSearch(state, TBookGenerator::FirstDay(), TBookGenerator::LastDay(), true);
}
void BM_Search_10Years_Budgeted(benchmark::State &state) {
    RunBudgetedSearch(state, TBookGenerator::FirstDay(), TBookGenerator::LastDay(), false);
}

// Switching to the Charts sub-panel after a 10-year search, until both
// charts are built from the period and painted. Between the switches the
// charts are handed the same result again, so every switch builds them.
void BM_SwitchToCharts_10Years(benchmark::State &state) {
    TSearchWindow &w = Window();
    w.SetPeriod(TBookGenerator::FirstDay(), TBookGenerator::LastDay());
    w.Search->click();
    QCoreApplication::processEvents();
    const QString user = w.Main->UserName();
    const TPeriod period =
        w.Main->Store().ReadPeriod(user, TBookGenerator::FirstDay(), TBookGenerator::LastDay());
    const TReportHead head =
        TReportHead::Of(user, TBookGenerator::FirstDay(), TBookGenerator::LastDay(), period);
    TChartsPanel *chartsPanel = w.Main->TransactionsPanel()->ChartsPanel();
    auto *transactions = w.Main->findChild<QRadioButton *>("rdoTransTransactions");
    auto *charts = w.Main->findChild<QRadioButton *>("rdoTransCharts");
    TPaintCounter cates, months;
    w.Main->findChild<QChartView *>("chvCates")->viewport()->installEventFilter(&cates);
    w.Main->findChild<QChartView *>("chvMonths")->viewport()->installEventFilter(&months);
    for (auto _ : state) {
        state.PauseTiming();
        transactions->click();
        QCoreApplication::processEvents();
        chartsPanel->ShowPeriod(head, period);
        const int paints = cates.Paints + months.Paints;
        state.ResumeTiming();
        charts->click();
        QCoreApplication::processEvents();
        w.Main->repaint();
        if (chartsPanel->Pending() || cates.Paints + months.Paints < paints + 2) {
            state.SkipWithError("the charts were not built and painted");
            break;
        }
    }
    transactions->click();
    QCoreApplication::processEvents();
    state.counters["bars"] = double(chartsPanel->Series().Bars().size());
}

// Find in the window over all of the user's records (200,113): a word in
// the find box and Enter, until the window has painted the records found
// (from empty lists, as BM_Search_10Years). Compare with BM_FindRecords_Word
// (the data store alone) and BM_RawScan_10Years.
void BM_Find_Window(benchmark::State &state) {
    TSearchWindow &w = Window();
    auto *box = w.Main->findChild<QLineEdit *>("edtTransFind");
    TTransactionsPanel *panel = w.Main->TransactionsPanel();
    for (auto _ : state) {
        state.PauseTiming();
        w.ClearLists();
        box->setText(QStringLiteral("dentist"));
        const int paints = w.Counter.Paints;
        state.ResumeTiming();
        panel->edtTransFindEnter();
        QCoreApplication::processEvents();
        if (w.Counter.Paints == paints)
            w.Main->repaint();
        if (w.Counter.Paints == paints) {
            state.SkipWithError("the records found were not painted");
            break;
        }
    }
    state.counters["records"] = ListModel(w.Trans)->Count();
    w.ClearLists();
}

} // namespace

BENCHMARK(BM_FillAndPaint_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_1Year)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchOnce_10Years)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SearchAgain_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchSubPanels_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_1Year_Alternating)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_1Year_Charts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_1Year_Budgeted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_1Year_Budgets)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_10Years_Budgeted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search_10Years_Budgets)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchToCharts_10Years)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Find_Window)->Unit(benchmark::kMillisecond);
