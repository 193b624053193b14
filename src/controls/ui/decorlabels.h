#pragma once
// Small decorative labels: raised 3D text, a link label and a link picture.
#include <QLabel>
#include <QUrl>

#include <functional>

// Opens an address (mail or web). Tests replace it to see what was opened.
using UrlOpener = std::function<void(const QUrl &)>;
UrlOpener defaultUrlOpener();

// Text drawn with a white highlight above-left and a shadow below-right, so it
// looks raised from the dialog face.
class TExLabel : public QLabel {
    Q_OBJECT
public:
    explicit TExLabel(const QString &text, QWidget *parent = nullptr);

    int depth() const { return m_depth; }
    void setDepth(int depth);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_depth = 1;
};

// A label that opens its address when clicked with the left button.
class TLinkBase : public QLabel {
    Q_OBJECT
public:
    QUrl target() const { return m_target; }
    void setOpener(UrlOpener opener) { m_opener = std::move(opener); }

signals:
    void clicked();

protected:
    TLinkBase(const QUrl &target, QWidget *parent);
    void activate();
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QUrl m_target;
    UrlOpener m_opener;
};

// Underlined text that opens its address when clicked (or with Enter/Space).
class TLinkLabel : public TLinkBase {
    Q_OBJECT
public:
    TLinkLabel(const QString &text, const QUrl &target, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A picture that opens its address when clicked.
class TLinkImage : public TLinkBase {
    Q_OBJECT
public:
    TLinkImage(const QPixmap &picture, const QUrl &target, QWidget *parent = nullptr);
};
