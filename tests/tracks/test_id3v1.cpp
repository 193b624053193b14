#include "tracks/id3v1.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace id3v1;

namespace {

QByteArray field(QByteArray bytes, int width)
{
    bytes.resize(width, '\0');
    return bytes;
}

// A tag whose title and comment are given as raw bytes; the rest is filled.
QByteArray rawTag(const QByteArray &title, const QByteArray &comment = QByteArray(30, ' '), char genre = 17)
{
    QByteArray t("TAG");
    t += field(title, 30);
    t += field("Artist", 30);
    t += field("Album", 30);
    t += field("1998", 4);
    t += field(comment, 30);
    t += genre;
    return t;
}

QByteArray fakeAudio(int size)
{
    QByteArray audio(size, '\0');
    for (int i = 0; i < size; ++i)
        audio[i] = char((i * 37 + 11) & 0xFF);
    if (size >= 2) {
        audio[0] = char(0xFF); // a frame sync, for looks
        audio[1] = char(0xFB);
    }
    return audio;
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write fixture");
    return path;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestId3v1 : public QObject {
    Q_OBJECT

private slots:
    void fieldRules_data();
    void fieldRules();
    void commentWithTrackNumberShowsFirst28Bytes();
    void tagMarkerAndGenreByte();
    void untaggedFiles_data();
    void untaggedFiles();
    void encodeField_data();
    void encodeField();
    void appendToUntaggedKeepsAudio();
    void rewriteInPlaceRoundTrip();
    void untouchedFieldsKeepTheirBytes();
    void writeFailures();
    void failedWriteLeavesFileAsItWas();

private:
    QTemporaryDir m_dir;
};

void TestId3v1::fieldRules_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("expected");
    const QByteArray thirty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
    QTest::newRow("full width, no NUL") << thirty << QString::fromLatin1(thirty);
    QTest::newRow("trailing spaces") << QByteArray("ABC").append(27, ' ') << QStringLiteral("ABC");
    QTest::newRow("spaces only") << QByteArray(30, ' ') << QString();
    QTest::newRow("NUL ends the field") << QByteArray("AB\0CD", 5) << QStringLiteral("AB");
    QTest::newRow("spaces before NUL") << QByteArray("AB  \0XY", 7) << QStringLiteral("AB");
    QTest::newRow("leading spaces kept") << QByteArray("  AB") << QStringLiteral("  AB");
    QTest::newRow("tab is not trimmed") << QByteArray("AB\t") << QStringLiteral("AB\t");
    QTest::newRow("CP932") << QByteArray("\x83\x65\x83\x58\x83\x67 ") << QStringLiteral("テスト");
    // Bytes that are not CP932 read as Windows-1252; a valid CP932 reading wins.
    QTest::newRow("Latin-1 at the end") << QByteArray("Caf\xE9") << QStringLiteral("Café");
    QTest::newRow("Latin-1 inside") << QByteArray("M\xFCller") << QStringLiteral("Müller");
    QTest::newRow("Windows-1252 euro") << QByteArray("5\x80") << QStringLiteral("5€");
    QTest::newRow("half-width katakana") << QByteArray("\xC4\xDF") << QStringLiteral("ﾄﾟ");
}

void TestId3v1::fieldRules()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, expected);
    const std::optional<TagFields> tag = parseTag(rawTag(raw));
    QVERIFY(tag);
    QCOMPARE(tag->title, expected);
    QCOMPARE(tag->artist, QStringLiteral("Artist"));
    QCOMPARE(tag->year, QStringLiteral("1998"));
}

void TestId3v1::commentWithTrackNumberShowsFirst28Bytes()
{
    QByteArray comment(28, 'c');
    comment += '\0';
    comment += char(7); // track number
    const std::optional<TagFields> tag = parseTag(rawTag("T", comment));
    QVERIFY(tag);
    QCOMPARE(tag->comment, QString(28, QLatin1Char('c')));
}

void TestId3v1::tagMarkerAndGenreByte()
{
    QByteArray lower = rawTag("T");
    lower[0] = 't';
    QVERIFY(!parseTag(lower));
    QVERIFY(!parseTag(rawTag("T").left(127)));
    // The genre byte is unsigned.
    QCOMPARE(parseTag(rawTag("T", QByteArray(30, ' '), char(0xFF)))->genre, 255);
    QCOMPARE(parseTag(rawTag("T", QByteArray(30, ' '), char(0x80)))->genre, 128);
    QCOMPARE(parseTag(rawTag("T", QByteArray(30, ' '), char(0)))->genre, 0);
}

