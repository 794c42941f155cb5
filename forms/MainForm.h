#pragma once

#include <QWidget>

// The main window. (Bare for now: the shell is laid out next.)
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
};
