#include "tracks/trackmodel.h"

#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTest>

class TestTrackModel : public QObject {
    Q_OBJECT
private:
    static QString u(const char *s) { return QString::fromUtf8(s); }

    static TrackRecord row(const QString &title, const QString &size = {})
    {
        TrackRecord t;
        t[TrackField::Title] = title;
        t[TrackField::Size] = size;
        t[TrackField::Path] = u("/m/") + title + u(".mp3");
        return t;
    }
    static std::vector<TrackRecord> rows(const QStringList &titles)
    {
        std::vector<TrackRecord> out;
        for (const QString &t : titles)
            out.push_back(row(t));
        return out;
    }
    static QStringList column(const TrackModel &m, int c)
    {
        QStringList out;
        for (int r = 0; r < m.rowCount(); ++r)
            out.append(m.data(m.index(r, c)).toString());
        return out;
    }

private slots:
    void layouts()
    {
        TrackModel album(TrackModel::Layout::Album);
        QCOMPARE(album.columnCount(), 14);
        QCOMPARE(album.headerData(0, Qt::Horizontal).toString(), u("曲名"));
        QCOMPARE(album.headerData(12, Qt::Horizontal).toString(), u("ファイルパス"));
        QCOMPARE(album.headerData(13, Qt::Horizontal).toString(), QString());
        QCOMPARE(album.fieldOfColumn(5), TrackField::Time);

        TrackModel legacy(TrackModel::Layout::Legacy);
        QStringList heads;
        for (int c = 0; c < legacy.columnCount(); ++c)
            heads.append(legacy.headerData(c, Qt::Horizontal).toString());
        QCOMPARE(heads, (QStringList{u("曲名"), u("アーティスト"), u("コメント"), u("サイズ"), u("ファイルパス")}));

        TrackRecord t = row(u("t"), u("4000000"));
        t[TrackField::Time] = u("4分10秒");
        t[TrackField::Comment] = u("c");
        t.lyrics = LyricsState::Both;
        legacy.append(t);
        QCOMPARE(legacy.data(legacy.index(0, 2)).toString(), u("c"));
        QCOMPARE(legacy.data(legacy.index(0, 3)).toString(), u("4000000"));
        QCOMPARE(legacy.data(legacy.index(0, 3), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
                 Qt::AlignRight);
        QCOMPARE(legacy.data(legacy.index(0, 0), TrackModel::LyricsStateRole).toInt(), 2);
        QSignalSpy header(&legacy, &QAbstractItemModel::headerDataChanged);
        legacy.setSizeShownAsTime(true);
        QCOMPARE(header.count(), 1);
        QCOMPARE(legacy.headerData(3, Qt::Horizontal).toString(), u("時間"));
        QCOMPARE(legacy.data(legacy.index(0, 3)).toString(), u("4分10秒"));
    }

    void sortOrder_data()
    {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<int>("state");
        QTest::addColumn<QStringList>("expect");
        QTest::newRow("sizes compare as text")
            << QStringList{u("9000"), u("10000"), u("800")} << 1 << QStringList{u("10000"), u("800"), u("9000")};
        QTest::newRow("times compare as text")
            << QStringList{u("9分59秒"), u("10分00秒")} << 1 << QStringList{u("10分00秒"), u("9分59秒")};
        QTest::newRow("descending") << QStringList{u("b"), u("c"), u("a")} << -1 << QStringList{u("c"), u("b"), u("a")};
        QTest::newRow("case does not count, equal rows keep their order")
            << QStringList{u("b"), u("ABC"), u("abc"), u("Abc")} << 1
            << QStringList{u("ABC"), u("abc"), u("Abc"), u("b")};
        QTest::newRow("zero state leaves order") << QStringList{u("b"), u("a")} << 0 << QStringList{u("b"), u("a")};
    }
    void sortOrder()
    {
        QFETCH(QStringList, input);
        QFETCH(int, state);
        QFETCH(QStringList, expect);
        TrackModel m(TrackModel::Layout::Album);
        m.append(rows(input));
        m.sortByState(state);
        QCOMPARE(column(m, 0), expect);
        // Path moved with its row.
        for (int r = 0; r < m.rowCount(); ++r)
            QCOMPARE(m.track(r)[TrackField::Path], u("/m/") + expect[r] + u(".mp3"));
    }

    void sortStateToggles()
    {
        int state = 0;
        state = TrackModel::nextSortState(state, 0);
        QCOMPARE(state, 1);
        state = TrackModel::nextSortState(state, 0);
        QCOMPARE(state, -1);
        state = TrackModel::nextSortState(state, 0);
        QCOMPARE(state, 1);
        QCOMPARE(TrackModel::nextSortState(-1, 4), 5);
        QCOMPARE(TrackModel::nextSortState(5, 4), -5);
    }

    void sortKeepsSelectionOnTheSameTracks()
    {
        TrackModel m(TrackModel::Layout::Album);
        m.append(rows({u("d"), u("c"), u("b"), u("a")}));
        QItemSelectionModel sel(&m);
        sel.select(m.rowsSelection({0, 1}), QItemSelectionModel::Select); // d, c
        QSignalSpy layout(&m, &QAbstractItemModel::layoutChanged);
        m.sortByState(1);
        QCOMPARE(layout.count(), 1);
        QCOMPARE(TrackModel::selectedRows(sel.selection()), (QList<int>{2, 3}));
    }

    void selectionHelpers()
    {
        TrackModel m(TrackModel::Layout::Album);
        std::vector<TrackRecord> many(10);
        m.append(std::move(many));
        QItemSelectionModel sel(&m);

        // None selected: select-all then invert leaves none.
        m.selectAll(&sel);
        QCOMPARE(TrackModel::selectedRows(sel.selection()).size(), 10);
        QCOMPARE(sel.selection().size(), 1); // one range, not ten
        m.invertSelection(&sel);
        QVERIFY(!sel.hasSelection());

        sel.select(m.rowsSelection({0, 1, 4, 9}), QItemSelectionModel::ClearAndSelect);
        QCOMPARE(sel.selection().size(), 3);
        m.invertSelection(&sel);
        QCOMPARE(TrackModel::selectedRows(sel.selection()), (QList<int>{2, 3, 5, 6, 7, 8}));
        QCOMPARE(sel.selection().size(), 2);
        QVERIFY(sel.isRowSelected(2, {}));
        QVERIFY(sel.isColumnSelected(13, {}) == false);
        QVERIFY(sel.isSelected(m.index(3, 13)));
    }

    void rangedSignals()
    {
        TrackModel m(TrackModel::Layout::Album);
        QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&m, &QAbstractItemModel::rowsRemoved);
        QSignalSpy reset(&m, &QAbstractItemModel::modelReset);

        m.append(rows({u("a"), u("b"), u("c"), u("d"), u("e")}));
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.at(0).at(1).toInt(), 0);
        QCOMPARE(inserted.at(0).at(2).toInt(), 4);
        m.append(row(u("f")));
        QCOMPARE(inserted.at(1).at(1).toInt(), 5);
        QCOMPARE(inserted.at(1).at(2).toInt(), 5);

