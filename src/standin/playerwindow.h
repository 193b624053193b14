#pragma once
// The stand-in player's small window: what plays, the time, the transport
// buttons, the volume and the playlist.
#include <QMainWindow>

class PlayerEngine;
class PluginHost;
class QLabel;
class QListWidget;
class QMenu;
class QSlider;

class PlayerWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit PlayerWindow(PlayerEngine &engine, QWidget *parent = nullptr);

    // Fills the plug-in menu; call after the plug-ins are loaded.
    void setPlugins(PluginHost &plugins);

private:
    void refresh();
    void refillPlaylist();

    PlayerEngine &m_engine;
    QLabel *m_nowPlaying;
    QLabel *m_details;
    QLabel *m_time;
    QSlider *m_position;
    QSlider *m_volume;
    QListWidget *m_playlist;
    QLabel *m_problem;
    QMenu *m_pluginMenu;
    int m_boldRow = -1;
};
