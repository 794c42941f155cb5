#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class TfrmAbout;
}

// The About window: the program's icon, its name and its version, centred
// on the window that owns it. The caller sets ProductName and ProductVersion
// before showing it.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *owner);
    ~TfrmAbout() override;

    QString ProductName, ProductVersion;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void btnOKClick();
    void CentreOnOwner();

    std::unique_ptr<Ui::TfrmAbout> ui;
};
