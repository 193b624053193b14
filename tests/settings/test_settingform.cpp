#include "controls/ui/dtrackbar.h"
#include "platform/profile.h"
#include "platform/textcodec.h"
#include "settings/ui/settingform.h"
#include "settings/ui/settingpages.h"
#include "support/mainwindowfixture.h"
#include "support/testfiles.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <memory>

namespace {

QString U(const char *s) { return QString::fromUtf8(s); }

int countMessages(const ScriptedPrompts &prompts)
{
    int n = 0;
    for (const auto &a : prompts.asked())
        n += a.kind == ScriptedPrompts::Kind::Message;
    return n;
}

using Edit = std::function<void(TSettingF &)>;

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestSettingForm : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;
    std::unique_ptr<SettingsStore> m_store;
    DialogSettings m_settings;
    std::optional<std::array<int, 13>> m_widths;
    ClassNames m_classNames;
    bool m_legacy = false;
    int m_restoreCalls = 0;
    int m_resetCalls = 0;
    std::unique_ptr<TSettingF> m_form;

    QString programFolder() const { return m_dir.path() + QStringLiteral("/prog/"); }
    QString ini() const { return m_dir.filePath(QStringLiteral("config/Tunov.ini")); }
    ProfileFile profile() const { return ProfileFile(ini()); }

    // Loads the file as the main window does before showing, then shows.
    TSettingF &openForm()
    {
        m_settings = DialogSettings{};
        m_store->loadSettings(m_settings);
        if (!m_form) {
            SettingHooks hooks;
            hooks.columnWidths = [this] { return m_widths; };
            hooks.resetColumnWidths = [this] { ++m_resetCalls; };
            hooks.restoreColumns = [this] { ++m_restoreCalls; };
            hooks.classNames = [this] { return m_classNames; };
            hooks.legacyListShown = [this] { return m_legacy; };
            m_form = std::make_unique<TSettingF>(m_settings, *m_store, m_prompts, std::move(hooks));
        }
        m_form->show();
        return *m_form;
    }

    template <typename T> T *child(const char *name) const
    {
        auto *w = m_form->findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }

private slots:
    void initTestCase()
    {
        QDir().mkpath(programFolder());
        qputenv("TUNOVIA_PROGRAM_DIR", programFolder().toUtf8());
    }

    void init()
    {
        QFile::remove(ini());
        m_prompts.clear();
        m_store = std::make_unique<SettingsStore>(ini(), nullptr, programFolder());
        m_widths = std::array<int, 13>{150, 100, 100, 150, 61, 55, 50, 50, 50, 50, 50, 50, 150};
        m_classNames = ClassNames{};
        m_legacy = false;
        m_restoreCalls = m_resetCalls = 0;
    }

    void cleanup() { m_form.reset(); }

    void applyWritesEveryKeyInOrder()
    {
        m_classNames = {QStringLiteral("Winamp v2"), QStringLiteral("SCMPX2")};
        TSettingF &form = openForm();
        form.ApplyBtnClick();
        const QString tf = programFolder();
        const QString expected = QString::fromUtf8(
            "[Setting]\r\nWinamp=\r\nSCMPX=\r\nWinampCheck=1\r\nSCMPXCheck=0\r\nMCICheck=0\r\nRunNormal=1\r\n"
            "RunMinimize=0\r\nRunHide=0\r\nPlayerQuitYes=0\r\nPlayerQuitNo=1\r\nPlayerQuitAsk=0\r\nSize2Time=1\r\n"
            "PlayTime=1\r\nDrawInterval=0\r\nTextEditor=notepad.exe\r\nLyricsEditor=notepad.exe\r\nJ2=\r\nm2h=\r\n"
            "ExplorerPath=\r\nTotalTime=0\r\nShowSelection=0\r\nAutoSelect=0\r\n"
            "[Skin]\r\nTimeSkin=" +
            tf.toUtf8() + "Skins/default/\r\nButtonSkin=" + tf.toUtf8() +
            "Button_Skins/default/\r\n"
            "[Volume]\r\nVolumeA=10\r\nVolumeB=5\r\nVolumeC=0\r\n"
            "[JoyPad]\r\nUseJoyPad=0\r\nUpButton=0\r\nDownButton=0\r\nLeftButton=1\r\nRightButton=5\r\n"
            "Button1=2\r\nButton2=4\r\nButton3=6\r\nButton4=8\r\nMin=10000\r\nMax=50000\r\n"
            "[Lyrics]\r\nShowLyrics=1\r\nFontName=" +
            U("ＭＳ Ｐゴシック").toUtf8() +
            "\r\nFontSize=12\r\nFontColor=0\r\nBackColor=13434828\r\nBold=0\r\nItalic=0\r\nNoLyricsHide=0\r\n"
            "FindFolder=\r\n"
            "[Group]\r\nCurrent=1\r\nLast=0\r\nSelect=0\r\n"
            "[ClassName]\r\nWinamp=Winamp v2\r\nSCMPX=SCMPX2\r\n"
            "[Column]\r\nCheck1=1\r\nCheck2=1\r\nCheck3=1\r\nCheck4=1\r\nCheck5=1\r\nCheck6=1\r\nCheck7=1\r\n"
            "Check8=1\r\nCheck9=1\r\nCheck10=1\r\nCheck11=1\r\nCheck12=1\r\nCheck13=1\r\n");
        QCOMPARE(text::decode(readFile(ini())), expected);
        QCOMPARE(m_restoreCalls, 1);
        QCOMPARE(countMessages(m_prompts), 0);
    }

