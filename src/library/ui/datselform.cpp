#include "library/ui/datselform.h"

#include "config/settingsstore.h"
#include "config/wincolor.h"
#include "controls/ui/screenfit.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/regularfile.h"
#include "platform/ui/prompts.h"

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

using namespace settingskeys;

namespace {

constexpr int kDefaultWidth = 268;
constexpr int kDefaultHeight = 303;
constexpr int kDefaultFolderHeight = 106;
constexpr int kMinAlbumPane = 50;
constexpr int kFolderRole = Qt::UserRole + 1;

// The first failure of several writes that are all tried.
class Writes {
public:
    void operator<<(ProfileWrite written)
    {
        if (m_first.ok())
            m_first = std::move(written);
    }
    const ProfileWrite &first() const { return m_first; }

private:
    ProfileWrite m_first;
};

} // namespace

TDataSelectF::TDataSelectF(Prompts &prompts, SettingsStore &settings, Launch launch, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_prompts(prompts),
      m_store(settings), m_profile(settings.profile()), m_launch(std::move(launch))
{
    setUp();
}

TDataSelectF::~TDataSelectF() = default;

void TDataSelectF::setUp()
{
    setObjectName(QStringLiteral("DataSelectF"));
    setWindowTitle(QStringLiteral("アルバム選択"));
    setAcceptDrops(true);

    m_folderTree = new QTreeWidget;
    m_folderTree->setObjectName(QStringLiteral("FolderTree"));
    m_folderTree->setHeaderHidden(true);
    m_folderTree->setIndentation(19);
    m_folderTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_folderTree->setUniformRowHeights(true);
    // Only the album pane has a minimum; the boundary may go up to the top.
    m_folderTree->setMinimumHeight(1);

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("AlbumList"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setUniformItemSizes(true);
    m_list->setMinimumHeight(kMinAlbumPane);

    m_splitter = new QSplitter(Qt::Vertical);
    m_splitter->setObjectName(QStringLiteral("Splitter"));
    m_splitter->setHandleWidth(1);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(m_folderTree);
    m_splitter->addWidget(m_list);

    m_keep = new QCheckBox(QStringLiteral("曲リストをクリアしない"));
    m_keep->setObjectName(QStringLiteral("KeepListChk"));
    m_ok = new QPushButton(QStringLiteral("OK"));
    m_ok->setObjectName(QStringLiteral("OkBtn"));
    m_ok->setDefault(true);
    m_ok->setEnabled(false);
    m_cancel = new QPushButton(QStringLiteral("Cancel"));
    m_cancel->setObjectName(QStringLiteral("CancelBtn"));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_keep);
    bottom->addStretch();
    bottom->addWidget(m_ok);
    bottom->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_splitter, 1);
    layout->addLayout(bottom);

    connect(m_folderTree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { FolderTreeChange(current); });
    connect(m_list, &QListWidget::itemClicked, this, [this] { AlbumListClick(); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this] {
        if (m_list->hasFocus())
            AlbumListClick();
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { OkBtnClick(); });
    connect(m_ok, &QPushButton::clicked, this, [this] { OkBtnClick(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { CancelBtnClick(); });

    buildMenu();
    restoreLook();
}

void TDataSelectF::buildMenu()
{
    m_menu = new QMenu(this);
    struct Item {
        const char *name;
        const char *caption;
        QKeySequence shortcut;
        void (TDataSelectF::*handler)();
        bool visible;
    };
    const Item items[] = {
        {"LoadMnu", "データ読み込み(&L)", QKeySequence(Qt::CTRL | Qt::Key_L), &TDataSelectF::LoadMnuClick, true},
        {"AllSelectMnu", "全て選択(&A)", QKeySequence(Qt::CTRL | Qt::Key_A), &TDataSelectF::AllSelectMnuClick, true},
        {"InvertSelectMnu", "選択を反転(&I)", QKeySequence(Qt::CTRL | Qt::Key_I), &TDataSelectF::InvertSelectMnuClick,
         true},
        {"SubFolderMnu", "サブフォルダ以下のアルバムも表示", QKeySequence(Qt::CTRL | Qt::Key_Z),
         &TDataSelectF::SubFolderMnuClick, true},
        {"SortMnu", "アルバムリストをソート", QKeySequence(Qt::CTRL | Qt::Key_S), &TDataSelectF::SortMnuClick, true},
        {"EditMnu", "インデックスファイルの編集(&E)", QKeySequence(Qt::CTRL | Qt::Key_E), &TDataSelectF::EditMnuClick,
         true},
        {"ReloadMnu", "リロード(&R)", QKeySequence(Qt::CTRL | Qt::Key_R), &TDataSelectF::ReloadMnuClick, true},
        {"NewIndexMnu", "インデックスファイルの新規作成(&N)", {}, &TDataSelectF::NewIndexMnuClick, true},
        {"NewFolderMnu", "フォルダ作成(&F)", {}, &TDataSelectF::NewFolderMnuClick, true},
        {"FontMnu", "フォント変更", {}, &TDataSelectF::FontMnuClick, true},
        {"FontColorMnu", "フォントの色", {}, &TDataSelectF::FontColorMnuClick, false},
        {"BackColorMnu", "背景色", {}, &TDataSelectF::BackColorMnuClick, false},
    };
    for (const Item &item : items) {
        auto *action = new QAction(QString::fromUtf8(item.caption), this);
        action->setObjectName(QLatin1String(item.name));
        action->setShortcut(item.shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setVisible(item.visible);
        const auto handler = item.handler;
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        m_menu->addAction(action);
        addAction(action); // shortcuts work without opening the menu
        if (qstrcmp(item.name, "LoadMnu") == 0)
            m_menu->setDefaultAction(action);
    }
}

void TDataSelectF::restoreLook()
{
    const int width = m_profile.readInt(kDataSelectWindow, key::Width, kDefaultWidth);
    const int height = m_profile.readInt(kDataSelectWindow, key::Height, kDefaultHeight);
    resize(std::max(width, 100), std::max(height, 100));
    if (m_profile.value(kDataSelectWindow, key::Top) && m_profile.value(kDataSelectWindow, key::Left))
        m_storedPos = QPoint(m_profile.readInt(kDataSelectWindow, key::Left, 0),
                             m_profile.readInt(kDataSelectWindow, key::Top, 0));
    // Placed for good once shown; moved now so that it does not open over
    // the main window meanwhile.
    m_placePending = true;
    if (m_storedPos)
        move(*m_storedPos);
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width / 2, height / 2));
    // The splitter shares out its height only once laid out, so the boundary
    // is placed when the dialog is first shown.
    m_storedFolderHeight = std::max(m_profile.readInt(kDataSelectWindow, key::FolderHeight, kDefaultFolderHeight), 0);
    m_splitter->setSizes({*m_storedFolderHeight, std::max(height - *m_storedFolderHeight, kMinAlbumPane)});

    QFont font(m_profile.readString(kDataSelectWindow, key::FontName, QStringLiteral("ＭＳ Ｐゴシック")));
    if (const int size = m_profile.readInt(kDataSelectWindow, key::FontSize, 0); size > 0)
        font.setPointSize(size);
    else
        font.setPixelSize(12);
    font.setBold(m_profile.readFlag(kDataSelectWindow, key::FontBold, false));
    font.setItalic(m_profile.readFlag(kDataSelectWindow, key::FontItalic, false));
    m_list->setFont(font);
    m_folderTree->setFont(font);

    const QColor window = palette().color(QPalette::Base);
    const QColor text = palette().color(QPalette::Text);
    applyColors(
        wincolor::toColor(m_profile.readInt(kDataSelectWindow, key::FontColor, wincolor::kWindowText), window, text),
        wincolor::toColor(m_profile.readInt(kDataSelectWindow, key::BackColor, wincolor::kWindow), window, text));
}

void TDataSelectF::applyColors(const QColor &text, const QColor &back)
{
    m_textColor = text;
    m_backColor = back;
    for (QWidget *w : {static_cast<QWidget *>(m_list), static_cast<QWidget *>(m_folderTree)}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Text, text);
        p.setColor(QPalette::Base, back);
        w->setPalette(p);
    }
}

bool TDataSelectF::loadIndexFile(const QString &path)
{
    m_indexPath = path;
    const Result<indexfile::Tree> read = indexfile::readFile(path);
    m_tree = read.ok() ? read.value() : indexfile::parseText({});
    setWindowTitle(m_tree.title.isEmpty() ? QStringLiteral("アルバム選択") : m_tree.title);

    m_list->clear();
    m_albumPaths.clear();
    m_ok->setEnabled(false);
    m_folderTree->blockSignals(true);
    m_folderTree->clear();
    std::vector<QTreeWidgetItem *> items(m_tree.folders.size());
    for (size_t f = 0; f < m_tree.folders.size(); ++f) {
        const indexfile::Folder &folder = m_tree.folders[f];
        auto *item = new QTreeWidgetItem(QStringList{folder.name});
        item->setData(0, kFolderRole, int(f));
        item->setExpanded(true);
        if (folder.parent < 0)
            m_folderTree->addTopLevelItem(item);
        else
            items[size_t(folder.parent)]->addChild(item);
        items[f] = item;
    }
    m_folderTree->expandAll();
    m_folderTree->blockSignals(false);
    // The root starts chosen, so that a drop or a new folder always has a target.
    m_folderTree->setCurrentItem(items.front());
    return read.ok();
}

int TDataSelectF::selectedFolder() const
{
    const QTreeWidgetItem *item = m_folderTree->currentItem();
    return item ? item->data(0, kFolderRole).toInt() : -1;
}

void TDataSelectF::showEntries(const std::vector<indexfile::Entry> &entries)
{
    m_list->clear();
    m_albumPaths.clear();
    m_ok->setEnabled(false);
    QStringList names;
    names.reserve(qsizetype(entries.size()));
    for (const indexfile::Entry &e : entries) {
        names.append(e.name);
        m_albumPaths.append(e.path);
    }
    m_list->addItems(names);
}

void TDataSelectF::FolderTreeChange(QTreeWidgetItem *item)
{
    if (!item) {
        showEntries({});
        return;
    }
    const int folder = item->data(0, kFolderRole).toInt();
    if (folder >= 0 && folder < int(m_tree.folders.size()))
        showEntries(m_tree.folders[size_t(folder)].entries);
}

void TDataSelectF::AlbumListClick() { m_ok->setEnabled(true); }

void TDataSelectF::OkBtnClick() { accept(); }

void TDataSelectF::CancelBtnClick() { reject(); }

void TDataSelectF::LoadMnuClick() { accept(); }

void TDataSelectF::AllSelectMnuClick() { m_list->selectAll(); }

void TDataSelectF::InvertSelectMnuClick()
{
    if (m_list->count() == 0)
        return;
    QItemSelection all(m_list->model()->index(0, 0), m_list->model()->index(m_list->count() - 1, 0));
    m_list->selectionModel()->select(all, QItemSelectionModel::Toggle);
}

void TDataSelectF::SubFolderMnuClick()
{
    const int folder = selectedFolder();
    if (folder < 0)
        return;
    showEntries(m_tree.entriesWithSubfolders(folder));
}

void TDataSelectF::SortMnuClick()
{
    // The selection moves with the names, so OK loads the albums the user picked.
    QStringList names;
    QStringList order;
    names.reserve(m_list->count());
    order.reserve(m_list->count());
    for (int i = 0; i < m_list->count(); ++i) {
        names.append(m_list->item(i)->text());
        order.append(QString::number(i));
    }
    indexfile::sortOnePass(names, order);
    const QStringList paths = m_albumPaths;
    std::vector<bool> selected;
    selected.reserve(size_t(m_list->count()));
    for (int i = 0; i < m_list->count(); ++i)
        selected.push_back(m_list->item(i)->isSelected());
    for (int i = 0; i < m_list->count(); ++i) {
        const int from = order[i].toInt();
        m_list->item(i)->setText(names[i]);
        m_list->item(i)->setSelected(selected[size_t(from)]);
        m_albumPaths[i] = paths.value(from);
    }
}

void TDataSelectF::EditMnuClick()
{
    const QString editor = m_profile.readString(kSetting, key::TextEditor, QString());
    if (editor.isEmpty()) {
        m_prompts.error(this, QStringLiteral("テキストエディタのパスが設定されていません。"));
        return;
    }
    if (m_launch && !m_launch(editor, m_indexPath))
        m_prompts.error(this, editor + QStringLiteral("を起動できませんでした。"));
}

void TDataSelectF::ReloadMnuClick()
{
    // The next drop or new folder goes where the user pointed, so the
    // chosen folder stays chosen while the file still has it.
    const FolderKey kept = folderKey(m_folderTree->currentItem());
    loadIndexFile(m_indexPath);
    if (QTreeWidgetItem *item = folderItem(kept))
        m_folderTree->setCurrentItem(item);
}

TDataSelectF::FolderKey TDataSelectF::folderKey(QTreeWidgetItem *item) const
{
    FolderKey key;
    for (; item && item->parent(); item = item->parent()) {
        QTreeWidgetItem *parent = item->parent();
        int sameNamedBefore = 0;
        for (int i = 0, at = parent->indexOfChild(item); i < at; ++i)
            sameNamedBefore += parent->child(i)->text(0) == item->text(0) ? 1 : 0;
        key.prepend({item->text(0), sameNamedBefore});
    }
    return key;
}

QTreeWidgetItem *TDataSelectF::folderItem(const FolderKey &key) const
{
    QTreeWidgetItem *item = m_folderTree->topLevelItem(0);
    for (const auto &[name, sameNamedBefore] : key) {
        QTreeWidgetItem *found = nullptr;
        for (int i = 0, seen = 0; item && i < item->childCount() && !found; ++i) {
            if (item->child(i)->text(0) == name && seen++ == sameNamedBefore)
                found = item->child(i);
        }
        item = found;
    }
    return item;
}

void TDataSelectF::NewIndexMnuClick()
{
    const QString path =
        m_prompts.saveFile(this, QStringLiteral("インデックスファイルの新規作成"), paths::folderPart(m_indexPath),
                           QStringLiteral("インデックスファイル (*.ini);;全てのファイル (*)"), QString());
    if (path.isEmpty())
        return;
    if (const Result<> saved = indexfile::saveFile(path, indexfile::newFileContent()); !saved.ok()) {
        m_prompts.error(this, QStringLiteral("インデックスファイルを作成できませんでした。\n") + path +
                                  QLatin1Char('\n') + saved.error());
        return;
    }
    m_indexPath = path;
    ReloadMnuClick();
}

bool TDataSelectF::insertIntoIndex(const QStringList &lines)
{
    const regularfile::Read file = regularfile::read(m_indexPath);
    if (!file && file.failure != regularfile::Failure::Missing) {
        m_prompts.error(this, QStringLiteral("インデックスファイルを読み込めませんでした。\n") + m_indexPath);
        return false;
    }
    const QByteArray &bytes = file.bytes;
    const QByteArray changed = indexfile::insertLines(bytes, selectedFolder(), lines);
    if (changed == bytes)
        return true;
    if (const Result<> saved = indexfile::saveFile(m_indexPath, changed); !saved.ok()) {
        m_prompts.error(this, QStringLiteral("インデックスファイルに書き込めませんでした。\n") + m_indexPath +
                                  QLatin1Char('\n') + saved.error());
        return false;
    }
    return true;
}

void TDataSelectF::NewFolderMnuClick()
{
    const auto name = m_prompts.inputText(this, QStringLiteral("フォルダの新規作成"),
                                          QStringLiteral("フォルダ名を入力してください"), QString());
    if (!name)
        return;
    QString clean = *name;
    clean.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    insertIntoIndex(indexfile::folderLines(clean));
    ReloadMnuClick();
}

void TDataSelectF::dropFiles(const QStringList &files)
{
    // Every entry goes into the folder chosen when the drop began; the tree
    // is re-read only once, after the last file.
    for (const QString &file : files) {
        // A line break would split the entry and a TAB would vanish on reading.
        if (file.contains(QLatin1Char('\n')) || file.contains(QLatin1Char('\r')) || file.contains(QLatin1Char('\t'))) {
            m_prompts.error(this,
                            QStringLiteral("改行やTABを含むパスはインデックスファイルに登録できません。\n") + file);
            continue;
        }
        const QString fileName = paths::namePart(file);
        std::optional<QString> name;
        for (;;) {
            name = m_prompts.inputText(this, QStringLiteral("名称入力"),
                                       fileName + QStringLiteral(" の名称を入力してください"), fileName);
            if (!name || indexfile::isValidEntryName(*name))
                break;
            m_prompts.error(this, QStringLiteral("名称が空か、使えない文字（= ; TAB）を含んでいます。"));
        }
        if (!name)
            break;
        if (!insertIntoIndex({indexfile::entryLine(*name, file)}))
            break;
    }
    ReloadMnuClick();
}

void TDataSelectF::FontMnuClick()
{
    const auto font = m_prompts.font(this, m_list->font());
    if (!font)
        return;
    QFont chosen = m_list->font();
    chosen.setFamily(font->family());
    if (font->pointSize() > 0)
        chosen.setPointSize(font->pointSize());
    chosen.setBold(font->bold());
    chosen.setItalic(font->italic());
    m_list->setFont(chosen);
    m_folderTree->setFont(chosen);
    Writes writes;
    writes << m_profile.writeString(kDataSelectWindow, key::FontName, chosen.family());
    writes << m_profile.writeInt(kDataSelectWindow, key::FontSize, chosen.pointSize() > 0 ? chosen.pointSize() : 9);
    writes << m_profile.writeInt(kDataSelectWindow, key::FontBold, chosen.bold() ? 1 : 0);
    writes << m_profile.writeInt(kDataSelectWindow, key::FontItalic, chosen.italic() ? 1 : 0);
    reportWrite(writes.first());
}

void TDataSelectF::reportWrite(const ProfileWrite &written)
{
    if (const auto text = m_store.failureToReport(written))
        m_prompts.exception(this, *text);
}

void TDataSelectF::FontColorMnuClick()
{
    const auto color = m_prompts.color(this, m_textColor);
    if (!color)
        return;
    applyColors(*color, m_backColor);
    reportWrite(m_profile.writeInt(kDataSelectWindow, key::FontColor, wincolor::fromColor(*color)));
}

void TDataSelectF::BackColorMnuClick()
{
    const auto color = m_prompts.color(this, m_backColor);
    if (!color)
        return;
    applyColors(m_textColor, *color);
    reportWrite(m_profile.writeInt(kDataSelectWindow, key::BackColor, wincolor::fromColor(*color)));
}

std::vector<indexfile::Entry> TDataSelectF::selectedAlbums() const
{
    std::vector<indexfile::Entry> out;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->isSelected())
            out.push_back({m_list->item(i)->text(), m_albumPaths.value(i)});
    return out;
}

