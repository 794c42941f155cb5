#include "forms/ChartsPanel.h"
#include "ui_ChartsPanel.h"

#include "forms/Anchors.h"
#include "forms/BusyGuard.h"
#include "forms/ChartsPicture.h"
#include "forms/ErrorReport.h"
#include "forms/PeriodCharts.h"
#include "forms/PeriodOutput.h"
#include "forms/Session.h"
#include "reports/Printout.h"
#include "store/Planning.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCursor>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QToolTip>

#include <algorithm>

TChartsPanel::TChartsPanel(TSession &session, QWidget *parent)
    : QFrame(parent), FSession(session), ui(std::make_unique<Ui::TChartsPanel>()) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("pnlTransCharts"));
    ui->rdoChartOut->setChecked(true);
    for (QChartView *view : {ui->chvCates, ui->chvMonths}) {
        view->setRenderHint(QPainter::Antialiasing);
        view->setFocusPolicy(Qt::NoFocus);
        view->setBackgroundBrush(Qt::white);
        // Framed as the lists of the other sub-panels are.
        view->setFrameShape(QFrame::StyledPanel);
        // One chart for the life of the view; each period is drawn on it.
        QChart *old = view->chart();
        view->setChart(TPeriodCharts::NewChart(true));
        delete old;
    }
    // As the window grows, the two charts share the room side by side; the
    // total and the buttons keep to the bottom, the buttons to the right.
    const Qt::Edges T = Qt::TopEdge, B = Qt::BottomEdge, Lt = Qt::LeftEdge, Rt = Qt::RightEdge;
    TAnchors::Of(this)
        .Share(ui->chvCates, 0.0, 0.5, T | B)
        .Share(ui->chvMonths, 0.5, 1.0, T | B)
        .Pin(ui->lblChartsEmpty, Lt | T | Rt | B)
        .Pin(ui->lblChartsTotal, Lt | Rt | B)
        .Pin(ui->btnChartsSave, Rt | B)
        .Pin(ui->btnChartsPrint, Rt | B);
    // The message stands where the charts would, on a list's white.
    ui->lblChartsEmpty->setAutoFillBackground(true);
    ui->lblChartsEmpty->setBackgroundRole(QPalette::Base);
    connect(ui->rdoChartOut, &QRadioButton::toggled, this,
            [this] { RunReported(window(), [&] { rdoChartOutClick(); }); });
    connect(ui->btnChartsSave, &QPushButton::clicked, this,
            [this] { RunReported(window(), [&] { btnChartsSaveClick(); }); });
    connect(ui->btnChartsPrint, &QPushButton::clicked, this,
            [this] { RunReported(window(), [&] { btnChartsPrintClick(); }); });
    ShowPeriod(TReportHead(), TPeriod());
}

TChartsPanel::~TChartsPanel() = default;

void TChartsPanel::ShowPeriod(const TReportHead &head, const TPeriod &period,
                              const QList<TBudget> &budgets) {
    FHead = head;
    FPeriod = period;
    FBudgets = budgets;
    FSearched = head.SearchFrom.isValid() && head.SearchTo.isValid();
    FPending = true;
    ui->lblChartsTotal->setText(PeriodTotalsText(head.IncomeCents, head.ExpenseCents));
    UpdateButtons();
    if (!isVisible())
        return;
    if (FSearched) {
        BuildCharts();
        return;
    }
    // No period: a search is starting, and its result usually follows at
    // once. The charts are taken away only when it does not (the search
    // failed), so a search that succeeds does not hide them in between.
    QMetaObject::invokeMethod(
        this,
        [this] {
            RunReported(window(), [&] {
                if (FPending && isVisible())
                    BuildCharts();
            });
        },
        Qt::QueuedConnection);
}

QWidget *TChartsPanel::CatesView() const {
    return ui->chvCates;
}