    void controlsShowTheStoredValues()
    {
        const QString jp = U("/音楽 フォルダ/プレイヤー ");
        writeFile(ini(), (U("[Setting]\r\nWinamp=") + jp +
                          U("winamp\r\nSCMPX=/opt/scmpx\r\nWinampCheck=0\r\n"
                            "SCMPXCheck=1\r\nRunMinimize=1\r\nRunNormal=0\r\n"
                            "PlayerQuitAsk=1\r\nPlayerQuitNo=0\r\nPlayTime=1\r\n"
                            "DrawInterval=4\r\nTotalTime=11\r\nJ2=") +
                          jp +
                          U("j2\r\n[Volume]\r\nVolumeA=7\r\n[JoyPad]\r\nUseJoyPad=1\r\nButton4=18\r\nMin=abc\r\n"
                            "[Lyrics]\r\nShowLyrics=0\r\nFontSize=20\r\nBold=1\r\n[Group]\r\nCurrent=0\r\nSelect=1\r\n"
                            "[Column]\r\nCheck3=0\r\n"))
                             .toUtf8());
        TSettingF &form = openForm();
        QCOMPARE(child<QLineEdit>("Winamp")->text(), jp + QStringLiteral("winamp"));
        QVERIFY(child<QRadioButton>("ScmpxChk")->isChecked());
        QVERIFY(child<QRadioButton>("MinimizeChk")->isChecked());
        QVERIFY(child<QRadioButton>("QuitAskChk")->isChecked());
        QCOMPARE(child<TDisRangeTrackBar>("VolA")->value(), 7);
        QCOMPARE(child<QComboBox>("DrawInterval")->currentText(), QStringLiteral("500ms"));
        QCOMPARE(child<QComboBox>("TotalTime")->currentText(), U("ファイルサイズの合計を表示 (MB)"));
        QCOMPARE(child<QLineEdit>("J2")->text(), jp + QStringLiteral("j2"));
        QVERIFY(child<QCheckBox>("UseJoyPadChk")->isChecked());
        QCOMPARE(child<QComboBox>("ComboBox8")->currentText(), U("プレイヤーを内蔵のものに"));
        QCOMPARE(child<QLineEdit>("JoyMin")->text(), QStringLiteral("abc"));
        QVERIFY(!child<QCheckBox>("LyricsChk")->isChecked());
        QCOMPARE(child<QLabel>("FontText2")->font().pointSize(), 20);
        QVERIFY(child<QLabel>("FontText2")->font().bold());
        QVERIFY(child<QRadioButton>("SelectChk")->isChecked());
        QVERIFY(!child<QCheckBox>("CheckBox3")->isChecked());
        QVERIFY(child<QCheckBox>("CheckBox4")->isChecked());
        QVERIFY(form.isVisible());
    }

