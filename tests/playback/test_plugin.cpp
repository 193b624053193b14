// gen_tunly.so loaded into this process, polling a host window of this
// process that answers like the player.
#include "platform/profile.h"
#include "platform/windowbus.h"
#include "playback/playermessages.h"
#include "plugin/gen_tunly.h"

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <vector>

class TestPlugin : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void exportsOnlyTheEntryPoint();
    void recordBeforeInit();
    void initNamesItselfAndPolls();
    void dataFileBytes_data();
    void dataFileBytes();
    void writesOnlyWhenTextChanges();
    void quitDeletesDataFileAndStopsPolling();
    void missingOrEmptyWinampPathWritesNothing_data();
    void missingOrEmptyWinampPathWritesNothing();
    void configWritesIntervalAsTyped_data();
    void configWritesIntervalAsTyped();

private:
    qint64 answer(quint32 msg, qint64 wParam, qint64 lParam);
    void writeSettings(const QByteArray &content);
    QString dataFile() const { return m_dir.path() + QStringLiteral("/player/Tunov.dat"); }
    QByteArray readDataFile() const;
    int pollCount() const;
    // Runs `action` on the plug-in's modal dialog once it is shown.
    void onDialog(std::function<void(QDialog *)> action);

    QTemporaryDir m_dir;
    GeneralPurposePlugin *m_record = nullptr;
    std::unique_ptr<MessageWindow> m_host;
    std::vector<QByteArray> m_names; // entries; an empty one answers null
    qint64 m_position = 0;
    QList<QPair<qint64, qint64>> m_requests; // (wParam, lParam) of every WM_USER
};

qint64 TestPlugin::answer(quint32 msg, qint64 wParam, qint64 lParam)
{
    if (msg != WM_USER)
        return 0;
    m_requests.append({wParam, lParam});
    if (lParam == winamp::IpcGetListPos)
        return m_position;
    if (lParam == winamp::IpcGetPlaylistFile) {
        if (wParam < 0 || wParam >= qint64(m_names.size()) || m_names[size_t(wParam)].isEmpty())
            return 0;
        return qint64(reinterpret_cast<quintptr>(m_names[size_t(wParam)].constData()));
    }
    return 0;
}

void TestPlugin::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir().mkpath(m_dir.path() + QStringLiteral("/player")));
    QVERIFY(QDir().mkpath(m_dir.path() + QStringLiteral("/config")));
    qputenv("TUNOVIA_CONFIG_DIR", QFile::encodeName(m_dir.path() + QStringLiteral("/config")));
    QDir::setCurrent(m_dir.path());

    QLibrary library(qEnvironmentVariable("TUNOVIA_BIN_DIR") + QStringLiteral("/gen_tunly.so"));
    QVERIFY2(library.load(), qPrintable(library.errorString()));
    auto get = reinterpret_cast<GetGeneralPurposePluginFunction>(library.resolve(GeneralPurposePluginExport));
    QVERIFY(get);
    m_record = get();
    QVERIFY(m_record);
}

void TestPlugin::init()
{
    m_names = {QByteArray("/music/a.mp3")};
    m_position = 0;
    m_requests.clear();
    m_host = std::make_unique<MessageWindow>(QStringLiteral("PluginHost-%1").arg(QCoreApplication::applicationPid()),
                                             [this](quint32 msg, qint64 w, qint64 l) { return answer(msg, w, l); });
    m_record->parentWindow = m_host->handle().native();
    m_record->libraryInstance = nullptr;
    writeSettings("[Setting]\r\nWinamp=" + QFile::encodeName(m_dir.path()) +
                  "/player/tunovia-player\r\n[Plug-In]\r\nInterval=20\r\n");
    QFile::remove(dataFile());
}

void TestPlugin::cleanup()
{
    m_record->quit();
    m_host.reset();
}

