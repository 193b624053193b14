// Fonts, colours, column widths and skins of the main window.
#include "app/ui/mainform.h"

#include "app/ui/aboutform.h"
#include "config/wincolor.h"
#include "platform/regularfile.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "tracks/trackmodel.h"

#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QToolButton>
#include <QTreeView>

namespace {

// What a skin load failure reports; the pictures loaded before it stay.
struct SkinError {
    QString file;
};

QPixmap loadSkinPicture(const QString &file)
{
    // Read from a checked file: a FIFO named like a skin picture would never answer.
    QFile device;
    if (!regularfile::open(device, file))
        throw SkinError{file};
    QImageReader reader(&device);
    const QImage image = reader.read();
    if (image.isNull())
        throw SkinError{file};
    return QPixmap::fromImage(image);
}

void applyLook(QTreeView *view, const ListLook &look)
{
    QFont font(look.fontName);
    font.setPointSize(look.fontSize > 0 ? look.fontSize : 9);
    font.setBold(look.bold);
    font.setItalic(look.italic);
    view->setFont(font);
    QPalette palette = view->palette();
    const QColor window = view->style()->standardPalette().color(QPalette::Base);
    const QColor text = view->style()->standardPalette().color(QPalette::Text);
    palette.setColor(QPalette::Base, wincolor::toColor(look.backColor, window, text));
    palette.setColor(QPalette::Text, wincolor::toColor(look.color, window, text));
    view->setPalette(palette);
}

// Without "ShowSelection" an unfocused list draws its selection in its own
// colours, so those follow a colour change.
void hideInactiveSelection(QPalette &palette)
{
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Inactive, QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, palette.color(QPalette::Inactive, QPalette::Text));
}

} // namespace

// A column hidden by the plain-list style still has its width; the header
// reports 0 for it, which must not reach the settings file.
int TTunoviaF::keptColumnWidth(QTreeView *view, int column)
{
    QHeaderView *header = view->header();
    if (!header->isSectionHidden(column))
        return header->sectionSize(column);
    const QSignalBlocker quiet(header);
    header->showSection(column);
    const int width = header->sectionSize(column);
    header->hideSection(column);
    return width;
}

void TTunoviaF::restoreFonts()
{
    m_services.settings.restoreFonts(m_look5, m_look13);
    applyLook(m_MP3ListView, m_look5);
    applyLook(m_MP3ListView2, m_look13);
}

void TTunoviaF::restoreColumns()
{
    const bool five = m_currentList == m_MP3ListView;
    for (int i = 0; i < kFiveColumnCount; ++i)
        m_widths.five[size_t(i)] = keptColumnWidth(m_MP3ListView, i);
    for (int i = 0; i < kTrackFieldCount; ++i)
        m_widths.thirteen[size_t(i)] = keptColumnWidth(m_MP3ListView2, i);
    m_services.settings.restoreColumns(five, m_widths);
    QTreeView *view = five ? m_MP3ListView : m_MP3ListView2;
    view->setUpdatesEnabled(false);
    if (five) {
        for (int i = 0; i < kFiveColumnCount; ++i)
            m_MP3ListView->setColumnWidth(i, m_widths.five[size_t(i)]);
    } else {
        for (int i = 0; i < kTrackFieldCount; ++i)
            m_MP3ListView2->setColumnWidth(i, m_widths.thirteen[size_t(i)]);
    }
    view->setUpdatesEnabled(true);
}

void TTunoviaF::storeColumnWidths()
{
    const bool five = m_currentList == m_MP3ListView;
    for (int i = 0; i < kFiveColumnCount; ++i)
        m_widths.five[size_t(i)] = keptColumnWidth(m_MP3ListView, i);
    for (int i = 0; i < kTrackFieldCount; ++i)
        m_widths.thirteen[size_t(i)] = keptColumnWidth(m_MP3ListView2, i);
    reportStoreError(m_services.settings.saveColumnWidths(five, m_widths, m_dialog));
}