    void eachPageStoresItsControls_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        auto set = [](const char *name, QString text) {
            return Edit(
                [name, text](TSettingF &f) { f.findChild<QLineEdit *>(QString::fromLatin1(name))->setText(text); });
        };
        auto click = [](const char *name) {
            return Edit([name](TSettingF &f) { f.findChild<QAbstractButton *>(QString::fromLatin1(name))->click(); });
        };
        auto pick = [](const char *name, int index) {
            return Edit([name, index](TSettingF &f) {
                f.findChild<QComboBox *>(QString::fromLatin1(name))->setCurrentIndex(index);
            });
        };
        const QString s = QStringLiteral("Setting");
        QTest::newRow("player path") << set("Scmpx", U("/ユーザー/my player/scmpx")) << s << "SCMPX"
                                     << U("/ユーザー/my player/scmpx");
        QTest::newRow("built-in player") << click("MciChk") << s << "MCICheck"
                                         << "1";
        QTest::newRow("built-in player clears winamp") << click("MciChk") << s << "WinampCheck"
                                                       << "0";
        QTest::newRow("hidden start") << click("HideChk") << s << "RunHide"
                                      << "1";
        QTest::newRow("volume preset") << Edit([](TSettingF &f) {
            f.findChild<TDisRangeTrackBar *>(QStringLiteral("VolB"))->setValue(3);
        }) << "Volume"
                                       << "VolumeB"
                                       << "3";
        QTest::newRow("total time style") << pick("TotalTime", 6) << s << "TotalTime"
                                          << "6";
        QTest::newRow("time skin") << set("TimeSkin", QStringLiteral("/skins/a b/")) << "Skin"
                                   << "TimeSkin"
                                   << "/skins/a b/";
        QTest::newRow("column tick") << click("CheckBox13") << "Column"
                                     << "Check13"
                                     << "0";
        QTest::newRow("hide without lyrics") << click("NoLyricsHide") << "Lyrics"
                                             << "NoLyricsHide"
                                             << "1";
        QTest::newRow("lyrics folder") << set("LyricsFindFolder", U("/歌詞/")) << "Lyrics"
                                       << "FindFolder" << U("/歌詞/");
        QTest::newRow("joypad on") << click("UseJoyPadChk") << "JoyPad"
                                   << "UseJoyPad"
                                   << "1";
        QTest::newRow("joypad binding") << pick("ComboBox2", 17) << "JoyPad"
                                        << "DownButton"
                                        << "17";
        QTest::newRow("joypad threshold") << set("JoyMax", QStringLiteral("-5")) << "JoyPad"
                                          << "Max"
                                          << "-5";
        QTest::newRow("explorer folder") << set("CurrentFolder", QStringLiteral("/home/u")) << s << "ExplorerPath"
                                         << "/home/u";
        QTest::newRow("lyrics editor") << set("LyricsEditor", QStringLiteral("kate")) << s << "LyricsEditor"
                                       << "kate";
        QTest::newRow("keep selection") << click("ShowSelChk") << s << "ShowSelection"
                                        << "1";
        QTest::newRow("start index") << click("LastChk") << "Group"
                                     << "Last"
                                     << "1";
        QTest::newRow("start index clears current") << click("LastChk") << "Group"
                                                    << "Current"
                                                    << "0";
    }

    void eachPageStoresItsControls()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        TSettingF &form = openForm();
        edit(form);
        form.ApplyBtnClick();
        QCOMPARE(profile().readString(section, key, QStringLiteral("<missing>")), value);

        // Shown again after a re-read, the control keeps the applied value.
        form.hide();
        openForm();
        form.ApplyBtnClick();
        QCOMPARE(profile().readString(section, key, QStringLiteral("<missing>")), value);
    }

    void indicesWithoutAnEntryAreKept()
    {
        writeFile(ini(), "[Setting]\r\nDrawInterval=15\r\nTotalTime=-2\r\n[JoyPad]\r\nButton1=25\r\nUpButton=-1\r\n"
                         "[Lyrics]\r\nShowLyrics=0\r\nFontColor=-16777208\r\n");
        TSettingF &form = openForm();
        QCOMPARE(child<QComboBox>("ComboBox5")->currentIndex(), -1);
        form.ApplyBtnClick();
        const ProfileFile p = profile();
        QCOMPARE(p.readInt(QStringLiteral("Setting"), QStringLiteral("DrawInterval"), 0), 15);
        QCOMPARE(p.readInt(QStringLiteral("Setting"), QStringLiteral("TotalTime"), 0), -2);
        QCOMPARE(p.readInt(QStringLiteral("JoyPad"), QStringLiteral("Button1"), 0), 25);
        QCOMPARE(p.readInt(QStringLiteral("JoyPad"), QStringLiteral("UpButton"), 0), -1);
        // A system colour code survives when the colour was not touched.
        QCOMPARE(p.readInt(QStringLiteral("Lyrics"), QStringLiteral("FontColor"), 0), -16777208);
    }

    void startMethodRule()
    {
        openForm();
        child<QRadioButton>("QuitAskChk")->click();
        child<QRadioButton>("HideChk")->click();
        QVERIFY(child<QRadioButton>("QuitYesChk")->isChecked());
        for (const char *name : {"QuitYesChk", "QuitNoChk", "QuitAskChk"})
            QVERIFY(!child<QRadioButton>(name)->isEnabled());
        child<QRadioButton>("NormalChk")->click();
        QVERIFY(child<QRadioButton>("QuitYesChk")->isChecked());
        for (const char *name : {"QuitYesChk", "QuitNoChk", "QuitAskChk"})
            QVERIFY(child<QRadioButton>(name)->isEnabled());
    }

    void hiddenStartFromTheFileDisablesQuitOnShow()
    {
        writeFile(ini(), "[Setting]\r\nRunHide=1\r\nRunNormal=0\r\nPlayerQuitNo=1\r\n");
        openForm();
        QVERIFY(child<QRadioButton>("QuitYesChk")->isChecked());
        QVERIFY(!child<QRadioButton>("QuitNoChk")->isEnabled());
    }

    void playerChoiceEnablesItsPath_data()
    {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<bool>("winamp");
        QTest::addColumn<bool>("scmpx");
        QTest::newRow("winamp") << "WinampChk" << true << false;
        QTest::newRow("scmpx") << "ScmpxChk" << false << true;
        QTest::newRow("built-in") << "MciChk" << false << false;
    }

    void playerChoiceEnablesItsPath()
    {
        QFETCH(QString, radio);
        QFETCH(bool, winamp);
        QFETCH(bool, scmpx);
        openForm();
        m_form->findChild<QRadioButton *>(radio)->click();
        auto *winampEdit = child<QLineEdit>("Winamp");
        auto *scmpxEdit = child<QLineEdit>("Scmpx");
        QCOMPARE(winampEdit->isEnabled(), winamp);
        QCOMPARE(child<QPushButton>("Button1")->isEnabled(), winamp);
        QCOMPARE(scmpxEdit->isEnabled(), scmpx);
        QCOMPARE(child<QPushButton>("Button2")->isEnabled(), scmpx);
        const QColor face = m_form->style()->standardPalette().color(QPalette::Button);
        QCOMPARE(winampEdit->palette().color(QPalette::Base) == face, !winamp);
        QCOMPARE(scmpxEdit->palette().color(QPalette::Base) == face, !scmpx);
    }

    void playTimeAndLyricsRule()
    {
        openForm();
        auto *interval = child<QComboBox>("DrawInterval");
        auto *lyrics = child<QCheckBox>("LyricsChk");
        auto *dummy = child<QCheckBox>("LyricsDmy");
        auto *font = child<QPushButton>("Button4");
        // Lyrics on (design): the interval is pinned to 100ms.
        QCOMPARE(interval->currentText(), QStringLiteral("100ms"));
        QVERIFY(!interval->isEnabled());
        QVERIFY(font->isEnabled());

        lyrics->click(); // off
        QVERIFY(interval->isEnabled());
        QVERIFY(!font->isEnabled());
        interval->setCurrentIndex(9);

        child<QCheckBox>("PlayTimeChk")->click(); // play time off
        QVERIFY(lyrics->isHidden());
        QVERIFY(!dummy->isHidden());
        QVERIFY(!dummy->isEnabled());
        QVERIFY(!interval->isEnabled());
        QVERIFY(!child<QLineEdit>("TimeSkin")->isEnabled());
        QVERIFY(!child<QPushButton>("Button6")->isEnabled());
        for (const char *b : {"Button4", "Button8", "Button5"})
            QVERIFY(!child<QPushButton>(b)->isEnabled());

        child<QCheckBox>("PlayTimeChk")->click(); // on again
        QVERIFY(!lyrics->isHidden());
        QVERIFY(dummy->isHidden());
        QCOMPARE(interval->currentText(), QStringLiteral("1.0sec"));
        lyrics->click(); // on
        QCOMPARE(interval->currentText(), QStringLiteral("100ms"));
        QVERIFY(!interval->isEnabled());
    }

    void scmpxWithLyricsAppliesTheFinestInterval()
    {
        writeFile(ini(), "[Setting]\r\nWinampCheck=0\r\nSCMPXCheck=1\r\nPlayTime=0\r\nDrawInterval=7\r\n");
        TSettingF &form = openForm();
        QCOMPARE(child<QComboBox>("DrawInterval")->currentIndex(), 7);
        form.ApplyBtnClick();
        QCOMPARE(profile().readInt(QStringLiteral("Setting"), QStringLiteral("DrawInterval"), -1), 0);
    }

    // The rules follow the state, not the mouse: arrow keys, the program
    // itself and assistive technology change it without a click.
    void rulesRunHoweverTheStateChanges()
    {
        TSettingF &form = openForm();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto *winamp = child<QRadioButton>("WinampChk");
        winamp->setFocus();
        QTest::keyClick(winamp, Qt::Key_Down);
        QVERIFY(child<QRadioButton>("ScmpxChk")->isChecked());
        QVERIFY(child<QLineEdit>("Scmpx")->isEnabled());
        QVERIFY(!child<QLineEdit>("Winamp")->isEnabled());

        child<QRadioButton>("MciChk")->setChecked(true);
        QVERIFY(!child<QLineEdit>("Scmpx")->isEnabled());
        QVERIFY(!child<QPushButton>("Button2")->isEnabled());

        child<QRadioButton>("HideChk")->setChecked(true);
        QVERIFY(child<QRadioButton>("QuitYesChk")->isChecked());
        QVERIFY(!child<QRadioButton>("QuitNoChk")->isEnabled());

        auto toggle = [](QWidget *w) {
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w);
            QVERIFY(face && face->actionInterface());
            face->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        };
        toggle(child<QCheckBox>("PlayTimeChk")); // off
        QVERIFY(child<QCheckBox>("LyricsChk")->isHidden());
        QVERIFY(!child<QCheckBox>("LyricsDmy")->isHidden());
        QVERIFY(!child<QComboBox>("DrawInterval")->isEnabled());
        toggle(child<QCheckBox>("PlayTimeChk")); // on
        child<QCheckBox>("LyricsChk")->setChecked(false);
        QVERIFY(child<QComboBox>("DrawInterval")->isEnabled());
        QVERIFY(!child<QPushButton>("Button4")->isEnabled());

        toggle(child<QCheckBox>("UseJoyPadChk"));
        QVERIFY(child<QComboBox>("ComboBox1")->isEnabled());
    }

    void joypadTickEnablesItsControls()
    {
        openForm();
        auto *tick = child<QCheckBox>("UseJoyPadChk");
        QVERIFY(!tick->isChecked());
        const QStringList names{QStringLiteral("ComboBox1"), QStringLiteral("ComboBox8"), QStringLiteral("JoyMin"),
                                QStringLiteral("JoyMax"),    QStringLiteral("JoyLabel1"), QStringLiteral("JoyLabel8"),
                                QStringLiteral("JoyMinLbl"), QStringLiteral("JoyMaxLbl")};
        for (const QString &n : names)
            QVERIFY2(!m_form->findChild<QWidget *>(n)->isEnabled(), qPrintable(n));
        tick->click();
        for (const QString &n : names)
            QVERIFY2(m_form->findChild<QWidget *>(n)->isEnabled(), qPrintable(n));
    }

    void browseButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("result");
        const QString prog = U("/opt/ツール 1/bin/tool");
        QTest::newRow("scmpx") << "Button2"
                               << "Scmpx" << false << U("SCMPXのパス") << prog << prog;
        QTest::newRow("j2") << "Button3"
                            << "J2" << false << U("J2のパス") << prog << prog;
        QTest::newRow("text editor") << "Button10"
                                     << "TextEditor" << false << U("テキストエディタのパス") << prog << prog;
        QTest::newRow("m2h") << "Button11"
                             << "m2h" << false << U("m2hのパス") << prog << prog;
        QTest::newRow("lyrics editor") << "Button12"
                                       << "LyricsEditor" << false << U("Lyricsエディタのパス") << prog << prog;
        QTest::newRow("time skin") << "Button6"
                                   << "TimeSkin" << true << U("時間用画像のあるフォルダを指定してください。")
                                   << U("/skins/時計") << U("/skins/時計/");
        QTest::newRow("button skin") << "Button7"
                                     << "ButtonSkin" << true << U("ボタン用画像のあるフォルダを指定してください。")
                                     << U("/skins/b/") << U("/skins/b/");
        QTest::newRow("lyrics folder")
            << "Button9"
            << "LyricsFindFolder" << true
            << U("MP3と同じフォルダにLyricsが見つからなかったときの検索フォルダを指定してください。") << U("/")
            << U("/");
        QTest::newRow("explorer folder") << "Button13"
                                         << "CurrentFolder" << true << U("エクスプローラ起動時の初期フォルダ")
                                         << U("/home/u ser") << U("/home/u ser");
    }

    void browseButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, edit);
        QFETCH(bool, folder);
        QFETCH(QString, title);
        QFETCH(QString, answer);
        QFETCH(QString, result);
        writeFile(ini(), "[Setting]\r\nWinampCheck=0\r\nSCMPXCheck=1\r\n");
        openForm();
        auto *line = m_form->findChild<QLineEdit *>(edit);
        line->setText(QStringLiteral("/start/here/old"));

        // Cancel leaves the text alone.
        m_prompts.answerCancel();
        m_form->findChild<QPushButton *>(button)->click();
        QCOMPARE(line->text(), QStringLiteral("/start/here/old"));

        m_prompts.answerText(answer);
        m_form->findChild<QPushButton *>(button)->click();
        QCOMPARE(line->text(), result);

        const auto &asked = m_prompts.asked().constFirst();
        QCOMPARE(asked.title, title);
        if (folder) {
            QCOMPARE(asked.kind, ScriptedPrompts::Kind::Folder);
            QCOMPARE(asked.initial, QStringLiteral("/start/here"));
        } else {
            QCOMPARE(asked.kind, ScriptedPrompts::Kind::OpenFile);
            QVERIFY(asked.text.startsWith(U("実行ファイル (*.exe)")));
            QVERIFY(asked.text.endsWith(QStringLiteral("(*)")));
        }
        QCOMPARE(countMessages(m_prompts), 0);
    }

    void pluginOffer_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("installed");
        QTest::newRow("already there") << true << int(QMessageBox::Ok) << false << true;
        QTest::newRow("accepted") << false << int(QMessageBox::Ok) << true << true;
        QTest::newRow("declined") << false << int(QMessageBox::Cancel) << true << false;
    }

    void pluginOffer()
    {
        QFETCH(bool, present);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, installed);
        writeFile(programFolder() + QStringLiteral("gen_tunly.so"), "PLUGIN");
        const QString player =
            m_dir.filePath(U("ウィン amp/%1/winamp").arg(QString::fromUtf8(QTest::currentDataTag())));
        const QString target = QFileInfo(player).path() + QStringLiteral("/Plugins/gen_tunly.so");
        writeFile(player, "#!");
        if (present)
            writeFile(target, "OLD");
        openForm();
        m_prompts.answerText(player);
        m_prompts.answer(QMessageBox::StandardButton(answer));
        child<QPushButton>("Button1")->click();
        QCOMPARE(child<QLineEdit>("Winamp")->text(), player);
        QCOMPARE(countMessages(m_prompts), asked ? 1 : 0);
        if (asked) {
            const auto &q = m_prompts.asked().last();
            QCOMPARE(q.title, U("確認"));
            QCOMPARE(q.text, U("Winamp用のプラグインをインストールします。 （推奨）"));
            QCOMPARE(q.icon, Prompts::Icon::Information);
            QCOMPARE(q.buttons, QMessageBox::Ok | QMessageBox::Cancel);
        }
        QCOMPARE(QFileInfo::exists(target), installed);
        if (installed)
            QCOMPARE(readFile(target), present ? QByteArray("OLD") : QByteArray("PLUGIN"));
    }

    void pluginFolderThatCannotBeWrittenIsOfferedAgain()
    {
        writeFile(programFolder() + QStringLiteral("gen_tunly.so"), "PLUGIN");
        const QString player = m_dir.filePath(QStringLiteral("blocked/winamp"));
        // "Plugins" taken by a plain file: no folder can be made there, even as root.
        writeFile(m_dir.filePath(QStringLiteral("blocked/Plugins")), "x");
        openForm();
        for (int round = 1; round <= 2; ++round) {
            m_prompts.answerText(player);
            m_prompts.answer(QMessageBox::Ok);
            child<QPushButton>("Button1")->click();
            QCOMPARE(countMessages(m_prompts), round); // the offer, and nothing after it
        }
    }

    void sizeToTimeNote()
    {
        m_legacy = true;
        TSettingF &form = openForm();
        auto *tick = child<QCheckBox>("Size2TimeChk");
        QVERIFY(!tick->isHidden());
        form.ApplyBtnClick();
        QCOMPARE(countMessages(m_prompts), 0);

        tick->click();
        form.ApplyBtnClick();
        form.ApplyBtnClick(); // the reference is the file as last read, so it shows again
        QCOMPARE(countMessages(m_prompts), 2);
        const auto &note = m_prompts.asked().constFirst();
        QCOMPARE(note.title, QStringLiteral("Tunovia"));
        QCOMPARE(note.text, U("サイズから時間への変換は Tunovia を起動し直すと反映されます。"));
        QCOMPARE(note.icon, Prompts::Icon::Information);

        // After the re-read the new state is the reference.
        form.hide();
        m_prompts.clear();
        openForm();
        form.ApplyBtnClick();
        QCOMPARE(countMessages(m_prompts), 0);

        m_legacy = false;
        form.hide();
        openForm();
        QVERIFY(tick->isHidden());
    }

    void zeroWidthColumnsClearTheirTicksOnShow()
    {
        writeFile(ini(), "[Column]\r\nCheck5=0\r\n");
        (*m_widths)[2] = 0;
        openForm();
        QVERIFY(!child<QCheckBox>("CheckBox3")->isChecked());
        QVERIFY(!child<QCheckBox>("CheckBox5")->isChecked());
        QVERIFY(child<QCheckBox>("CheckBox1")->isChecked());

        // The five-column list says nothing about the thirteen columns.
        m_form->hide();
        m_widths.reset();
        openForm();
        QVERIFY(child<QCheckBox>("CheckBox3")->isChecked());
    }

    void lyricsLookButtons()
    {
        TSettingF &form = openForm();
        QFont chosen(QStringLiteral("DejaVu Serif"));
        chosen.setPointSize(18);
        chosen.setItalic(true);
        chosen.setUnderline(true);
        m_prompts.answerFont(chosen);
        m_prompts.answerColor(QColor(0x10, 0x20, 0x30));
        m_prompts.answerCancel(); // background dialog cancelled
        child<QPushButton>("Button4")->click();
        child<QPushButton>("Button8")->click();
        child<QPushButton>("Button5")->click();
        auto *preview = child<QLabel>("FontText2");
        QCOMPARE(preview->font().family(), QStringLiteral("DejaVu Serif"));
        QVERIFY(!preview->font().underline());
        QCOMPARE(preview->palette().color(QPalette::WindowText), QColor(0x10, 0x20, 0x30));
        form.ApplyBtnClick();
        const ProfileFile p = profile();
        const QString l = QStringLiteral("Lyrics");
        QCOMPARE(p.readString(l, QStringLiteral("FontName"), {}), QStringLiteral("DejaVu Serif"));
        QCOMPARE(p.readInt(l, QStringLiteral("FontSize"), 0), 18);
        QCOMPARE(p.readInt(l, QStringLiteral("Italic"), 0), 1);
        QCOMPARE(p.readInt(l, QStringLiteral("Bold"), 1), 0);
        QCOMPARE(p.readInt(l, QStringLiteral("FontColor"), 0), 0x302010);
        QCOMPARE(p.readInt(l, QStringLiteral("BackColor"), 0), 13434828);
    }

    void columnResetButtonCallsTheMainWindow()
    {
        openForm();
        child<QPushButton>("ClmDefBtn")->click();
        QCOMPARE(m_resetCalls, 1);
        QCOMPARE(countMessages(m_prompts), 0);
    }
};

