#include "reports/ReportBand.h"

#include "reports/ReportControl.h"

#include <stdexcept>

TReportBand::TReportBand(TPageReport *report) : FReport(report) {}

TReportBand::~TReportBand() {
    // Each control takes itself off the list as it is destroyed.
    while (!FControls.isEmpty())
        delete FControls.last();
}

TReportControl *TReportBand::Control(int index) const {
    if (index < 0 || index >= FControls.size())
        throw std::out_of_range("band control index out of range");
    return FControls.at(index);
}

void TReportBand::AddControl(TReportControl *control) {
    FControls.append(control);
}

void TReportBand::RemoveControl(TReportControl *control) {
    // Controls are mostly taken off from the end.
    for (qsizetype i = FControls.size() - 1; i >= 0; --i) {
        if (FControls.at(i) == control) {
            FControls.removeAt(i);
            return;
        }
    }
}