void TTunoviaF::applyLookAndSkins()
{
    for (QTreeView *view : {m_MP3ListView, m_MP3ListView2}) {
        // Without focus the selection is drawn only when asked to keep it visible.
        QPalette palette = view->palette();
        const QPalette active = view->style()->standardPalette();
        if (m_dialog.showSelection) {
            palette.setColor(QPalette::Inactive, QPalette::Highlight, active.color(QPalette::Active, QPalette::Highlight));
            palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                             active.color(QPalette::Active, QPalette::HighlightedText));
        } else {
            palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Inactive, QPalette::Base));
            palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                             palette.color(QPalette::Inactive, QPalette::Text));
        }
        view->setPalette(palette);
    }

    try {
        const QString timeSkin = m_dialog.timeSkin;
        if (QFileInfo::exists(timeSkin + QStringLiteral("0.bmp"))) {
            for (int i = 0; i < 10; ++i)
                m_digitPictures[size_t(i)] = loadSkinPicture(timeSkin + QStringLiteral("%1.bmp").arg(i));
            m_Img1->setPixmap(loadSkinPicture(timeSkin + QStringLiteral("_.bmp")));
        }
        for (QLabel *digit : m_timeDigits)
            digit->setPixmap(m_digitPictures[0]);

        const QString buttonSkin = m_dialog.buttonSkin;
        if (QFileInfo::exists(buttonSkin + QStringLiteral("play.bmp"))) {
            for (auto which : BuiltinPictures::kAllButtonPictures) {
                const size_t i = size_t(which);
                m_imageButtons[i]->setIcon(loadSkinPicture(buttonSkin + BuiltinPictures::buttonFileName(which, false)));
                m_normalPictures[i] = m_imageButtons[i]->icon().pixmap(BuiltinPictures::buttonSize(which));
            }
            const bool pressedSkin = QFileInfo::exists(buttonSkin + QStringLiteral("click_play.bmp"));
            for (auto which : BuiltinPictures::kAllButtonPictures) {
                const size_t i = size_t(which);
                m_pressedPictures[i] = pressedSkin
                                           ? loadSkinPicture(buttonSkin + BuiltinPictures::buttonFileName(which, true))
                                           : m_normalPictures[i];
            }
        }
        for (auto which : BuiltinPictures::kAllButtonPictures) {
            const size_t i = size_t(which);
            m_normalPictures[i] = m_imageButtons[i]->icon().pixmap(BuiltinPictures::buttonSize(which));
        }
    } catch (const SkinError &e) {
        m_services.prompts.exception(this, U("画像を読み込めませんでした。\n%1").arg(e.file));
        return;
    }
    m_currentList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_currentList->setAllColumnsShowFocus(true);
}

void TTunoviaF::FontMnuClick()
{
    const auto chosen = m_services.prompts.font(this, m_currentList->font());
    if (!chosen)
        return;
    QFont font = m_currentList->font();
    font.setFamily(chosen->family());
    font.setPointSize(chosen->pointSize());
    font.setBold(chosen->bold());
    font.setItalic(chosen->italic());
    m_currentList->setFont(font);
    ListLook &look = m_currentList == m_MP3ListView ? m_look5 : m_look13;
    look.fontName = SettingsStore::cutFontName(font.family());
    look.fontSize = font.pointSize();
    look.bold = font.bold();
    look.italic = font.italic();
    reportStoreError(m_services.settings.saveListFont(look));
}

void TTunoviaF::FontColorMnuClick()
{
    const QColor current = m_currentList->palette().color(QPalette::Text);
    const auto chosen = m_services.prompts.color(this, current);
    if (!chosen)
        return;
    QPalette palette = m_currentList->palette();
    palette.setColor(QPalette::Text, *chosen);
    if (!m_dialog.showSelection)
        hideInactiveSelection(palette);
    m_currentList->setPalette(palette);
    ListLook &look = m_currentList == m_MP3ListView ? m_look5 : m_look13;
    look.color = wincolor::fromColor(*chosen);
    reportStoreError(m_services.settings.saveListColor(look.color));
}

void TTunoviaF::BackColorMnuClick()
{
    const QColor current = m_currentList->palette().color(QPalette::Base);
    const auto chosen = m_services.prompts.color(this, current);
    if (!chosen)
        return;
    QPalette palette = m_currentList->palette();
    palette.setColor(QPalette::Base, *chosen);
    if (!m_dialog.showSelection)
        hideInactiveSelection(palette);
    m_currentList->setPalette(palette);
    ListLook &look = m_currentList == m_MP3ListView ? m_look5 : m_look13;
    look.backColor = wincolor::fromColor(*chosen);
    reportStoreError(m_services.settings.saveListBackColor(look.backColor));
}

void TTunoviaF::AboutMnuClick() { TAboutF::run(this); }
