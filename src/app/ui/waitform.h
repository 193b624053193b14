#pragma once
// "Now Loading..." caption bar shown while albums load.
#include <QDialog>

class TWaitF : public QDialog {
    Q_OBJECT
public:
    explicit TWaitF(QWidget *parent = nullptr);

    // Shows without blocking and lets the window system paint the caption
    // before the caller starts its long work.
    void popUp();

protected:
    void showEvent(QShowEvent *event) override;
};
