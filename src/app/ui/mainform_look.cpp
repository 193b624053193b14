// Fonts, colours, column widths and skins of the main window.
#include "app/ui/mainform.h"

#include "app/ui/aboutform.h"
#include "platform/ui/prompts.h"

void TTunoviaF::restoreLook()
{
    restoreFonts();
    restoreColumns();
}

void TTunoviaF::restoreFonts()
{
    m_services.settings.restoreFonts(m_looks.five, m_looks.thirteen);
    m_lists->applyLooks(m_looks);
}

void TTunoviaF::restoreColumns()
{
    m_lists->readColumnWidths(m_looks.widths);
    m_services.settings.restoreColumns(legacyCurrent(), m_looks.widths);
    m_lists->restoreColumnWidths(legacyCurrent(), m_looks.widths);
}

void TTunoviaF::storeColumnWidths()
{
    m_lists->readColumnWidths(m_looks.widths);
    reportStoreError(m_services.settings.storeColumnWidths(legacyCurrent(), m_looks.widths, m_dialog));
}

void TTunoviaF::resetColumnWidths()
{
    m_lists->resetColumnWidths();
    // Saved at once: "OK" re-reads the layout from the file, which would
    // otherwise bring the old widths straight back.
    storeColumnWidths();
}

void TTunoviaF::applyLookAndSkins()
{
    m_lists->showSelectionUnfocused(m_dialog.showSelection);
    const Result<> loaded = m_toolBar->loadSkins(m_dialog.timeSkin, m_dialog.buttonSkin);
    if (!loaded.ok())
        return m_services.prompts.exception(this, loaded.error());
    TrackListViews::selectWholeRows(m_currentList);
}

void TTunoviaF::FontMnuClick()
{
    ListLook &look = m_looks.of(legacyCurrent());
    if (m_lists->chooseFont(m_currentList, look))
        reportStoreError(m_services.settings.storeListFont(look));
}

void TTunoviaF::FontColorMnuClick()
{
    int &color = m_looks.of(legacyCurrent()).color;
    if (m_lists->chooseColor(m_currentList, QPalette::Text, m_dialog.showSelection, color))
        reportStoreError(m_services.settings.storeListColor(color));
}

void TTunoviaF::BackColorMnuClick()
{
    int &color = m_looks.of(legacyCurrent()).backColor;
    if (m_lists->chooseColor(m_currentList, QPalette::Base, m_dialog.showSelection, color))
        reportStoreError(m_services.settings.storeListBackColor(color));
}

void TTunoviaF::AboutMnuClick() { TAboutF::run(this); }
