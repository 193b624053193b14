// Menus, list commands and the look of the main window's track lists.
#include "app/ui/mainform.h"

#include "app/ui/mainmenus.h"
#include "config/joypadactions.h"
#include "config/wincolor.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"
#include "tracks/tracklists.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QSlider>
#include <QToolButton>
#include <QTreeView>

void TTunoviaF::buildMenus() { m_listMenu = mainmenus::build(*this); }

// ---- joypad action dispatch ----

void TTunoviaF::runJoypadBinding(int n)
{
    if (n < 1 || n > 8)
        return;
    runJoypadAction(m_dialog.joyBindings[size_t(n - 1)]);
}

void TTunoviaF::runJoypadAction(int action)
{
    using T = TTunoviaF;
    static constexpr std::array<void (T::*)(), kJoypadActionCount> kActions{nullptr,
                                                                            &T::SpeedButton1Click,
                                                                            &T::SpeedButton2Click,
                                                                            &T::SpeedButton3Click,
                                                                            &T::SpeedButton4Click,
                                                                            &T::SpeedButton5Click,
                                                                            &T::MP3ListViewDblClick,
                                                                            &T::PlayerQuitMnuClick,
                                                                            &T::AllCheckMnuClick,
                                                                            &T::InvCheckMnuClick,
                                                                            &T::UseWinampMnuClick,
                                                                            &T::UseScmpxMnuClick,
                                                                            &T::UseChangeMnuClick,
                                                                            &T::VolAMnuClick,
                                                                            &T::VolBMnuClick,
                                                                            &T::VolCMnuClick,
                                                                            &T::VolUpMnuClick,
                                                                            &T::VolDownMnuClick,
                                                                            &T::UseMciMnuClick};
    if (action < 0 || action >= kJoypadActionCount || !kActions[size_t(action)])
        return;
    (this->*kActions[size_t(action)])();
}

// ---- track list commands ----

void TTunoviaF::AllCheckMnuClick()
{
    trackLists().selectAll();
    updateTotalDisplay();
}

void TTunoviaF::InvCheckMnuClick()
{
    trackLists().invertSelection();
    updateTotalDisplay();
}

void TTunoviaF::ReCheckMnuClick()
{
    trackLists().clearSelection();
    updateTotalDisplay();
}

void TTunoviaF::DelListMnuClick()
{
    trackLists().deleteSelected();
    updateTotalDisplay();
}

void TTunoviaF::KC1Click()
{
    trackLists().clearList();
    updateTotalDisplay();
}

void TTunoviaF::ListBtnClick()
{
    // A plain list: names only, no column headers.
    m_currentList->setHeaderHidden(true);
    for (int c : trackLists().detailColumns())
        m_currentList->setColumnHidden(c, true);
}

void TTunoviaF::ReportBtnClick()
{
    m_currentList->setHeaderHidden(false);
    for (int c : trackLists().detailColumns())
        m_currentList->setColumnHidden(c, false);
}
