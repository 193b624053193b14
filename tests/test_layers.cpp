// The include layers of src/ and the widget-free core library. It links
// tunovia_core alone, so it also shows that the core needs no Qt Widgets.
#include "platform/textcodec.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

class TestLayers : public QObject {
    Q_OBJECT

    // "<file>:<line>: <header>" for every include under folder whose header matches pattern.
    static QStringList includes(const QString &folder, bool recursive, const QRegularExpression &pattern)
    {
        static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s*[\"<]([^\">]+)[\">]"));
        const QString src = QStringLiteral(TUNOVIA_SOURCE_DIR "/src/");
        QStringList found;
        QDirIterator it(src + folder, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly))
                return {file.fileName() + QStringLiteral(": cannot be read")};
            for (int line = 1; !file.atEnd(); ++line) {
                const auto m = include.match(QString::fromUtf8(file.readLine()));
                if (m.hasMatch() && pattern.match(m.captured(1)).hasMatch())
                    found << QStringLiteral("src/%1:%2: %3")
                                 .arg(file.fileName().mid(src.size()), QString::number(line), m.captured(1));
            }
        }
        return found;
    }

private slots:
    void coreFilesIncludeNoUiHeader_data()
    {
        QTest::addColumn<QString>("area");
        for (const char *area :
             {"platform", "config", "app", "library", "tracks", "playback", "lyrics", "settings", "controls"})
            QTest::newRow(area) << QString::fromLatin1(area);
    }

    void coreFilesIncludeNoUiHeader()
    {
        QFETCH(QString, area);
        const QStringList found = includes(area, false, QRegularExpression(QStringLiteral("(^|/)ui/")));
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }

    void lowerAreasIncludeNothingFromApp_data()
    {
        QTest::addColumn<QString>("area");
        for (const char *area : {"platform", "library", "tracks", "playback", "lyrics", "settings", "controls",
                                 "config", "plugin", "standin"})
            QTest::newRow(area) << QString::fromLatin1(area);
    }

    void lowerAreasIncludeNothingFromApp()
    {
        QFETCH(QString, area);
        const QStringList found = includes(area, true, QRegularExpression(QStringLiteral("^app/")));
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }

    void coreRunsWithoutWidgets()
    {
        QCOMPARE(text::fromCp932("\x83\x65\x83\x58\x83\x67"), QString::fromUtf8("テスト"));
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY(!maps.readAll().contains("libQt6Widgets"));
    }
};

QTEST_GUILESS_MAIN(TestLayers)
#include "test_layers.moc"