void TestId3v1::untaggedFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("tagged");

    const QString forty = QStringLiteral("0123456789012345678901234567890123456.mp3");
    QTest::newRow("40-byte name") << forty << fakeAudio(2000) << forty.left(31) << false;
    // 30 ASCII bytes then a double-byte character: it does not fit in 31 bytes.
    const QString wide = QString(30, QLatin1Char('a')) + QStringLiteral("あい.mp3");
    QTest::newRow("double-byte at the cut") << wide << fakeAudio(10) << QString(30, QLatin1Char('a')) << false;
    QTest::newRow("backslash in name") << QStringLiteral("a\\b.mp3") << fakeAudio(10) << QStringLiteral("a\\b.mp3")
                                       << false;
    QTest::newRow("empty file") << QStringLiteral("empty.mp3") << QByteArray() << QStringLiteral("empty.mp3") << false;
    QTest::newRow("127 bytes") << QStringLiteral("short.mp3") << rawTag("T").left(127) << QStringLiteral("short.mp3")
                               << false;
    QTest::newRow("tag only, 128 bytes") << QStringLiteral("bare.mp3") << rawTag("Bare") << QStringLiteral("Bare")
                                         << true;
    QTest::newRow("marker not at end") << QStringLiteral("inner.mp3") << rawTag("X") + QByteArray(5, 'z')
                                       << QStringLiteral("inner.mp3") << false;
}

void TestId3v1::untaggedFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, title);
    QFETCH(bool, tagged);
    const QString path = writeFile(m_dir.filePath(name), content);
    const Result<FileTag> file = readFile(path);
    QVERIFY2(file.ok(), qPrintable(file.error()));
    QCOMPARE(file->size, qint64(content.size()));
    QCOMPARE(file->tag.title, title);
    QCOMPARE(file->tag.tagged, tagged);
    if (!tagged) {
        QCOMPARE(file->tag.genre, 255);
        QVERIFY(file->tag.artist.isEmpty() && file->tag.year.isEmpty() && file->tag.comment.isEmpty());
    }
    QCOMPARE(ReadTag(path), file->tag);
}

void TestId3v1::encodeField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("AB") << QStringLiteral("AB") << 30 << QByteArray("AB\0", 3).append(27, ' ');
    QTest::newRow("empty") << QString() << 30 << QByteArray(1, '\0').append(29, ' ');
    QTest::newRow("year of 4 digits") << QStringLiteral("1998") << 4 << QByteArray("1998");
    QTest::newRow("year 98") << QStringLiteral("98") << 4 << QByteArray("98\0 ", 4);
    QTest::newRow("too long is cut") << QString(35, QLatin1Char('x')) << 30 << QByteArray(30, 'x');
    // "あ" is two bytes: it fits after 28 bytes, not after 29.
    QTest::newRow("double-byte fits") << QString(28, QLatin1Char('x')) + QStringLiteral("あ") << 30
                                      << QByteArray(28, 'x').append("\x82\xA0");
    QTest::newRow("double-byte not split")
        << QString(29, QLatin1Char('x')) + QStringLiteral("あ") << 30 << QByteArray(29, 'x').append('\0');
    QTest::newRow("year cut before double-byte") << QStringLiteral("19年") << 4 << QByteArray("19\x94\x4E");
    QTest::newRow("no CP932 form") << QStringLiteral("A한B") << 30 << QByteArray("A?B\0", 4).append(26, ' ');
    // What a Linux input method types for these has a CP932 look-alike.
    QTest::newRow("wave dash") << QStringLiteral("A\u301CB") << 30
                               << QByteArray("A\x81\x60"
                                             "B\0",
                                             5)
                                      .append(25, ' ');
    QTest::newRow("minus, em dash, pound")
        << QStringLiteral("\u2212\u2014\u00A3") << 6 << QByteArray("\x81\x7C\x81\x5C\x81\x92");
    QTest::newRow("look-alike not split")
        << QString(29, QLatin1Char('x')) + QStringLiteral("\u301C") << 30 << QByteArray(29, 'x').append('\0');
}

void TestId3v1::encodeField()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QByteArray, bytes);
    QCOMPARE(id3v1::encodeField(text, width), bytes);
}

void TestId3v1::appendToUntaggedKeepsAudio()
{
    const QByteArray audio = fakeAudio(1000);
    const QString path = writeFile(m_dir.filePath(QStringLiteral("plain.mp3")), audio);
    TagFields tag;
    tag.title = QStringLiteral("AB");
    tag.genre = 0;
    const Result<qint64> written = WriteTag(path, tag);
    QVERIFY2(written.ok(), qPrintable(written.error()));
    QCOMPARE(written.value(), qint64(1128));

    const QByteArray after = readAll(path);
    QCOMPARE(after.size(), 1128);
    QCOMPARE(after.left(1000), audio);
    QCOMPARE(after.mid(1000), encodeTag(tag));
    QCOMPARE(after.mid(1003, 30), QByteArray("AB\0", 3).append(27, ' '));
    QCOMPARE(after.at(1127), '\0'); // the first genre entry is byte 0
}