bool TDataSelectF::keepTrackList() const { return m_keep->isChecked(); }

void TDataSelectF::done(int result)
{
    // Position as move() takes it (the frame's corner), size as resize() takes
    // it (the client area), so that the dialog reopens exactly where it was.
    Writes writes;
    writes << m_profile.writeInt(kDataSelectWindow, key::Top, pos().y());
    writes << m_profile.writeInt(kDataSelectWindow, key::Left, pos().x());
    writes << m_profile.writeInt(kDataSelectWindow, key::Width, width());
    writes << m_profile.writeInt(kDataSelectWindow, key::Height, height());
    // Never shown: the splitter was never laid out, so the stored boundary stands.
    writes << m_profile.writeInt(kDataSelectWindow, key::FolderHeight,
                                 m_storedFolderHeight ? *m_storedFolderHeight
                                                      : m_splitter->sizes().value(0, kDefaultFolderHeight));
    reportWrite(writes.first());
    QDialog::done(result);
}

void TDataSelectF::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TDataSelectF::dropEvent(QDropEvent *event)
{
    QStringList files;
    for (const QUrl &url : event->mimeData()->urls())
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    event->acceptProposedAction();
    if (!files.isEmpty())
        dropFiles(files);
}

void TDataSelectF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Only now has the layout given the dialog its real size (never below
    // what its controls need), so the centre is worked out from that. A move
    // before the first show also ignores the frame on some platforms.
    if (std::exchange(m_placePending, false)) {
        const QSize frame = frameGeometry().size();
        QPoint corner;
        if (m_storedPos)
            corner = *m_storedPos;
        else if (const QScreen *screen = QGuiApplication::primaryScreen())
            corner = screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2);
        else
            corner = pos();
        move(screenfit::ontoNearestArea(QRect(corner, frame), screenfit::screenAreas()).topLeft());
    }
    if (m_storedFolderHeight) {
        const int folderHeight = *std::exchange(m_storedFolderHeight, std::nullopt);
        const int total = m_splitter->height() - m_splitter->handleWidth();
        m_splitter->setSizes({folderHeight, std::max(total - folderHeight, kMinAlbumPane)});
    }
}

void TDataSelectF::contextMenuEvent(QContextMenuEvent *event) { m_menu->popup(event->globalPos()); }
