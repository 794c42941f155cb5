#include "reports/ReportControl.h"

#include "reports/ReportBand.h"

TReportControl::~TReportControl() {
    if (FParent)
        FParent->RemoveControl(this);
}

void TReportControl::SetParent(TReportBand *band) {
    if (band == FParent)
        return;
    if (FParent)
        FParent->RemoveControl(this);
    FParent = band;
    if (FParent)
        FParent->AddControl(this);
    ParentChanged();
}