void TestId3v1::rewriteInPlaceRoundTrip()
{
    const QByteArray audio = fakeAudio(5000);
    const QString path = writeFile(m_dir.filePath(QStringLiteral("tagged.mp3")), audio + rawTag("Old"));
    TagFields tag;
    tag.title = QStringLiteral("夜明けのスキャット");
    tag.artist = QString(30, QLatin1Char('a'));
    tag.album = QStringLiteral("  leading kept");
    tag.year = QStringLiteral("98");
    tag.comment = QString(28, QLatin1Char('c'));
    tag.genre = 146;
    tag.tagged = true;
    QVERIFY(WriteTag(path, tag).ok());

    const QByteArray first = readAll(path);
    QCOMPARE(first.size(), audio.size() + 128);
    QCOMPARE(first.left(audio.size()), audio);
    QCOMPARE(ReadTag(path), tag);

    // Writing back what was read gives the same bytes.
    QVERIFY(WriteTag(path, ReadTag(path)).ok());
    QCOMPARE(readAll(path), first);

    // Trailing spaces are padding to the reader, so they do not come back.
    tag.album = QStringLiteral("trail  ");
    QVERIFY(WriteTag(path, tag).ok());
    QCOMPARE(ReadTag(path).album, QStringLiteral("trail"));
    QCOMPARE(QFileInfo(path).size(), qint64(audio.size() + 128));
}

void TestId3v1::untouchedFieldsKeepTheirBytes()
{
    QByteArray comment("Tr 1");
    comment.resize(28, ' ');
    comment += '\0';
    comment += char(5); // ID3v1.1 track number
    QByteArray tagBytes = rawTag("Caf\xE9", comment);
    tagBytes.replace(33, 30, field("M\xFCller  ", 30)); // artist, spaces before the NULs
    const QString path = writeFile(m_dir.filePath(QStringLiteral("western.mp3")), fakeAudio(300) + tagBytes);

    TagFields tag = ReadTag(path);
    QCOMPARE(tag.title, QStringLiteral("Café"));
    QCOMPARE(tag.artist, QStringLiteral("Müller"));
    tag.year = QStringLiteral("2001");
    QVERIFY(WriteTag(path, tag).ok());
    QByteArray expected = tagBytes;
    expected.replace(93, 4, "2001");
    QCOMPARE(readAll(path).right(128), expected);

    // An edited field is written afresh.
    tag.title = QStringLiteral("Cafe");
    QVERIFY(WriteTag(path, tag).ok());
    expected.replace(3, 30, QByteArray("Cafe\0", 5).append(25, ' '));
    QCOMPARE(readAll(path).right(128), expected);
}

void TestId3v1::writeFailures()
{
    const QString missing = m_dir.filePath(QStringLiteral("gone.mp3"));
    Result<qint64> r = WriteTag(missing, TagFields{});
    QVERIFY(!r.ok());
    QVERIFY(r.error().contains(missing));
    QVERIFY(!QFileInfo::exists(missing)); // never created

    const QString folder = m_dir.filePath(QStringLiteral("folder.mp3"));
    QVERIFY(QDir().mkpath(folder));
    r = WriteTag(folder, TagFields{});
    QVERIFY(!r.ok());
    QVERIFY(r.error().contains(folder));

    const QByteArray content = fakeAudio(300);
    const QString readOnly = writeFile(m_dir.filePath(QStringLiteral("ro.mp3")), content);
    QFile::setPermissions(readOnly, QFile::ReadOwner);
    if (::geteuid() == 0)
        QSKIP("root may write to a read-only file");
    r = WriteTag(readOnly, TagFields{});
    QVERIFY(!r.ok());
    QVERIFY(r.error().contains(readOnly));
    QCOMPARE(readAll(readOnly), content);
}

void TestId3v1::failedWriteLeavesFileAsItWas()
{
    const QByteArray audio = fakeAudio(1000);
    const QString path = writeFile(m_dir.filePath(QStringLiteral("full.mp3")), audio);
    // A file size limit makes the appended tag fail part-way, as a full disk would.
    rlimit old{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1050;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    TagFields tag;
    tag.title = QStringLiteral("never");
    const Result<qint64> r = WriteTag(path, tag);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!r.ok());
    QVERIFY(r.error().contains(path));
    QCOMPARE(readAll(path), audio);
}

QTEST_GUILESS_MAIN(TestId3v1)
#include "test_id3v1.moc"
