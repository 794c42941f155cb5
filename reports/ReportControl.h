#pragma once

class TReportBand;
class TRenderedPage;
class QPointF;

// A printable item placed on a band: position and size in the report's
// pixels, relative to the band's top left corner. A control has no owner;
// whoever creates it destroys it. Giving it a band as parent lists it on the
// band; destroying it takes it off again.
class TReportControl {
public:
    TReportControl() = default;
    virtual ~TReportControl();
    TReportControl(const TReportControl &) = delete;
    TReportControl &operator=(const TReportControl &) = delete;

    TReportBand *Parent() const { return FParent; }
    void SetParent(TReportBand *band);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int left) { FLeft = left; }
    void SetTop(int top) { FTop = top; }
    virtual void SetWidth(int width) { FWidth = width; }
    virtual void SetHeight(int height) { FHeight = height; }

    // Adds what the control draws to `page`; `origin` is the band's top left
    // corner on the page.
    virtual void Render(TRenderedPage &page, const QPointF &origin) const = 0;

protected:
    // Called after the control moved to another band (its resolution may
    // have changed).
    virtual void ParentChanged() {}

    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;

private:
    TReportBand *FParent = nullptr;
};
