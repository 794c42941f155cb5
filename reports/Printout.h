#pragma once

#include "export/ExportTypes.h"
#include "reports/RenderedPage.h"

#include <QDate>
#include <QList>
#include <QRect>
#include <QString>

class TCompositeReport;
class TPageReport;
class TReportBand;
class TReportLabel;

// Builds the printouts, one page report per printed page with every text
// a label at a computed position (and a drawing as a picture), and owns those page reports
// (Reports) until they are freed. Positions are in pixels at the resolution given at construction
// (the screen's by default); a page holds 52 rows under the same page head, with its number centred
// at the bottom.
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

    // The category rows of the period (income rows first).
    void BuildCategoriesPrintout(const TReportHead &head, const TPeriod &period);
    // The records of the period.
    void BuildTransactionsPrintout(const TReportHead &head, const TPeriod &period);
    // One page: the page head, and under its rule a drawing that `draw`
    // paints into the rest of the page above the page number.
    void BuildPicturePrintout(const TReportHead &head, const TRenderedPage::TDraw &draw);
    // The box of that drawing on the band, in the printout's pixels.
    QRect PictureBox() const;

    // The composite report's add-reports step: its list becomes Reports, in
    // order.
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

    // Lays out `count` rows; `cells(i)` gives the texts of row i.
    template <typename Cells>
    void Build(const TReportHead &head, qsizetype count, const QList<TColumn> &columns,
               Cells cells);
    TPageReport *StartPage(const TReportHead &head, const QList<TColumn> &columns);
    void PlaceLabel(TReportLabel *label, const QString &caption, TPlace place, int x,
                    int top) const;

    int FDpiX;
    int FDpiY;
};