void TestPlugin::writeSettings(const QByteArray &content)
{
    QFile file(m_dir.path() + QStringLiteral("/config/Tunov.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray TestPlugin::readDataFile() const
{
    QFile file(dataFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int TestPlugin::pollCount() const
{
    int n = 0;
    for (const auto &r : m_requests)
        n += r.second == winamp::IpcGetListPos;
    return n;
}

void TestPlugin::onDialog(std::function<void(QDialog *)> action)
{
    auto *timer = new QTimer(this);
    timer->setInterval(10);
    connect(timer, &QTimer::timeout, this, [timer, action] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        }
    });
    timer->start();
}

void TestPlugin::exportsOnlyTheEntryPoint()
{
    const QString nm = QStandardPaths::findExecutable(QStringLiteral("nm"));
    if (nm.isEmpty())
        QSKIP("nm is not installed");
    QProcess process;
    process.start(nm, {QStringLiteral("-D"), QStringLiteral("--defined-only"), QStringLiteral("--format=just-symbols"),
                       qEnvironmentVariable("TUNOVIA_BIN_DIR") + QStringLiteral("/gen_tunly.so")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    QStringList symbols = QString::fromLatin1(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    // The linker's own markers of the data segment are not exports of ours.
    symbols.removeIf([](const QString &s) {
        return s == QLatin1String("_edata") || s == QLatin1String("_end") || s == QLatin1String("__bss_start");
    });
    QCOMPARE(symbols, QStringList{QString::fromLatin1(GeneralPurposePluginExport)});
}

void TestPlugin::recordBeforeInit()
{
    QCOMPARE(m_record->version, 0x10);
    QVERIFY(m_record->init && m_record->config && m_record->quit);
}

void TestPlugin::initNamesItselfAndPolls()
{
    QCOMPARE(m_record->init(), 0);
    QCOMPARE(QByteArray(m_record->description), QByteArray("Tunovia Lyrics Sub Plug-In v1.10 [gen_tunly.so]"));
    // Interval=20 from the settings file: the default 1000 would not poll this often.
    QTRY_VERIFY_WITH_TIMEOUT(pollCount() >= 4, 900);
    // Each poll asks for the position, then for the entry at that position.
    m_position = 0;
    QCOMPARE(m_requests.at(0), qMakePair(qint64(0), winamp::IpcGetListPos));
    QCOMPARE(m_requests.at(1), qMakePair(qint64(0), winamp::IpcGetPlaylistFile));
}

void TestPlugin::dataFileBytes_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("plain path") << QByteArray("/music/a.mp3") << QByteArray("/music/a.mp3\n");
    QTest::newRow("utf-8 path") << QString::fromUtf8("/曲/歌 1.mp3").toUtf8()
                                << QString::fromUtf8("/曲/歌 1.mp3\n").toUtf8();
    // Tunovia reads the name as a file of this system, so it is UTF-8 even
    // when a host hands over CP932.
    QTest::newRow("cp932 from the host becomes UTF-8")
        << QByteArray("C:\\\x89\xcc\\a.mp3") << QByteArray("C:\\\xE6\xAD\x8C\\a.mp3\n");
    QTest::newRow("no text") << QByteArray() << QByteArray("(null)\n");
}

void TestPlugin::dataFileBytes()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, expected);
    m_names = {QByteArray("/first.mp3"), name};
    m_position = 1;
    QCOMPARE(m_record->init(), 0);
    QTRY_COMPARE(readDataFile(), expected);
}

void TestPlugin::writesOnlyWhenTextChanges()
{
    m_names = {QByteArray("/music/same.mp3"), QByteArray("/music/same.mp3"), QByteArray("/music/other.mp3")};
    QCOMPARE(m_record->init(), 0);
    QTRY_COMPARE(readDataFile(), QByteArray("/music/same.mp3\n"));

    // Removed behind the plug-in's back: a rewrite would bring it back.
    QVERIFY(QFile::remove(dataFile()));
    m_position = 1;
    const int polls = pollCount();
    QTRY_VERIFY(pollCount() >= polls + 5);
    QVERIFY(!QFile::exists(dataFile()));

    m_position = 2;
    QTRY_COMPARE(readDataFile(), QByteArray("/music/other.mp3\n"));
    m_position = 0;
    QTRY_COMPARE(readDataFile(), QByteArray("/music/same.mp3\n"));
}

void TestPlugin::quitDeletesDataFileAndStopsPolling()
{
    QCOMPARE(m_record->init(), 0);
    QTRY_VERIFY(QFile::exists(dataFile()));
    m_record->quit();
    QVERIFY(!QFile::exists(dataFile()));
    const int polls = pollCount();
    QTest::qWait(150);
    QCOMPARE(pollCount(), polls);

    // Started again, it writes again even though the text is the same.
    QCOMPARE(m_record->init(), 0);
    QTRY_COMPARE(readDataFile(), QByteArray("/music/a.mp3\n"));
}

void TestPlugin::missingOrEmptyWinampPathWritesNothing_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::newRow("no key") << QByteArray("[Plug-In]\r\nInterval=20\r\n");
    QTest::newRow("empty key") << QByteArray("[Setting]\r\nWinamp=\r\n[Plug-In]\r\nInterval=20\r\n");
}

void TestPlugin::missingOrEmptyWinampPathWritesNothing()
{
    QFETCH(QByteArray, settings);
    if (QFile::exists(QStringLiteral("/Tunov.dat")))
        QSKIP("a Tunov.dat already lies at the root");
    writeSettings(settings);
    QCOMPARE(m_record->init(), 0);
    const int polls = pollCount();
    QTRY_VERIFY(pollCount() >= polls + 3);
    QVERIFY(!QFile::exists(QStringLiteral("/Tunov.dat")));
    QVERIFY(!QFile::exists(dataFile()));
    QVERIFY(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size() == 2);
}

void TestPlugin::configWritesIntervalAsTyped_data()
{
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("ok 500") << true << QStringLiteral("500") << QStringLiteral("500");
    QTest::newRow("ok keeps text unvalidated") << true << QStringLiteral("12ab") << QStringLiteral("12ab");
    QTest::newRow("ok cuts at nine characters") << true << QStringLiteral("1234567890") << QStringLiteral("123456789");
    QTest::newRow("cancel") << false << QStringLiteral("500") << QStringLiteral("20");
}

void TestPlugin::configWritesIntervalAsTyped()
{
    QFETCH(bool, ok);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QCOMPARE(m_record->init(), 0);

    QString shownInterval, caption, group, unit;
    onDialog([&](QDialog *dialog) {
        caption = dialog->windowTitle();
        auto *edit = dialog->findChild<QLineEdit *>();
        shownInterval = edit->text();
        group = dialog->findChild<QGroupBox *>()->title();
        unit = dialog->findChild<QLabel *>()->text();
        edit->clear();
        QTest::keyClicks(edit, typed);
        const auto buttons = dialog->findChildren<QPushButton *>();
        for (QPushButton *b : buttons) {
            if (b->text() == (ok ? QStringLiteral("OK") : QStringLiteral("Cancel")))
                b->click();
        }
    });
    m_record->config();

    QCOMPARE(caption, QStringLiteral("Tunovia Lyrics Sub Plug-In"));
    QCOMPARE(shownInterval, QStringLiteral("20"));
    QCOMPARE(group, QStringLiteral("更新間隔"));
    QCOMPARE(unit, QStringLiteral("ミリ秒"));
    const ProfileFile settings(m_dir.path() + QStringLiteral("/config/Tunov.ini"));
    QCOMPARE(settings.value(QStringLiteral("Plug-In"), QStringLiteral("Interval")).value_or(QString()), stored);

    // The running timer keeps its interval until the next start.
    const int polls = pollCount();
    QTRY_VERIFY_WITH_TIMEOUT(pollCount() >= polls + 4, 900);
}

QTEST_MAIN(TestPlugin)
#include "test_plugin.moc"