// The dialog as the main window runs it, from the menu.
class TestSettingDialogInWindow : public QObject, public MainWindowFixture {
    Q_OBJECT

    TTunoviaF &makeWindow()
    {
        MainWindowFixture::makeWindow();
        m_window->createSettingsDialog();
        return *m_window;
    }

    // Runs `script` inside the modal dialog opened from the menu.
    void runFromMenu(TTunoviaF &w, std::function<void(TSettingF &)> script)
    {
        bool ran = false;
        QTimer::singleShot(0, w.settingForm(), [&] {
            QVERIFY(w.settingForm()->isVisible());
            script(*w.settingForm());
            ran = true;
            if (w.settingForm()->isVisible())
                w.settingForm()->reject();
        });
        w.findChild<QAction *>(QStringLiteral("Setting"))->trigger();
        QVERIFY(ran);
    }

private slots:
    void initTestCase() { useProgramFolder(); }
    void cleanup() { m_window.reset(); }

    void applyThenCancelKeepsOnlyWhatWasApplied()
    {
        TTunoviaF &w = makeWindow();
        auto find = [&](const char *name) { return w.settingForm()->findChild<QWidget *>(QString::fromLatin1(name)); };
        runFromMenu(w, [&](TSettingF &f) {
            static_cast<QRadioButton *>(find("ScmpxChk"))->click();
            static_cast<QComboBox *>(find("TotalTime"))->setCurrentIndex(3);
            static_cast<QCheckBox *>(find("CheckBox7"))->click();
            static_cast<QCheckBox *>(find("NoLyricsHide"))->click();
            static_cast<QLineEdit *>(find("JoyMin"))->setText(QStringLiteral("12000"));
            static_cast<QLineEdit *>(find("m2h"))->setText(U("/ツール/m2h"));
            static_cast<QCheckBox *>(find("AutoSelChk"))->click();
            f.findChild<QPushButton *>(QStringLiteral("ApplyBtn"))->click();
            // Changed after applying, then cancelled.
            static_cast<QRadioButton *>(find("MciChk"))->click();
            static_cast<QLineEdit *>(find("J2"))->setText(QStringLiteral("/never"));
            f.findChild<QPushButton *>(QStringLiteral("CancelBtn"))->click();
        });
        const ProfileFile p(ini());
        const QString s = QStringLiteral("Setting");
        QCOMPARE(p.readInt(s, QStringLiteral("SCMPXCheck"), 0), 1);
        QCOMPARE(p.readInt(s, QStringLiteral("MCICheck"), 1), 0);
        QCOMPARE(p.readString(s, QStringLiteral("J2"), QStringLiteral("<none>")), QString());
        QCOMPARE(p.readInt(s, QStringLiteral("TotalTime"), 0), 3);
        QCOMPARE(p.readInt(QStringLiteral("Column"), QStringLiteral("Check7"), 1), 0);
        QCOMPARE(p.readInt(QStringLiteral("Lyrics"), QStringLiteral("NoLyricsHide"), 0), 1);
        QCOMPARE(p.readString(QStringLiteral("JoyPad"), QStringLiteral("Min"), {}), QStringLiteral("12000"));
        QCOMPARE(p.readString(s, QStringLiteral("m2h"), {}), U("/ツール/m2h"));
        QCOMPARE(p.readInt(s, QStringLiteral("AutoSelect"), 0), 1);
        // The main window took the re-read settings, not the cancelled ones.
        QVERIFY(w.dialogSettings().usesScmpx());
        QCOMPARE(w.dialogSettings().j2, QString());
        // The column layout followed the applied tick.
        QCOMPARE(w.listView2()->columnWidth(6), 0);

        runFromMenu(w, [&](TSettingF &) {
            QVERIFY(static_cast<QRadioButton *>(find("ScmpxChk"))->isChecked());
            QCOMPARE(static_cast<QLineEdit *>(find("J2"))->text(), QString());
            QCOMPARE(static_cast<QComboBox *>(find("TotalTime"))->currentIndex(), 3);
            QVERIFY(!static_cast<QCheckBox *>(find("CheckBox7"))->isChecked());
            QCOMPARE(static_cast<QLineEdit *>(find("m2h"))->text(), U("/ツール/m2h"));
        });

        // OK writes and closes.
        runFromMenu(w, [&](TSettingF &f) {
            static_cast<QRadioButton *>(find("WinampChk"))->click();
            f.findChild<QPushButton *>(QStringLiteral("OkBtn"))->click();
            QVERIFY(!f.isVisible());
        });
        QCOMPARE(ProfileFile(ini()).readInt(s, QStringLiteral("WinampCheck"), 0), 1);
    }

