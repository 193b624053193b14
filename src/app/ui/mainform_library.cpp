// Index files and album loading of the main window.
#include "app/ui/mainform.h"

#include "app/ui/waitform.h"
#include "library/albumfile.h"
#include "library/indexfile.h"
#include "library/ui/datselform.h"
#include "platform/launcher.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "tracks/trackmodel.h"

#include <QFile>
#include <QTreeView>
#include <memory>

namespace {
}

void TTunoviaF::openIndexFile(const QString &path)
{
    saveColumnsAndWindow();
    m_currentIndexPath = path;
    FormShow();
}

void TTunoviaF::IniSelMnuClick()
{
    const QString chosen = m_services.prompts.openFile(this, U("グループファイルの選択"), m_currentIndexPath,
                                                       U(".iniファイル (*.ini);;全てのファイル (*)"));
    if (chosen.isEmpty())
        return;
    openIndexFile(chosen);
}

void TTunoviaF::MakeGroupMnuClick()
{
    const QString chosen = m_services.prompts.saveFile(this, U("インデックスファイルの新規作成"), m_currentIndexPath,
                                                       U("インデックスファイル (*.ini);;全てのファイル (*)"), QString());
    if (chosen.isEmpty())
        return;
    if (auto error = indexfile::writeFile(chosen, indexfile::newFileContent())) {
        m_services.prompts.error(this, U("インデックスファイルを作成できませんでした。\n%1\n%2").arg(chosen, *error));
        return;
    }
    openIndexFile(chosen);
}

void TTunoviaF::loadLegacyList(const QByteArray &bytes)
{
    m_model->setSizeShownAsTime(m_dialog.size2Time);
    m_model->setTracks(album::parseLegacyList(bytes));
}

TTunoviaF::AlbumLoadOutcome TTunoviaF::selectAndLoadAlbums()
{
    auto launch = [this](const QString &editor, const QString &file) {
        return m_services.launcher.startEditor(editor, file);
    };
    TDataSelectF dialog(m_services.prompts, m_services.settings.profile(), launch, this);
    dialog.loadIndexFile(m_currentIndexPath);
    const int result = dialog.exec();
    // The dialog may have switched to a new index file of its own; it is
    // current from then on, whether or not albums are loaded.
    m_currentIndexPath = dialog.indexFilePath();
    if (result != QDialog::Accepted)
        return AlbumLoadOutcome::Cancelled;

    const std::vector<indexfile::Entry> albums = dialog.selectedAlbums();
    const bool keep = dialog.keepTrackList();
    dialog.hide();

    auto wait = std::make_unique<TWaitF>(this);
    wait->popUp();
    if (!keep)
        m_model2->clear();
    LyricsProbe probe(m_dialog.findFolder);
    for (const indexfile::Entry &entry : albums) {
        const QString path = album::albumPathFor(entry.path, m_currentIndexPath);
        m_MP3ListView2->setUpdatesEnabled(false);
        album::AlbumRead read = album::readAlbumFile(path, &probe);
        if (!read.error)
            m_model2->append(std::move(read.tracks));
        m_MP3ListView2->setUpdatesEnabled(true);
        if (read.error) {
            wait.reset();
            m_services.prompts.message(this, QString(), U("データファイルがロードできませんでした。"), Prompts::Icon::None);
            return AlbumLoadOutcome::Failed;
        }
        restoreFonts();
        restoreColumns();
        m_services.settings.restoreClassNames(m_classNames);
    }
    return AlbumLoadOutcome::Loaded;
}
