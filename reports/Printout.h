#pragma once

#include "store/DbClass.h"

#include <QDate>
#include <QList>
#include <QString>

class TCompositeReport;
class TPageReport;
class TReportBand;
class TReportLabel;

// What the page head of both printouts shows: who searched, which period,
// and the period's totals.
struct TPrintHead {
    QString UserName;
    QDate SearchFrom;
    QDate SearchTo;
    double PeriodIncome = 0;
    double PeriodExpenses = 0;
};

// Builds the two printouts, one page report per printed page with every text
// a label at a computed position, and owns those page reports (Reports) until
// they are freed. Positions are in pixels at the resolution given at
// construction (the screen's by default); a page holds 52 rows under the
// same page head, with its number centred at the bottom.
class TPrintout {
public:
    TPrintout();
    TPrintout(int dpiX, int dpiY);
    ~TPrintout();
    TPrintout(const TPrintout &) = delete;
    TPrintout &operator=(const TPrintout &) = delete;

    static constexpr int RowsPerPage = 52;

    // The resolution of the next printout built (the screen's may change
    // between printouts).
    void SetDpi(int dpiX, int dpiY) {
        FDpiX = dpiX;
        FDpiY = dpiY;
    }
    int DpiX() const { return FDpiX; }
    int DpiY() const { return FDpiY; }
    int ScaleX(int n) const;
    int ScaleY(int n) const;
    int PageWidthPx() const;
    int PageHeightPx() const;
    int PrintWidthPx() const;
    int PrintHeightPx() const;

    // The page reports of the printout, in page order.
    QList<TPageReport *> Reports;

    // A new label on `report`'s detail band: automatic size, transparent,
    // "Tahoma" 8 points regular, empty caption.
    TReportLabel *NewReportLabel(TPageReport *report) const;

    // Category rows: type, category, qty, sum, share (income rows first).
    void BuildCategoriesPrintout(const TPrintHead &head, const TStringsArray &rows);
    // Transaction rows: id, date, category, in, out, notes.
    void BuildTransactionsPrintout(const TPrintHead &head, const TStringsArray &rows);

    // The composite report's add-reports step: its list becomes Reports, in
    // order. A failure stops the adding; the list keeps what was added.
    void AddReports(TCompositeReport &composite) const;

    // Destroys the page reports from the last to the first, each with the
    // controls on its band.
    void FreeReports();
    // Destroys the controls on `band` from the last to the first; a control
    // that cannot be fetched or destroyed is passed over.
    static void FreeBandControls(TReportBand *band);

private:
    enum class TPlace { Left, Right };
    struct TColumn {
        QString Heading;
        TPlace Place;
        int X;
    };

    void Build(const TPrintHead &head, const TStringsArray &rows, const QList<TColumn> &columns,
               QStringList (*cells)(const QStringList &row));
    TPageReport *StartPage(const TPrintHead &head, const QList<TColumn> &columns);
    void PlaceLabel(TReportLabel *label, const QString &caption, TPlace place, int x,
                    int top) const;

    int FDpiX;
    int FDpiY;
};
