// The main window's part in its lifecycle (see Lifecycle): the title window,
// the apply-settings step, and the handlers of showing, settings, closing and help.
#include "app/ui/mainform.h"

#include "app/ui/titleform.h"
#include "controls/ui/screenfit.h"
#include "platform/u8.h"
#include "platform/ui/prompts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QToolButton>
#include <QTreeView>

void TTunoviaF::showTitle()
{
    m_title = new TTitleF(m_titleTicks, this);
    m_title->Tag = 1;
    m_title->exec();
    QCoreApplication::processEvents();
}

void TTunoviaF::releaseTitle()
{
    if (m_titleReleased)
        return;
    m_titleReleased = true;
    delete m_title;
}

void TTunoviaF::tell(Icon icon, const QString &title, const QString &text)
{
    constexpr Prompts::Icon icons[] = {Prompts::Icon::None, Prompts::Icon::Information, Prompts::Icon::Error};
    m_services.prompts.message(this, title, text, icons[int(icon)]);
}

bool TTunoviaF::askYesNo(const QString &title, const QString &text)
{
    return m_services.prompts.askYesNo(this, title, text);
}

void TTunoviaF::placeAt(const WindowBounds &b)
{
    setGeometry(screenfit::fitClient(this, QRect(b.left, b.top, b.width, b.height)));
}

void TTunoviaF::restoreLook()
{
    restoreFonts();
    restoreColumns();
}

void TTunoviaF::focusWholeRows() { m_currentList->setAllColumnsShowFocus(true); }

void TTunoviaF::FormShow() { m_lifecycle.show(); }

void TTunoviaF::showListKind(bool legacy)
{
    // The list shown is the one the commands act on; each carries its Tag.
    m_MP3ListView->setVisible(legacy);
    m_listTag = legacy ? 1 : 0;
    m_MP3ListView2->setVisible(!legacy);
    m_list2Tag = legacy ? 0 : 1;
    setCurrentList(legacy ? m_MP3ListView : m_MP3ListView2);
}

void TTunoviaF::applySettings()
{
    const Lifecycle::Display shown = m_lifecycle.display();
    m_lyricsTag = 0;
    for (int i = 0; i < 3; ++i)
        m_imageButtons[size_t(int(BuiltinPictures::ButtonPicture::Winamp) + i)]->setVisible(i == shown.player);
    m_TotalTimePnl->setVisible(shown.totalTime);
    m_TimePnl->setVisible(shown.playTime);
    if (shown.playTime)
        closeLyricsWindow();
    m_DrawTimer.stop();
    if (shown.clockInterval > 0) {
        m_DrawTimer.setInterval(shown.clockInterval);
        m_DrawTimer.start();
    }
    if (shown.lyricsWindow) {
        showLyricsWindow();
        m_lyricsTag = 1;
    }
    updateTotalDisplay();
    applyLookAndSkins();
    if (shown.joypad)
        m_JoyTimer.start();
    else
        m_JoyTimer.stop();
}

void TTunoviaF::SettingClick() { m_lifecycle.runSettings(); }

void TTunoviaF::DataOpenMnuClick() { m_lifecycle.reopen(); }

// ---- shutdown ----

void TTunoviaF::ExitBtnClick()
{
    if (m_services.prompts.askYesNo(this, U("終了確認"), U("終了してもいいですか？")))
        close();
}

void TTunoviaF::closeEvent(QCloseEvent *event)
{
    FormCloseQuery();
    FormClose();
    event->accept();
}

void TTunoviaF::FormCloseQuery() { m_lifecycle.closeQuery(); }

void TTunoviaF::FormClose() { m_lifecycle.close(); }

void TTunoviaF::stopTimers()
{
    m_DrawTimer.stop();
    m_JoyTimer.stop();
}

void TTunoviaF::Contents1Click() { m_lifecycle.help(); }