        // Rows 2 and 3 of the first five (b, c) plus f: two blocks, bottom first.
        QItemSelectionModel sel(&m);
        sel.select(m.rowsSelection({1, 2, 5}), QItemSelectionModel::Select);
        m.removeSelected(&sel);
        QCOMPARE(column(m, 0), (QStringList{u("a"), u("d"), u("e")}));
        QCOMPARE(removed.count(), 2);
        QCOMPARE(removed.at(0).at(1).toInt(), 5);
        QCOMPARE(removed.at(1).at(1).toInt(), 1);
        QCOMPARE(removed.at(1).at(2).toInt(), 2);
        QCOMPARE(reset.count(), 0);

        m.clear();
        QCOMPARE(removed.count(), 3);
        QCOMPARE(m.rowCount(), 0);
        m.setTracks(rows({u("x")}));
        QCOMPARE(reset.count(), 1);
    }

    void manyScatteredRemovals()
    {
        TrackModel m(TrackModel::Layout::Album);
        std::vector<TrackRecord> all;
        QList<int> odd;
        for (int i = 0; i < 2000; ++i) {
            all.push_back(row(QString::number(i)));
            if (i % 2)
                odd.append(i);
        }
        m.append(std::move(all));
        m.removeRowList(odd);
        QCOMPARE(m.rowCount(), 1000);
        QCOMPARE(m.track(999)[TrackField::Title], u("1998"));
    }

    void trackInfoLines()
    {
        TrackModel album(TrackModel::Layout::Album);
        TrackRecord t = row(u("Song"));
        t[TrackField::Soft] = u("enc");
        album.append(t);
        const QStringList lines = album.trackInfoLines(0);
        QCOMPARE(lines.size(), 15);
        QCOMPARE(lines.at(0), u("No Lyrics File"));
        QCOMPARE(lines.at(1), u(" "));
        QCOMPARE(lines.at(2), u("Title : Song"));
        QCOMPARE(lines.at(13), u("Soft : enc"));
        QCOMPARE(lines.at(14), u("Path : /m/Song.mp3"));
        QCOMPARE(album.trackInfoLines(1), (QStringList{u("No Lyrics File"), u(" ")}));

        TrackModel legacy(TrackModel::Layout::Legacy);
        t[TrackField::Time] = u("1分00秒");
        legacy.append(t);
        QCOMPARE(legacy.trackInfoLines(0).at(5), u("Size : "));
        legacy.setSizeShownAsTime(true);
        QCOMPARE(legacy.trackInfoLines(0).mid(2), (QStringList{u("Title : Song"), u("Artist : "), u("Comment : "),
                                                               u("Time : 1分00秒"), u("Path : /m/Song.mp3")}));
    }

    void pathRule()
    {
        TrackRecord t;
        t[TrackField::Path] = u("a/x.mp3");
        QCOMPARE(TrackModel::resolvedPath(t, u("/lib/index.ini")), u("/lib/a/x.mp3"));
        QCOMPARE(TrackModel::resolvedPath(t, QString()), u("a/x.mp3"));
        t[TrackField::Path] = u("/abs/x.mp3");
        QCOMPARE(TrackModel::resolvedPath(t, u("/lib/index.ini")), u("/abs/x.mp3"));
    }
};

QTEST_GUILESS_MAIN(TestTrackModel)
#include "test_trackmodel.moc"
