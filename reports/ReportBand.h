#pragma once

#include <QList>

class TPageReport;
class TReportControl;

// The detail band of a page report: a rectangle of the page (inside the
// margins) that holds the controls. The band lists its controls but does not
// own them; controls still on it when it is destroyed are destroyed with it,
// so nothing placed on a page can outlive the page.
class TReportBand {
public:
    explicit TReportBand(TPageReport *report);
    ~TReportBand();
    TReportBand(const TReportBand &) = delete;
    TReportBand &operator=(const TReportBand &) = delete;

    TPageReport *Report() const { return FReport; }

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int width) { FWidth = width; }
    void SetHeight(int height) { FHeight = height; }

    bool ForceNewPage = false;
    bool ForceNewColumn = false;

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TReportControl *Control(int index) const; // throws std::out_of_range
    const QList<TReportControl *> &Controls() const { return FControls; }

private:
    friend class TReportControl;
    void AddControl(TReportControl *control);
    void RemoveControl(TReportControl *control);

    TPageReport *FReport;
    int FWidth = 0;
    int FHeight = 0;
    QList<TReportControl *> FControls;
};
