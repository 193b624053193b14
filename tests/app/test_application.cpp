// The application object as the program runs it: captions as the window
// system shows them, and Qt's own dialogs in Japanese.
#include "app/ui/tunoviaapp.h"
#include "platform/ui/prompts.h"
#include "settings/ui/settingform.h"
#include "support/mainwindowfixture.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

#include <csignal>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString U(const char *s) { return QString::fromUtf8(s); }

// A private X server for this program: the offscreen platform keeps no
// caption, while an X server holds the one a window manager would show.
class PrivateXServer {
public:
    PrivateXServer()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            prctl(PR_SET_PDEATHSIG, SIGTERM); // never outlives a test that crashed
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "1024x768x24",
                   static_cast<char *>(nullptr));
            _exit(127);
        }
        ::close(fds[1]);
        // The server writes its display number once it takes connections.
        std::string number;
        pollfd readable{fds[0], POLLIN, 0};
        char c = 0;
        while (m_pid > 0 && poll(&readable, 1, 20000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(fds[0]);
        if (number.empty()) {
            stop();
            return;
        }
        setenv("DISPLAY", (":" + number).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    ~PrivateXServer() { stop(); }
    PrivateXServer(const PrivateXServer &) = delete;
    PrivateXServer &operator=(const PrivateXServer &) = delete;

private:
    void stop()
    {
        if (m_pid <= 0)
            return;
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    pid_t m_pid = -1;
};

// The caption the X server holds for a shown window.
QString shownCaption(QWidget *window)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), QString::number(window->winId())});
    if (!xdotool.waitForFinished(10000) || xdotool.exitCode() != 0)
        return QStringLiteral("<unreadable>");
    return QString::fromUtf8(xdotool.readAllStandardOutput()).chopped(1);
}

bool onX() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

struct BoxSeen {
    QString caption, shownCaption;
    QStringList buttons;
};

// Runs `ask`, which opens a message box through the real prompt service, and
// reads the box while it is up; then closes it.
BoxSeen whileBoxIsUp(const std::function<void()> &ask)
{
    BoxSeen seen;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->windowHandle() || !box->windowHandle()->isExposed())
            return;
        poll.stop();
        seen.caption = box->windowTitle();
        if (onX())
            seen.shownCaption = shownCaption(box);
        for (QAbstractButton *b : box->buttons())
            seen.buttons << b->text();
        box->reject();
    });
    poll.start();
    ask();
    return seen;
}

} // namespace

class TestApplication : public QObject, public MainWindowFixture {
    Q_OBJECT

private slots:
    void initTestCase() { useProgramFolder(); }
    void cleanup() { m_window.reset(); }

    void windowsShowTheirCaptionsAsDefined_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::newRow("main window") << QStringLiteral("main") << QStringLiteral("Tunovia");
        QTest::newRow("settings dialog") << QStringLiteral("settings") << U("設定");
        QTest::newRow("exit question") << QStringLiteral("question") << U("終了確認");
        QTest::newRow("error box") << QStringLiteral("error") << U("Tunovia エラー");
        QTest::newRow("untitled box") << QStringLiteral("untitled") << QString();
    }
    void windowsShowTheirCaptionsAsDefined()
    {
        if (!onX())
            QSKIP("no X server to read captions from");
        QFETCH(QString, window);
        QFETCH(QString, caption);
        TTunoviaF &w = makeWindow();
        QtPrompts real;
        Prompts &prompts = real;
        if (window == QLatin1String("question") || window == QLatin1String("error") ||
            window == QLatin1String("untitled")) {
            const BoxSeen seen = whileBoxIsUp([&] {
                if (window == QLatin1String("question"))
                    prompts.askYesNo(nullptr, caption, U("終了してもいいですか？"));
                else if (window == QLatin1String("error"))
                    prompts.error(nullptr, U("データファイルがロードできませんでした。"));
                else
                    prompts.message(nullptr, caption, U("データファイルがロードできませんでした。"),
                                    Prompts::Icon::None);
            });
            // A box without a title shows a blank caption, not the program's name.
            QCOMPARE(caption.isEmpty() ? seen.shownCaption.trimmed() : seen.shownCaption, caption);
            return;
        }
        QWidget *shown = &w;
        if (window == QLatin1String("settings")) {
            w.createSettingsDialog();
            shown = w.findChild<TSettingF *>();
            QVERIFY(shown);
        }
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QCOMPARE(shownCaption(shown), caption);
    }

    void qtDialogsSpeakJapaneseButOwnTextsStay()
    {
        QtPrompts prompts;
        const BoxSeen question =
            whileBoxIsUp([&] { prompts.askYesNo(nullptr, U("終了確認"), U("終了してもいいですか？")); });
        QCOMPARE(question.buttons, (QStringList{U("はい(&Y)"), U("いいえ(&N)")}));

        QFileDialog save(nullptr, U("名前を付けて保存"));
        save.setOption(QFileDialog::DontUseNativeDialog);
        save.setAcceptMode(QFileDialog::AcceptSave);
        QCOMPARE(save.findChild<QLabel *>(QStringLiteral("fileNameLabel"))->text(), U("ファイル名(&N):"));
        QCOMPARE(save.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save)->text(), U("保存(&S)"));

        // Tunovia's own buttons keep their defined texts.
        TTunoviaF &w = makeWindow();
        w.createSettingsDialog();
        QStringList own;
        for (const QPushButton *b : w.findChild<TSettingF *>()->findChildren<QPushButton *>(Qt::FindDirectChildrenOnly))
            own << b->text();
        QCOMPARE(own, (QStringList{QStringLiteral("OK"), U("ｷｬﾝｾﾙ"), U("適用")}));
    }
};

int main(int argc, char **argv)
{
    const PrivateXServer server;
    TunoviaApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"
