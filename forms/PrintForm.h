#pragma once

#include <QDialog>

class QLabel;
class QToolButton;
class TCompositeReport;

namespace Ui {
class TfrmPrint;
}

// The print preview: the pages of a composite report one at a time, with
// buttons to turn the pages and to print on A4. It fills the desktop's work
// area and is shown modally; it does not own the composite report.
class TfrmPrint : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPrint(QWidget *owner);
    ~TfrmPrint() override;

    // The composite report whose pages are shown and printed (prepared
    // before the window is shown).
    TCompositeReport *CompositeReport = nullptr;

    // Creates the window owned by `owner`, prepares `composite`, shows its
    // pages modally and destroys the window when the user closes it, also
    // when preparing fails (the failure then goes on to the caller).
    static void ShowReportPreview(QWidget *owner, TCompositeReport &composite);

    // Hands the composite report's rendered pages to the preview.
    void ShowPages();

    // The status bar's text ("Page %d of %d").
    QString StatusText() const;

    void FormCreate();
    void FormResize();
    void FormShow();
    // Page navigation for the four page buttons, told apart by their tag
    // (0 first, 1 previous, 2 next, 3 last); with no sender only the status
    // text is set.
    void btnFirstPageClick(QObject *sender);
    void btnPrintClick();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Makes the whole window, frame included, fill the work area.
    void FitFrameToWorkArea();

    Ui::TfrmPrint *ui;
    QLabel *FStatusPanel;
};