void TChartsPanel::showEvent(QShowEvent *event) {
    QFrame::showEvent(event);
    if (FPending)
        RunReported(window(), [&] { BuildCharts(); });
}

void TChartsPanel::UpdateButtons() {
    const bool any = FSearched && (FHead.IncomeCents > 0 || FHead.ExpenseCents > 0);
    ui->btnChartsSave->setEnabled(any);
    ui->btnChartsPrint->setEnabled(any);
}

TRecordType TChartsPanel::CatesType() const {
    return ui->rdoChartIn->isChecked() ? TRecordType::Income : TRecordType::Expense;
}

void TChartsPanel::BuildCharts() {
    FPending = false;
    FSeries = FSearched ? TChartSeries(FPeriod, FHead.SearchFrom, FHead.SearchTo) : TChartSeries();
    // The series hold all the charts need; the records go with the next search.
    FPeriod = TPeriod();

    const bool charts = FSeries.HasRecords();
    if (!FSearched)
        ui->lblChartsEmpty->setText(tr("Search a period to see its charts."));
    else if (!charts)
        ui->lblChartsEmpty->setText(
            tr("There are no records from %1 to %2.")
                .arg(FHead.SearchFrom.toString(QStringLiteral("MM/dd/yyyy")),
                     FHead.SearchTo.toString(QStringLiteral("MM/dd/yyyy"))));
    ui->lblChartsEmpty->setVisible(!charts);
    for (QWidget *w : std::initializer_list<QWidget *>{ui->chvCates, ui->chvMonths, ui->rdoChartOut,
                                                       ui->rdoChartIn})
        w->setVisible(charts);
    if (!charts)
        return;
    BuildCatesChart();
    BuildMonthsChart();
}

void TChartsPanel::BuildCatesChart() {
    const TRecordType type = CatesType();
    QChart *chart = ui->chvCates->chart();
    TPeriodCharts::ShowCates(chart, FSeries, type, false, ui->chvCates->width());
    const auto *pie = chart->series().isEmpty()
                          ? nullptr
                          : qobject_cast<QPieSeries *>(chart->series().constFirst());
    if (!pie)
        return;
    const QList<TChartSlice> &slices = FSeries.Slices(type);
    const qint64 total = FSeries.TypeCents(type);
    // The series stays from one search to the next: its handlers are made
    // again for the new slices, not added to those of the last search.
    disconnect(pie, nullptr, this, nullptr);
    connect(pie, &QPieSeries::hovered, this, [this, pie, slices, total](QPieSlice *slice, bool on) {
        const qsizetype i = pie->slices().indexOf(slice);
        if (i < 0)
            return;
        slice->setExploded(on);
        if (!on) {
            QToolTip::hideText();
            return;
        }
        QString text = TPeriodCharts::SliceText(slices.at(i), total, true, true);
        if (slices.at(i).Other) {
            // The categories behind "Other", as many as a tooltip can hold.
            const QStringList members = slices.at(i).Members;
            text += u'\n' + members.mid(0, 12).join(QStringLiteral(", ")) +
                    (members.size() > 12 ? QStringLiteral(", ...") : QString());
        }
        QToolTip::showText(QCursor::pos(), text, ui->chvCates);
    });
    connect(pie, &QPieSeries::clicked, this, [this, pie](QPieSlice *slice) {
        const qsizetype i = pie->slices().indexOf(slice);
        RunReported(window(), [&] { chvCatesClick(int(i)); });
    });
}