    void narrowedColumnShowsClearedTickAndResetBringsItBack()
    {
        TTunoviaF &w = makeWindow();
        w.listView2()->setColumnWidth(2, 0);
        runFromMenu(w, [&](TSettingF &f) {
            QVERIFY(!f.findChild<QCheckBox *>(QStringLiteral("CheckBox3"))->isChecked());
            w.listView2()->setColumnWidth(0, 0);
            w.listView2()->setColumnWidth(12, 33);
            f.findChild<QPushButton *>(QStringLiteral("ClmDefBtn"))->click();
            // At once, while the dialog is still open.
            QCOMPARE(w.listView2()->columnWidth(0), 150);
            QCOMPARE(w.listView2()->columnWidth(12), 150);
            QCOMPARE(w.listView()->columnWidth(4), 150);
            // Ticking Album again and confirming keeps the reset widths.
            f.findChild<QCheckBox *>(QStringLiteral("CheckBox3"))->click();
            f.findChild<QPushButton *>(QStringLiteral("OkBtn"))->click();
        });
        QCOMPARE(w.listView2()->columnWidth(2), 100);
        QCOMPARE(w.listView2()->columnWidth(12), 150);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int status = 0;
    {
        TestSettingForm t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        TestSettingDialogInWindow t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "test_settingform.moc"
