#pragma once
// The About box of the help menu.
#include "controls/ui/decorlabels.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

class TAboutF : public QDialog {
    Q_OBJECT
public:
    explicit TAboutF(QWidget *owner = nullptr);

    QFrame *const IconPnl;
    QLabel *const Image1;
    TExLabel *const ExLabel1;
    TExLabel *const ExLabel2;
    TLinkLabel *const MailLbl;
    TLinkImage *const WebImg;
    QPushButton *const Button1;
    QFrame *const EEggPnl;

    static const QUrl kMailTarget;
    static const QUrl kWebTarget;

    // Where mail and web links go; QDesktopServices by default.
    void setUrlOpener(const UrlOpener &opener);

    // Top-left of a box of size `box` centred over `owner`; each half is
    // truncated toward zero.
    static QPoint centredOver(const QRect &owner, const QSize &box);

    // Creates the box over `owner`, runs it modally and releases it.
    static void run(QWidget *owner, const UrlOpener &opener = {});

    // Double click on the icon: Ctrl held toggles the credits, otherwise nothing.
    void Image1DblClick(Qt::KeyboardModifiers modifiers);

    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QRect ownerRect() const;
};
