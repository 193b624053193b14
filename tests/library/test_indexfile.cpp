#include "library/indexfile.h"
#include "platform/textcodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using indexfile::Tree;

class TestIndexFile : public QObject {
    Q_OBJECT
private:
    static QString u(const char *s) { return QString::fromUtf8(s); }
    static QStringList names(const std::vector<indexfile::Entry> &entries)
    {
        QStringList out;
        for (const auto &e : entries)
            out.append(e.name);
        return out;
    }

private slots:
    void nestedFoldersAndSlots()
    {
        const Tree t =
            indexfile::parse(";;{ Rock\r\na=C:\\x\\a.mdt\r\n;;{ Live\r\nb=b.mdt\r\n;;}\r\n;;}\r\nc=c.mdt\r\n");
        QCOMPARE(t.folders.size(), size_t(3));
        QCOMPARE(t.folders[0].name, u("root"));
        QCOMPARE(t.folders[1].name, u("Rock"));
        QCOMPARE(t.folders[2].name, u("Live"));
        QCOMPARE(t.folders[1].parent, 0);
        QCOMPARE(t.folders[2].parent, 1);
        QCOMPARE(t.folders[0].children, std::vector<int>{1});
        QCOMPARE(names(t.folders[0].entries), QStringList{u("c")});
        QCOMPARE(names(t.folders[1].entries), QStringList{u("a")});
        QCOMPARE(names(t.folders[2].entries), QStringList{u("b")});
        QCOMPARE(t.folders[2].entries[0].path, u("b.mdt"));
        QCOMPARE(t.folders[1].entries[0].path, u("C:\\x\\a.mdt"));
    }

