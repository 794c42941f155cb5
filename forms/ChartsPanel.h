#pragma once

#include "export/ChartSeries.h"
#include "export/ExportTypes.h"

#include <QFrame>
#include <QSize>
#include <memory>

namespace Ui {
class TChartsPanel;
}
class QChart;
struct TSession;

// The Charts sub-panel: the searched period as a donut of its expense (or
// income) categories and as income and expense bars per day or month with
// the net as a line. Clicking a slice asks for the records of its category,
// clicking a bar for its day or month in the transaction list. The charts
// are built only while the sub-panel is shown: a search made while another
// sub-panel is shown costs nothing here until the user comes back.
class TChartsPanel : public QFrame {
    Q_OBJECT
public:
    TChartsPanel(TSession &session, QWidget *parent = nullptr);
    ~TChartsPanel() override;

    // The size of a saved picture file.
    static constexpr QSize PictureFileSize{1400, 600};

    // Takes the result of a search; the charts follow when the sub-panel is
    // shown (at once when it is).
    // `budgets`, the user's, give the month bars the expense budget of each
    // month as a step line.
    void ShowPeriod(const TReportHead &head, const TPeriod &period,
                    const QList<TBudget> &budgets = {});

    // True while a search result waits to be charted.
    bool Pending() const { return FPending; }
    // The donut's view (disabled while the records of a slice are shown).
    QWidget *CatesView() const;
    // The series of the charts shown.
    const TChartSeries &Series() const { return FSeries; }

    // The donut shows expenses, or income (rdoChartIn).
    void rdoChartOutClick();
    // A slice or a bar was clicked (its index in the series).
    void chvCatesClick(int slice);
    void chvMonthsClick(int bar);
    void btnChartsSaveClick();
    void btnChartsPrintClick();

signals:
    // A slice of one category was clicked.
    void CategoryChosen(TRecordType type, const QString &category);
    // A bar was clicked: its day, or (`month`) any day of its month.
    void TotalChosen(QDate day, bool month);

protected:
    void showEvent(QShowEvent *event) override;

private:
    TRecordType CatesType() const;
    void BuildCharts();
    void BuildCatesChart();
    void BuildMonthsChart();
    void UpdateButtons();

    TSession &FSession;
    std::unique_ptr<Ui::TChartsPanel> ui;
    TReportHead FHead;
    TPeriod FPeriod;
    QList<TBudget> FBudgets;
    bool FSearched = false;
    bool FPending = false;
    TChartSeries FSeries;
};
