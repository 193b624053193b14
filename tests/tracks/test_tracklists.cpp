// The two track lists behind the main window: the shared sort state, totals
// over both layouts and the selection commands.
#include "tracks/tracklists.h"

#include <QItemSelectionModel>
#include <QTest>

namespace {

QString u(const char *s) { return QString::fromUtf8(s); }

TrackRecord row(const QString &title, const QString &time = {}, const QString &size = {})
{
    TrackRecord t;
    t[TrackField::Title] = title;
    t[TrackField::Time] = time;
    t[TrackField::Size] = size;
    t[TrackField::Path] = title + u(".mp3");
    return t;
}

QStringList titles(const TrackModel &m)
{
    QStringList out;
    for (int r = 0; r < m.size(); ++r)
        out << m.track(r)[TrackField::Title];
    return out;
}

} // namespace

class TestTrackLists : public QObject {
    Q_OBJECT

    TrackModel m_legacy{TrackModel::Layout::Legacy};
    TrackModel m_album{TrackModel::Layout::Album};
    QItemSelectionModel m_legacySel{&m_legacy};
    QItemSelectionModel m_albumSel{&m_album};
    TrackLists lists() { return TrackLists(&m_legacy, &m_legacySel, &m_album, &m_albumSel); }

private slots:
    void init()
    {
        m_legacy.setTracks({row(u("b")), row(u("c")), row(u("a"))});
        m_album.setTracks({row(u("y")), row(u("x")), row(u("z"))});
    }

    void oneSortStateServesBothLists()
    {
        TrackLists lists = this->lists();
        lists.columnClicked(0);
        QCOMPARE(titles(m_album), (QStringList{u("x"), u("y"), u("z")}));
        lists.columnClicked(0); // the same column again turns the direction
        QCOMPARE(titles(m_album), (QStringList{u("z"), u("y"), u("x")}));
        QCOMPARE(lists.sortState(), -1);

        // The other list takes the state on: its first click sorts ascending.
        lists.setLegacyCurrent(true);
        lists.columnClicked(0);
        QCOMPARE(titles(m_legacy), (QStringList{u("a"), u("b"), u("c")}));
        QCOMPARE(titles(m_album), (QStringList{u("z"), u("y"), u("x")})); // untouched
        lists.columnClicked(1);
        QCOMPARE(lists.sortState(), 2);
        lists.columnClicked(0);
        QCOMPARE(lists.sortState(), 1); // another column in between starts ascending again
    }

    void totalsReadEachLayoutsOwnFields()
    {
        TrackLists lists = this->lists();
        m_album.setTracks({row(u("a"), u("1分30秒"), u("2K")), row(u("b"), u("?"), u("junk")),
                           row(u("c"), u("2分5秒"), u("1000")), row(u("d"), u("9分"), u("9M"))});
        Totals t = lists.totals({0, 1, 2}, false);
        QCOMPARE(t.seconds, qint64(215));
        QCOMPARE(t.bytes, qint64(0));
        QCOMPARE(lists.totals({0, 1, 2}, true).bytes, qint64(2048 + 1000));

        // The five-column list reads its サイズ column, a time when sizes are shown as times.
        m_legacy.setTracks({row(u("a"), u("1分0秒"), u("3000")), row(u("b"), u("0分30秒"), u("1K"))});
        lists.setLegacyCurrent(true);
        QCOMPARE(lists.totals({0, 1}, true).bytes, qint64(3000 + 1024));
        m_legacy.setSizeShownAsTime(true);
        QCOMPARE(lists.totals({0, 1}, false).seconds, qint64(90));
        QCOMPARE(lists.totals({}, false).seconds, qint64(0));

        QVERIFY(!lists.totalPanel(0, {0, 1})); // format 0 shows nothing
        QVERIFY(!lists.totalPanel(findtotals::kTotalPanelFormats, {0}));
        QCOMPARE(lists.totalPanel(1, {0, 1})->text, findtotals::totalPanelText(1, 90, 0)->text);
    }

    void commandsActOnTheCurrentList()
    {
        TrackLists lists = this->lists();
        lists.selectRows({1});
        lists.invertSelection();
        QCOMPARE(lists.selectedRows(), (QList<int>{0, 2}));
        lists.deleteSelected();
        QCOMPARE(titles(m_album), QStringList{u("x")});
        QVERIFY(!m_albumSel.hasSelection());
        QCOMPARE(lists.detailColumns().size(), 13); // all but the name (and the empty column)

        lists.setLegacyCurrent(true);
        QCOMPARE(lists.detailColumns(), (QList<int>{1, 2, 3, 4}));
        lists.selectAll();
        QCOMPARE(lists.selectedRows(), (QList<int>{0, 1, 2}));
        QVERIFY(!m_albumSel.hasSelection());
        QCOMPARE(lists.resolvedPaths({2}, u("/idx/index.ini")), QStringList{u("/idx/a.mp3")});
        lists.clearSelection();
        QVERIFY(lists.selectedRows().isEmpty());
        lists.clearList();
        QCOMPARE(m_legacy.size(), 0);
        QCOMPARE(m_album.size(), 1);
    }

    void findKeepsTheSelectionAndAlbumFileRowsFollowIt()
    {
        TrackLists lists = this->lists();
        findtotals::FindBoxes boxes{};
        boxes[0] = true;
        QCOMPARE(lists.findRows({0}, u("Z"), boxes), (QList<int>{0, 2}));
        QCOMPARE(lists.findRows({}, u("nothing"), boxes), QList<int>{});

        lists.setLegacyCurrent(true); // the album file always takes the album list
        QCOMPARE(lists.albumFileRows({2}, true).size(), size_t(1));
        QCOMPARE(lists.albumFileRows({2}, true)[0][TrackField::Title], u("z"));
        QCOMPARE(lists.albumFileRows({2}, false).size(), size_t(3));
    }
};

QTEST_GUILESS_MAIN(TestTrackLists)
#include "test_tracklists.moc"
