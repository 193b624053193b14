#pragma once
// The seven pages of the settings dialog. Each page loads its controls from
// the dialog settings and stores them back; the dialog holds the pages and
// the rules that span several of them. Controls carry the names the rest of
// the program and the tests know them by.
#include "config/settingsstore.h"

#include <QWidget>
#include <array>
#include <utility>

class Prompts;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TDisRangeTrackBar;
class TFolderDialog;

// A new widget carrying the object name the program and the tests find it by.
template <typename W, typename... Args> W *named(const char *name, Args &&...args)
{
    auto *w = new W(std::forward<Args>(args)...);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// The file and folder pickers of the browse buttons.
class SettingBrowser {
public:
    SettingBrowser(Prompts &prompts, TFolderDialog &folderDialog) : m_prompts(prompts), m_folderDialog(folderDialog) {}

    Prompts &prompts() { return m_prompts; }
    // Executable picker titled `title`; on OK the chosen path goes into `edit`.
    bool browseProgram(QWidget *parent, QLineEdit *edit, const QString &title);
    // Folder picker captioned `caption`, starting in the folder part of the
    // text; on OK the text becomes the folder, with "/" appended when `slash`.
    bool browseFolder(QLineEdit *edit, const QString &caption, bool slash);

private:
    Prompts &m_prompts;
    TFolderDialog &m_folderDialog;
};

class SettingPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual void load(const DialogSettings &s) = 0;
    virtual void store(DialogSettings &s) const = 0;
};

// "MP3プレイヤー"
class PlayerPage final : public SettingPage {
    Q_OBJECT
public:
    PlayerPage(SettingBrowser &browser, QWidget *parent = nullptr);
    void load(const DialogSettings &s) override;
    void store(DialogSettings &s) const override;

    // Button1 and Button2; Button1 also offers the plug-in.
    void Button1Click();
    void Button2Click();
    // Offers the plug-in for the player at `playerPath` unless it is there.
    void offerPlugin(const QString &playerPath);

    QRadioButton *WinampChk, *ScmpxChk, *MciChk;
    QLineEdit *Winamp, *Scmpx;
    QPushButton *Button1, *Button2;
    QRadioButton *NormalChk, *MinimizeChk, *HideChk;
    TDisRangeTrackBar *VolA, *VolB, *VolC;
    QRadioButton *QuitYesChk, *QuitNoChk, *QuitAskChk;

signals:
    // Whenever a radio's state changes, however it was changed.
    void playerChanged();
    void startChanged();

private:
    SettingBrowser &m_browser;
    QButtonGroup *m_players, *m_start, *m_quit;
};

// "表示"
class DisplayPage final : public SettingPage {
    Q_OBJECT
public:
    DisplayPage(SettingBrowser &browser, QWidget *parent = nullptr);
    void load(const DialogSettings &s) override;
    void store(DialogSettings &s) const override;

    QCheckBox *PlayTimeChk;
    QLabel *IntervalLbl;
    QComboBox *DrawInterval;
    QLabel *TimeSkinLbl;
    QLineEdit *TimeSkin;
    QPushButton *Button6;
    QLineEdit *ButtonSkin;
    QPushButton *Button7;
    QComboBox *TotalTime;
    QCheckBox *Size2TimeChk;

signals:
    void playTimeChanged();

private:
    SettingBrowser &m_browser;
    // Kept when the stored index has no entry, so that nothing is lost.
    int m_drawInterval = 0, m_totalTime = 0;
};

// "リスト"
class ListPage final : public SettingPage {
    Q_OBJECT
public:
    explicit ListPage(QWidget *parent = nullptr);
    void load(const DialogSettings &s) override;
    void store(DialogSettings &s) const override;

    std::array<QCheckBox *, kTrackFieldCount> CheckBox{}; // CheckBox1 ... CheckBox13
};

// "Lyrics"
class LyricsPage final : public SettingPage {
    Q_OBJECT
public:
    LyricsPage(SettingBrowser &browser, QWidget *parent = nullptr);
    void load(const DialogSettings &s) override;
    void store(DialogSettings &s) const override;

    void Button4Click(); // font
    void Button8Click(); // text colour
    void Button5Click(); // background

    QCheckBox *LyricsChk, *LyricsDmy;
    QFrame *ColorPnl;
    QLabel *FontText2;
    QPushButton *Button4, *Button8, *Button5;
    QCheckBox *NoLyricsHide;
    QLineEdit *LyricsFindFolder;
    QPushButton *Button9;

signals:
    void lyricsChanged();

private:
    void showLook();

    SettingBrowser &m_browser;
    // As stored, so that a system colour code survives an apply untouched.
    int m_fontColor = 0, m_backColor = 0;
    QFont m_font;
};

// "ジョイパッド"
class JoypadPage final : public SettingPage {
    Q_OBJECT
public:
    explicit JoypadPage(QWidget *parent = nullptr);
    void load(const DialogSettings &s) override;
    void store(DialogSettings &s) const override;

    // Enables the lists, thresholds and their labels exactly when the tick is on.
    void UseJoyPadChkClick();

    QCheckBox *UseJoyPadChk;
    std::array<QComboBox *, 8> ComboBox{}; // ComboBox1 ... ComboBox8
    std::array<QLabel *, 8> ComboLabel{};
    QLineEdit *JoyMin, *JoyMax;
    QLabel *JoyMinLbl, *JoyMaxLbl;

private:
    std::array<int, 8> m_bindings{};
};

// "パス"
class PathsPage final : public SettingPage {
    Q_OBJECT
public:
    PathsPage(SettingBrowser &browser, QWidget *parent = nullptr);
    void load(const DialogSettings &s) override;
    void store(DialogSettings &s) const override;

    QLineEdit *TextEditor, *LyricsEditor, *J2, *m2h, *CurrentFolder;
    QPushButton *Button10, *Button12, *Button3, *Button11, *Button13;

private:
    SettingBrowser &m_browser;
};

// "その他"
class OtherPage final : public SettingPage {
    Q_OBJECT
public:
    explicit OtherPage(QWidget *parent = nullptr);
    void load(const DialogSettings &s) override;
    void store(DialogSettings &s) const override;

    QCheckBox *ShowSelChk, *AutoSelChk;
    QRadioButton *CurrentChk, *LastChk, *SelectChk;
    QPushButton *ClmDefBtn;

private:
    QButtonGroup *m_group;
};

// Checks button `index` of an exclusive group, or none when `index` is -1.
void checkRadio(QButtonGroup *group, int index);
