#pragma once
// The title window shown while the program starts.
#include <QDialog>

class QLabel;
class QTimer;

class TTitleF : public QDialog {
    Q_OBJECT
public:
    // tickCounter is the program-wide title tick counter; it must outlive
    // this window and is never reset here.
    explicit TTitleF(int &tickCounter, QWidget *parent = nullptr);

    QLabel *const LogoImg;
    QLabel *const VersionLbl;
    QTimer *const Timer1;
    // Not 0: the timer runs once the window shows and closes it.
    int Tag = 0;

    // One tick of Timer1.
    void Timer1Timer();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int &m_tickCounter;
};
