// Fonts, colours, column widths and skins of the main window.
#include "app/ui/mainform.h"

#include "app/ui/aboutform.h"
#include "app/ui/maintoolbar.h"
#include "app/ui/tracklistviews.h"
#include "platform/ui/prompts.h"

void TTunoviaF::restoreFonts()
{
    m_services.settings.restoreFonts(m_looks.five, m_looks.thirteen);
    m_lists->applyLooks(m_looks);
}

void TTunoviaF::restoreColumns()
{
    const bool five = m_currentList == m_MP3ListView;
    m_lists->readColumnWidths(m_looks.widths);
    m_services.settings.restoreColumns(five, m_looks.widths);
    m_lists->restoreColumnWidths(five, m_looks.widths);
}

void TTunoviaF::storeColumnWidths()
{
    m_lists->readColumnWidths(m_looks.widths);
    reportStoreError(m_services.settings.storeColumnWidths(m_currentList == m_MP3ListView, m_looks.widths, m_dialog));
}

void TTunoviaF::applyLookAndSkins()
{
    m_lists->showSelectionUnfocused(m_dialog.showSelection);
    if (const auto failed = m_toolBar->loadSkins(m_dialog.timeSkin, m_dialog.buttonSkin)) {
        m_services.prompts.exception(this, looksettings::skinErrorText(*failed));
        return;
    }
    TrackListViews::selectWholeRows(m_currentList);
}

void TTunoviaF::FontMnuClick()
{
    ListLook &look = m_looks.of(m_currentList == m_MP3ListView);
    if (m_lists->chooseFont(m_currentList, look))
        reportStoreError(m_services.settings.storeListFont(look));
}

void TTunoviaF::FontColorMnuClick()
{
    int &color = m_looks.of(m_currentList == m_MP3ListView).color;
    if (m_lists->chooseColor(m_currentList, QPalette::Text, m_dialog.showSelection, color))
        reportStoreError(m_services.settings.storeListColor(color));
}

void TTunoviaF::BackColorMnuClick()
{
    int &color = m_looks.of(m_currentList == m_MP3ListView).backColor;
    if (m_lists->chooseColor(m_currentList, QPalette::Base, m_dialog.showSelection, color))
        reportStoreError(m_services.settings.storeListBackColor(color));
}

void TTunoviaF::AboutMnuClick() { TAboutF::run(this); }
