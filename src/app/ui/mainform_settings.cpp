// The settings dialog and the joypad, as the main window drives them.
#include "app/ui/mainform.h"

#include "settings/ui/settingform.h"

#include <QTreeView>

void TTunoviaF::createSettingsDialog()
{
    if (m_SettingF)
        return;
    SettingHooks hooks;
    hooks.columnWidths = [this]() -> std::optional<std::array<int, kTrackFieldCount>> {
        if (m_currentList == m_MP3ListView)
            return std::nullopt;
        std::array<int, kTrackFieldCount> widths{};
        for (int i = 0; i < kTrackFieldCount; ++i)
            widths[size_t(i)] = keptColumnWidth(m_MP3ListView2, i);
        return widths;
    };
    hooks.resetColumnWidths = [this] { resetColumnWidths(); };
    hooks.restoreColumns = [this] { restoreColumns(); };
    hooks.classNames = [this] { return m_classNames; };
    hooks.legacyListShown = [this] { return m_listTag == 1; };
    m_SettingF = new TSettingF(m_dialog, m_services.settings, m_services.prompts, std::move(hooks), this);
}

void TTunoviaF::runSettingsDialog()
{
    if (m_SettingF)
        m_SettingF->exec();
}

void TTunoviaF::resetColumnWidths()
{
    for (QTreeView *view : {m_MP3ListView, m_MP3ListView2})
        view->setUpdatesEnabled(false);
    for (int i = 0; i < kFiveColumnCount; ++i)
        m_MP3ListView->setColumnWidth(i, kDefaultWidths5[size_t(i)]);
    for (int i = 0; i < kTrackFieldCount; ++i)
        m_MP3ListView2->setColumnWidth(i, kDefaultWidths13[size_t(i)]);
    for (QTreeView *view : {m_MP3ListView, m_MP3ListView2})
        view->setUpdatesEnabled(true);
    // Saved at once: "OK" re-reads the layout from the file, which would
    // otherwise bring the old widths straight back.
    storeColumnWidths();
}

// ---- joypad ----

void TTunoviaF::connectJoypad()
{
    connect(&m_JoyTimer, &QTimer::timeout, this, &TTunoviaF::JoyTimerTimer, Qt::UniqueConnection);
}

void TTunoviaF::setJoystick(std::shared_ptr<Joystick> joystick) { m_joypad.setJoystick(std::move(joystick)); }

void TTunoviaF::JoyTimerTimer()
{
    m_joypad.tick(m_dialog.joyMin, m_dialog.joyMax, [this](int binding) { runJoypadBinding(binding); });
}