void TChartsPanel::BuildMonthsChart() {
    QChart *chart = ui->chvMonths->chart();
    const QList<TChartBar> &bars = FSeries.Bars();
    const bool byDay = FSeries.ByDay();
    // Month bars: the expense budget of the month's days within the period.
    QList<qint64> budget;
    const bool budgeted = std::any_of(FBudgets.cbegin(), FBudgets.cend(), [](const TBudget &b) {
        return b.Type == TRecordType::Expense;
    });
    if (!byDay && budgeted) {
        for (const TChartBar &bar : bars) {
            const QDate first(bar.First.year(), bar.First.month(), 1);
            const QDate from = std::max(first, FHead.SearchFrom);
            const QDate to = std::min(first.addMonths(1).addDays(-1), FHead.SearchTo);
            qint64 cents = 0;
            for (const TBudget &b : FBudgets)
                if (b.Type == TRecordType::Expense)
                    cents += PeriodBudgetCents(b.Cents, from, to);
            budget.append(cents);
        }
    }
    TPeriodCharts::ShowBars(chart, FSeries, ui->chvMonths->width(), budget);
    const auto tip = [this, bars, byDay](bool on, int index) {
        if (on && index >= 0 && index < bars.size())
            QToolTip::showText(QCursor::pos(), TPeriodCharts::BarText(bars.at(index), byDay),
                               ui->chvMonths);
        else
            QToolTip::hideText();
    };
    for (QAbstractSeries *series : chart->series()) {
        disconnect(series, nullptr, this, nullptr); // those of the last search
        if (auto *barSeries = qobject_cast<QBarSeries *>(series)) {
            connect(barSeries, &QBarSeries::hovered, this,
                    [tip](bool on, int index, QBarSet *) { tip(on, index); });
            connect(barSeries, &QBarSeries::clicked, this, [this](int index, QBarSet *) {
                RunReported(window(), [&] { chvMonthsClick(index); });
            });
        } else if (auto *line = qobject_cast<QLineSeries *>(series)) {
            connect(line, &QLineSeries::hovered, this,
                    [tip](const QPointF &point, bool on) { tip(on, qRound(point.x())); });
            connect(line, &QLineSeries::clicked, this, [this](const QPointF &point) {
                RunReported(window(), [&] { chvMonthsClick(qRound(point.x())); });
            });
        }
    }
}

void TChartsPanel::rdoChartOutClick() {
    if (!FPending && FSeries.HasRecords())
        BuildCatesChart();
}

void TChartsPanel::chvCatesClick(int slice) {
    const QList<TChartSlice> &slices = FSeries.Slices(CatesType());
    // "Other" is not a category: its records have no list of their own.
    if (slice < 0 || slice >= slices.size() || slices.at(slice).Other)
        return;
    QToolTip::hideText();
    emit CategoryChosen(CatesType(), slices.at(slice).Category);
}

void TChartsPanel::chvMonthsClick(int bar) {
    const QList<TChartBar> &bars = FSeries.Bars();
    if (bar < 0 || bar >= bars.size())
        return;
    QToolTip::hideText();
    emit TotalChosen(bars.at(bar).First, !FSeries.ByDay());
}

void TChartsPanel::btnChartsSaveClick() {
    if (FPending)
        BuildCharts();
    SavePicture(window(), FSession.SaveDialog1, [this](bool svg) {
        const TChartsPicture picture(FSeries, CatesType(), PictureFileSize,
                                     TChartsPicture::TArrange::SideBySide, ExportPeriodLine(FHead));
        return svg ? picture.Svg() : picture.Png();
    });
}

void TChartsPanel::btnChartsPrintClick() {
    if (FPending)
        BuildCharts();
    if (!FSeries.HasRecords())
        return;
    TBusyGuard busy(ui->btnChartsPrint);
    // Laid out at the page's size in pixels at 96 dpi: the texts then have
    // the size on paper they have on the screen.
    const QSize size = TPrintout(96, 96).PictureBox().size();
    const auto picture = std::make_shared<TChartsPicture>(FSeries, CatesType(), size,
                                                          TChartsPicture::TArrange::Stacked);
    PrintPicture(window(), FHead,
                 [picture](QPainter &painter, const QRectF &box) { picture->Paint(painter, box); });
    busy.Release();
    if (ui->btnChartsPrint->isEnabled())
        ui->btnChartsPrint->setFocus();
}
