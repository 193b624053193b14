// Index files and album loading of the main window (see Lifecycle and IndexSource).
#include "app/ui/mainform.h"

#include "app/ui/albumchoice.h"
#include "app/ui/waitform.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "tracks/trackmodel.h"

#include <QTreeView>

void TTunoviaF::openIndexFile(const QString &path) { m_lifecycle.open(path); }

void TTunoviaF::IniSelMnuClick() { m_lifecycle.chooseIndex(); }

void TTunoviaF::MakeGroupMnuClick() { m_lifecycle.createIndex(); }

QString TTunoviaF::chooseIndexFile(const QString &start)
{
    return m_services.prompts.openFile(this, U("グループファイルの選択"), start,
                                       U(".iniファイル (*.ini);;全てのファイル (*)"));
}

QString TTunoviaF::chooseNewIndexFile(const QString &start)
{
    return m_services.prompts.saveFile(this, U("インデックスファイルの新規作成"), start,
                                       U("インデックスファイル (*.ini);;全てのファイル (*)"), QString());
}

Lifecycle::AlbumChoice TTunoviaF::chooseAlbums(const QString &indexPath)
{
    return ::chooseAlbums(this, m_services.prompts, m_services.settings, m_services.launcher, indexPath);
}

void TTunoviaF::showTrackList(std::vector<TrackRecord> tracks)
{
    m_model->setSizeShownAsTime(m_dialog.size2Time);
    m_model->setTracks(std::move(tracks));
}

void TTunoviaF::showWaiting(bool shown)
{
    delete m_wait;
    if (shown) {
        m_wait = new TWaitF(this);
        m_wait->popUp();
    }
}

void TTunoviaF::showAlbumTracks(std::vector<TrackRecord> tracks, bool keep)
{
    if (!keep)
        m_model2->clear();
    m_MP3ListView2->setUpdatesEnabled(false);
    m_model2->append(std::move(tracks));
    m_MP3ListView2->setUpdatesEnabled(true);
}
