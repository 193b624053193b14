#include "standin/playerwindow.h"

#include "platform/paths.h"
#include "standin/playerengine.h"
#include "standin/pluginhost.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString clock(qint64 ms)
{
    if (ms < 0)
        return QStringLiteral("--:--");
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

PlayerWindow::PlayerWindow(PlayerEngine &engine, QWidget *parent) : QMainWindow(parent), m_engine(engine)
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(6);

    m_nowPlaying = new QLabel(central);
    QFont big = m_nowPlaying->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    m_nowPlaying->setFont(big);
    m_nowPlaying->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_details = new QLabel(central);
    m_details->setForegroundRole(QPalette::PlaceholderText);

    m_time = new QLabel(central);
    QFont digits = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    digits.setPointSizeF(big.pointSizeF() * 1.4);
    m_time->setFont(digits);
    m_time->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *top = new QHBoxLayout;
    auto *names = new QVBoxLayout;
    names->addWidget(m_nowPlaying);
    names->addWidget(m_details);
    top->addLayout(names, 1);
    top->addWidget(m_time);
    layout->addLayout(top);

    m_position = new QSlider(Qt::Horizontal, central);
    m_position->setObjectName(QStringLiteral("PositionSlider"));
    connect(m_position, &QSlider::sliderReleased, this, [this] { m_engine.seekTo(m_position->value()); });
    layout->addWidget(m_position);

    auto *buttons = new QHBoxLayout;
    const struct {
        QStyle::StandardPixmap icon;
        const char *tip;
        void (PlayerEngine::*action)();
    } transport[] = {
        {QStyle::SP_MediaSkipBackward, "前の曲", &PlayerEngine::previous},
        {QStyle::SP_MediaPlay, "再生", &PlayerEngine::play},
        {QStyle::SP_MediaPause, "一時停止", &PlayerEngine::pause},
        {QStyle::SP_MediaStop, "停止", &PlayerEngine::stop},
        {QStyle::SP_MediaSkipForward, "次の曲", &PlayerEngine::next},
    };
    for (const auto &t : transport) {
        auto *b = new QToolButton(central);
        b->setIcon(style()->standardIcon(t.icon));
        b->setIconSize(QSize(22, 22));
        b->setAutoRaise(true);
        b->setToolTip(QString::fromUtf8(t.tip));
        const auto action = t.action;
        connect(b, &QToolButton::clicked, this, [this, action] { (m_engine.*action)(); });
        buttons->addWidget(b);
    }
    buttons->addStretch();
    auto *speaker = new QLabel(central);
    speaker->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(16, 16));
    buttons->addWidget(speaker);
    m_volume = new QSlider(Qt::Horizontal, central);
    m_volume->setObjectName(QStringLiteral("VolumeSlider"));
    m_volume->setRange(0, 255);
    m_volume->setFixedWidth(110);
    connect(m_volume, &QSlider::valueChanged, this, [this](int v) {
        if (v != m_engine.volume())
            m_engine.setVolume(v);
    });
    buttons->addWidget(m_volume);
    layout->addLayout(buttons);

    m_playlist = new QListWidget(central);
    m_playlist->setObjectName(QStringLiteral("Playlist"));
    m_playlist->setAlternatingRowColors(true);
    connect(m_playlist, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { m_engine.playIndex(m_playlist->row(item)); });
    layout->addWidget(m_playlist, 1);

    m_problem = new QLabel(central);
    m_problem->setStyleSheet(QStringLiteral("color: #b00020;"));
    layout->addWidget(m_problem);

    setCentralWidget(central);

    QMenu *file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("終了(&X)"), qApp, &QApplication::quit);
    m_pluginMenu = menuBar()->addMenu(QStringLiteral("プラグイン(&P)"));
    m_pluginMenu->setEnabled(false);

    connect(&m_engine, &PlayerEngine::changed, this, &PlayerWindow::refresh);
    connect(&m_engine, &PlayerEngine::playlistChanged, this, &PlayerWindow::refillPlaylist);
    refillPlaylist();
    resize(420, 340);
}

void PlayerWindow::setPlugins(PluginHost &plugins)
{
    m_pluginMenu->clear();
    for (int i = 0; i < plugins.count(); ++i) {
        m_pluginMenu->addAction(QStringLiteral("%1 の設定...").arg(plugins.description(i)), this,
                                [&plugins, i] { plugins.configure(i); });
    }
    m_pluginMenu->setEnabled(plugins.count() > 0);
}

void PlayerWindow::refillPlaylist()
{
    m_playlist->clear();
    for (int i = 0; i < m_engine.count(); ++i)
        m_playlist->addItem(QStringLiteral("%1. %2").arg(i + 1).arg(paths::namePart(m_engine.entry(i))));
    m_boldRow = -1;
    refresh();
}

void PlayerWindow::refresh()
{
    setWindowTitle(m_engine.title());
    const bool idle = m_engine.state() == PlayState::Stopped;
    const QString file = m_engine.entry(m_engine.currentIndex());
    if (m_engine.count() == 0) {
        m_nowPlaying->setText(QStringLiteral("プレイリストは空です"));
        m_details->clear();
    } else {
        m_nowPlaying->setText(paths::namePart(file));
        const QString state = idle                                    ? QStringLiteral("停止")
                              : m_engine.state() == PlayState::Paused ? QStringLiteral("一時停止")
                                                                      : QStringLiteral("再生中");
        m_details->setText(
            QStringLiteral("%1 / %2 曲目 · %3").arg(m_engine.currentIndex() + 1).arg(m_engine.count()).arg(state));
    }
    const qint64 position = m_engine.positionMs();
    const qint64 length = m_engine.lengthMs();
    m_time->setText(clock(position) + QStringLiteral(" / ") + clock(length));
    m_position->setEnabled(!idle && length > 0);
    if (!m_position->isSliderDown()) {
        m_position->setRange(0, int(qMax<qint64>(0, length)));
        m_position->setValue(int(qMax<qint64>(0, position)));
    }
    if (!m_volume->isSliderDown())
        m_volume->setValue(m_engine.volume());
    if (m_boldRow != m_engine.currentIndex()) {
        for (const int row : {m_boldRow, m_engine.currentIndex()}) {
            if (QListWidgetItem *item = m_playlist->item(row)) {
                QFont f = item->font();
                f.setBold(row == m_engine.currentIndex());
                item->setFont(f);
            }
        }
        m_boldRow = m_engine.currentIndex();
    }
    m_problem->setText(m_engine.problem());
    m_problem->setVisible(!m_engine.problem().isEmpty());
}
