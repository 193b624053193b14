#include "app/ui/aboutform.h"

#include "app/ui/builtinpictures.h"
#include "controls/ui/outlineanimation.h"

#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

const QUrl TAboutF::kMailTarget(QStringLiteral("mailto:tunovia@example.org"));
const QUrl TAboutF::kWebTarget(QStringLiteral("https://tunovia.example.org/"));

namespace {
constexpr QSize kClientSize(309, 86);

QPixmap webBanner()
{
    QPixmap banner(100, 21);
    banner.fill(Qt::black);
    QPainter p(&banner);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient back(0, 0, 100, 0);
    back.setColorAt(0, QColor(0x1c, 0x3e, 0x7a));
    back.setColorAt(1, QColor(0x5b, 0x2c, 0x8f));
    p.fillRect(banner.rect(), back);
    p.setPen(QColor(0xd8, 0xe4, 0xff));
    p.drawRect(banner.rect().adjusted(0, 0, -1, -1));
    p.drawPixmap(QRect(3, 3, 15, 15), BuiltinPictures::icon());
    QFont f = p.font();
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(20, 0, 78, 21), Qt::AlignCenter, QStringLiteral("Tunovia Web"));
    return banner;
}

QFont pixelFont(const QFont &base, int pixels, bool bold = false)
{
    QFont f = base;
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}
} // namespace

TAboutF::TAboutF(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      IconPnl(new QFrame(this)), Image1(new QLabel(IconPnl)),
      ExLabel1(new TExLabel(QStringLiteral("Tunovia    Version 4.30"), this)),
      ExLabel2(new TExLabel(QStringLiteral("MP3コレクション管理ソフト"), this)),
      MailLbl(new TLinkLabel(kMailTarget.path(), kMailTarget, this)),
      WebImg(new TLinkImage(webBanner(), kWebTarget, this)), Button1(new QPushButton(QStringLiteral("OK"), this)),
      EEggPnl(new QFrame(this))
{
    setObjectName(QStringLiteral("AboutF"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFixedSize(kClientSize);

    IconPnl->setObjectName(QStringLiteral("IconPnl"));
    IconPnl->setFrameStyle(QFrame::Panel | QFrame::Raised);
    IconPnl->setLineWidth(2);
    IconPnl->setGeometry(8, 8, 36, 36);
    IconPnl->setAccessibleName(QStringLiteral("アイコン"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(2, 2, 32, 32);
    Image1->setPixmap(BuiltinPictures::icon());
    Image1->setAccessibleName(QStringLiteral("Tunovia アイコン"));
    Image1->installEventFilter(this);

    ExLabel1->setObjectName(QStringLiteral("ExLabel1"));
    ExLabel1->setGeometry(52, 6, 250, 16);
    ExLabel1->setAlignment(Qt::AlignCenter);
    ExLabel1->setFont(pixelFont(font(), 13, true));

    ExLabel2->setObjectName(QStringLiteral("ExLabel2"));
    ExLabel2->setGeometry(52, 23, 250, 15);
    ExLabel2->setAlignment(Qt::AlignCenter);
    ExLabel2->setFont(pixelFont(font(), 12));

    MailLbl->setObjectName(QStringLiteral("MailLbl"));
    MailLbl->setGeometry(52, 40, 250, 15);
    MailLbl->setAlignment(Qt::AlignCenter);
    MailLbl->setFont(pixelFont(MailLbl->font(), 12));

    WebImg->setObjectName(QStringLiteral("WebImg"));
    WebImg->setGeometry(52, 59, 100, 21);
    WebImg->setAccessibleName(QStringLiteral("Tunovia のウェブページ"));

    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(180, 59, 121, 21);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    EEggPnl->setObjectName(QStringLiteral("EEggPnl"));
    EEggPnl->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    EEggPnl->setGeometry(52, 4, 250, 52);
    EEggPnl->setAutoFillBackground(true);
    EEggPnl->setAccessibleName(QStringLiteral("クレジット"));
    auto *credits = new QLabel(QStringLiteral("企画・プログラム: Tunovia 開発チーム\n"
                                              "Linux port: the Tunovia contributors\n"
                                              "テストに協力してくれた皆さんに感謝します"),
                               EEggPnl);
    credits->setAlignment(Qt::AlignCenter);
    credits->setFont(pixelFont(font(), 11));
    auto *creditsLayout = new QVBoxLayout(EEggPnl);
    creditsLayout->setContentsMargins(2, 2, 2, 2);
    creditsLayout->addWidget(credits);
    EEggPnl->hide();
    EEggPnl->raise();
}

void TAboutF::setUrlOpener(const UrlOpener &opener)
{
    MailLbl->setOpener(opener);
    WebImg->setOpener(opener);
}

QPoint TAboutF::centredOver(const QRect &owner, const QSize &box)
{
    // C++ integer division truncates toward zero, as the rule wants.
    return QPoint(owner.left() + owner.width() / 2 - box.width() / 2,
                  owner.top() + owner.height() / 2 - box.height() / 2);
}

void TAboutF::run(QWidget *owner, const UrlOpener &opener)
{
    auto *box = new TAboutF(owner);
    if (opener)
        box->setUrlOpener(opener);
    if (owner)
        box->move(centredOver(owner->window()->frameGeometry(), box->frameGeometry().size()));
    box->exec();
    delete box;
}

void TAboutF::Image1DblClick(Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::ControlModifier))
        EEggPnl->setVisible(!EEggPnl->isVisible());
}

bool TAboutF::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonDblClick) {
        Image1DblClick(static_cast<QMouseEvent *>(event)->modifiers());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutF::showEvent(QShowEvent *event)
{
    EEggPnl->hide();
    QDialog::showEvent(event);
}

QRect TAboutF::ownerRect() const
{
    const QWidget *owner = parentWidget();
    return owner ? owner->window()->frameGeometry() : QRect();
}

void TAboutF::setVisible(bool visible)
{
    const bool wasVisible = isVisible();
    if (visible && !wasVisible)
        OutlineAnimation::run(ownerRect(), frameGeometry());
    const QRect closing = frameGeometry();
    QDialog::setVisible(visible);
    if (!visible && wasVisible)
        OutlineAnimation::run(closing, ownerRect());
}