    void lineForms_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("folder");      // name of folder 1, or "" for none
        QTest::addColumn<QStringList>("entries"); // "name|path" of every entry, root first
        QTest::newRow("folder without space") << QByteArray(";;{Rock\n;;}\n") << u("Rock") << QStringList{};
        QTest::newRow("folder with one space") << QByteArray(";;{ Rock\n;;}\n") << u("Rock") << QStringList{};
        QTest::newRow("two spaces keep one") << QByteArray(";;{  Rock\n") << u(" Rock") << QStringList{};
        QTest::newRow("tabs anywhere") << QByteArray("\t;;{\tRo\tck\n\t\tx=\ty.mdt\t\n") << u("Rock")
                                       << QStringList{u("x|y.mdt")};
        QTest::newRow("split at first equals") << QByteArray("x=y=z.mdt\n") << QString() << QStringList{u("x|y=z.mdt")};
        QTest::newRow("skipped lines") << QByteArray("\n\nno equals\n=nameless.mdt\n; comment=1\n;x\nok=1\n")
                                       << QString() << QStringList{u("ok|1")};
        QTest::newRow("last line without end")
            << QByteArray("a=1\nb=2") << QString() << QStringList{u("a|1"), u("b|2")};
        QTest::newRow("last folder line without end")
            << QByteArray("a=1\n;;{ End") << u("End") << QStringList{u("a|1")};
        QTest::newRow("cr only ends") << QByteArray("a=1\r;;{ F\rb=2\r") << u("F") << QStringList{u("a|1"), u("b|2")};
        QTest::newRow("end without start is harmless")
            << QByteArray(";;}\na=1\n;;}\n;;{ F\nb=2\n") << u("F") << QStringList{u("a|1"), u("b|2")};
        QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF;;{ F\nb=2\n") << u("F") << QStringList{u("b|2")};
        QTest::newRow("nul bytes") << QByteArray("a=1\0x\n", 7) << QString()
                                   << QStringList{u("a|1") + QChar(0) + u("x")};
        QTest::newRow("cp932") << text::toCp932(u(";;{ 邦楽\r\n表=表.mdt\r\n")) << u("邦楽")
                               << QStringList{u("表|表.mdt")};
    }
    void lineForms()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, folder);
        QFETCH(QStringList, entries);
        const Tree t = indexfile::parse(bytes);
        if (folder.isEmpty())
            QCOMPARE(t.folders.size(), size_t(1));
        else
            QCOMPARE(t.folders.at(1).name, folder);
        QStringList got;
        for (const auto &f : t.folders)
            for (const auto &e : f.entries)
                got.append(e.name + u("|") + e.path);
        QCOMPARE(got, entries);
    }

    void settingsLines()
    {
        const Tree t = indexfile::parse(";ROOT=My Music\r\n;Title=Old\r\n;tItLe=Jazz=Blue\r\n;root =x\r\n");
        QCOMPARE(t.folders[0].name, u("My Music"));
        QCOMPARE(t.title, u("Jazz=Blue"));
        QCOMPARE(indexfile::parse("a=b").title, QString());
    }

    void deepNestingNeedsNoStack()
    {
        QByteArray bytes;
        for (int i = 0; i < 10000; ++i)
            bytes += ";;{ f" + QByteArray::number(i) + "\n";
        bytes += "deep=x.mdt\n"; // no folder ends at all
        const Tree t = indexfile::parse(bytes);
        QCOMPARE(t.folders.size(), size_t(10001));
        QCOMPARE(t.folders.back().depth, 10000);
        QCOMPARE(names(t.folders.back().entries), QStringList{u("deep")});
        QCOMPARE(t.entriesWithSubfolders(0).size(), size_t(1));
    }

    void subfolderListing_data()
    {
        QTest::addColumn<int>("folder");
        QTest::addColumn<QStringList>("expect");
        QTest::newRow("root lists all in folder order") << 0 << QStringList{u("r"), u("a"), u("b"), u("c"), u("d")};
        QTest::newRow("folder with child") << 1 << QStringList{u("a"), u("b"), u("c")};
        // Folder 3 is the last child of folder 1; the top-level folder 4 follows.
        QTest::newRow("last child stops at its own subtree") << 3 << QStringList{u("c")};
        QTest::newRow("last folder") << 4 << QStringList{u("d")};
        QTest::newRow("out of range") << 9 << QStringList{};
    }
    void subfolderListing()
    {
        QFETCH(int, folder);
        QFETCH(QStringList, expect);
        const Tree t = indexfile::parse("r=0\n;;{ A\na=1\n;;{ B\nb=2\n;;}\n;;{ C\nc=3\n;;}\n;;}\n;;{ D\nd=4\n;;}\n");
        QCOMPARE(names(t.entriesWithSubfolders(folder)), expect);
    }

    void insertLines_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("target");
        QTest::addColumn<QByteArray>("after");
        const QByteArray file = ";Tunovia  Index File\r\n;;{ A\r\n\ta=1\r\n\t;;{ B\r\n\t\tb=2\r\n\t;;}\r\n;;}\r\n";
        QTest::newRow("root goes in front of the header") << file << 0 << QByteArray("n=p\r\n" + file);
        QTest::newRow("folder takes the indent of its first line")
            << file << 1
            << QByteArray(";Tunovia  Index File\r\n;;{ A\r\n\tn=p\r\n\ta=1\r\n\t;;{ B\r\n\t\tb=2\r\n\t;;}\r\n;;}\r\n");
        QTest::newRow("nested folder")
            << file << 2
            << QByteArray(
                   ";Tunovia  Index File\r\n;;{ A\r\n\ta=1\r\n\t;;{ B\r\n\t\tn=p\r\n\t\tb=2\r\n\t;;}\r\n;;}\r\n");
        QTest::newRow("no such folder leaves the file") << file << 3 << file;
        QTest::newRow("no target leaves the file") << file << -1 << file;
        QTest::newRow("folder start as last line")
            << QByteArray("x=1\n;;{ A") << 1 << QByteArray("x=1\n;;{ A\r\nn=p\r\n");
        QTest::newRow("empty file") << QByteArray() << 0 << QByteArray("n=p\r\n");
        QTest::newRow("other line ends kept") << QByteArray("a=1\nb=2\rc=3") << 0 << QByteArray("n=p\r\na=1\nb=2\rc=3");
        QTest::newRow("bom stays in front")
            << QByteArray("\xEF\xBB\xBF;;{ A\n") << 1 << QByteArray("\xEF\xBB\xBF;;{ A\nn=p\r\n");
    }
    void insertLines()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, target);
        QFETCH(QByteArray, after);
        QCOMPARE(indexfile::insertLines(before, target, {u("n=p")}), after);
    }

    void insertedFolderBecomesFirstChild()
    {
        QByteArray file = indexfile::newFileContent() + ";;{ A\r\nx=1\r\n;;}\r\n";
        file = indexfile::insertLines(file, 1, indexfile::folderLines(u("First")));
        file = indexfile::insertLines(file, 1, indexfile::folderLines(u("Second")));
        const Tree t = indexfile::parse(file);
        QCOMPARE(t.folders.size(), size_t(4));
        QCOMPARE(t.folders[2].name, u("Second"));
        QCOMPARE(t.folders[3].name, u("First"));
        QCOMPARE(t.folders[1].children, (std::vector<int>{2, 3}));
        QCOMPARE(names(t.folders[1].entries), QStringList{u("x")});
    }

    void insertKeepsTheFileEncoding()
    {
        // CP932 file, CP932 name: stays CP932.
        const QByteArray cp = text::toCp932(u(";;{ 邦楽\r\n"));
        const QByteArray a = indexfile::insertLines(cp, 1, {indexfile::entryLine(u("曲"), u("x.mdt"))});
        QCOMPARE(a, cp + text::toCp932(u("曲=x.mdt\r\n")));
        // UTF-8 file: new lines in UTF-8, whatever fits CP932.
        const QByteArray utf = u(";;{ 邦楽\r\n").toUtf8();
        QCOMPARE(indexfile::insertLines(utf, 1, {u("曲=x")}), utf + u("曲=x\r\n").toUtf8());
        // CP932 file and a name CP932 cannot hold: the whole file becomes UTF-8.
        const QByteArray b = indexfile::insertLines(cp, 1, {u("한국=x")});
        QCOMPARE(indexfile::parse(b).folders[1].name, u("邦楽"));
        QCOMPARE(indexfile::parse(b).folders[1].entries.at(0).name, u("한국"));
    }

    void entryNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << u("Best of") << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("equals") << u("a=b") << false;
        QTest::newRow("comment") << u(";x") << false;
        QTest::newRow("tab") << u("a\tb") << false;
    }
    void entryNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, valid);
        QCOMPARE(indexfile::isValidEntryName(name), valid);
    }

    void sortOnePass()
    {
        QStringList names{u("c"), u("b"), u("a")};
        QStringList paths{u("c.mdt"), u("b.mdt"), u("a.mdt")};
        indexfile::sortOnePass(names, paths);
        QCOMPARE(names, (QStringList{u("b"), u("a"), u("c")}));
        QCOMPARE(paths, (QStringList{u("b.mdt"), u("a.mdt"), u("c.mdt")}));
        indexfile::sortOnePass(names, paths);
        QCOMPARE(names, (QStringList{u("a"), u("b"), u("c")}));
        QCOMPARE(paths, (QStringList{u("a.mdt"), u("b.mdt"), u("c.mdt")}));

        // Unsigned CP932 bytes: ASCII < half-width kana (0xB1) < kanji (0x88..); prefix first; case matters.
        QStringList mixed{u("漢"), u("ｱ"), u("B"), u("a"), u("ab")};
        QStringList none;
        for (int i = 0; i < 5; ++i)
            indexfile::sortOnePass(mixed, none);
        QCOMPARE(mixed, (QStringList{u("B"), u("a"), u("ab"), u("漢"), u("ｱ")}));
    }

    void writeFileReplacesWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u("index.ini"));
        QVERIFY(indexfile::saveFile(path, indexfile::newFileContent()).ok());
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray(";Tunovia  Index File\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u("index.ini")});
        QVERIFY(!indexfile::saveFile(dir.filePath(u("no/such/folder.ini")), "x").ok());
        QVERIFY(!indexfile::readFile(dir.path()).ok());
        QCOMPARE(indexfile::readFile(path).value().folders.size(), size_t(1));
    }
};

QTEST_GUILESS_MAIN(TestIndexFile)
#include "test_indexfile.moc"
