// Library speed: a generated 100,000-track album and a 10,000-entry index.
// Run from a release build: bench_library [tracks]
#include "config/settingsstore.h"
#include "library/albumfile.h"
#include "library/indexfile.h"
#include "library/textlines.h"
#include "library/ui/datselform.h"
#include "platform/textcodec.h"
#include "platform/ui/prompts.h"
#include "tracks/trackmodel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeView>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

namespace {

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long currentRssKb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// Written in chunks so that generating the file does not raise the peak.
void writeAlbum(QFile &file, int tracks)
{
    const QStringList titles = {QStringLiteral("夜明けのメロディ"), QStringLiteral("Summer Breeze"),
                                QStringLiteral("桜の季節"),         QStringLiteral("Midnight Train"),
                                QStringLiteral("風の歌"),           QStringLiteral("Blue Horizon")};
    QString all;
    for (int i = 0; i < tracks; ++i) {
        if (i % 1000 == 0) {
            file.write(text::toCp932(all));
            all.clear();
        }
        TrackRecord t;
        const QString folder = QStringLiteral("/srv/music/アーティスト%1/アルバム%2/").arg(i % 997).arg(i % 31);
        t[TrackField::Path] =
            folder + QStringLiteral("%1 トラック番号%2.mp3").arg(i % 20 + 1, 2, 10, QLatin1Char('0')).arg(i);
        t[TrackField::Title] = titles[i % titles.size()] + QStringLiteral(" %1").arg((i * 7919) % 100000);
        t[TrackField::Artist] = QStringLiteral("アーティスト%1").arg(i % 997);
        t[TrackField::Album] = QStringLiteral("アルバム タイトル%1").arg(i % 31);
        t[TrackField::Comment] = QStringLiteral("ripped from CD, track %1").arg(i % 20 + 1);
        t[TrackField::Genre] = QStringLiteral("J-Pop");
        t[TrackField::Date] = QStringLiteral("%1").arg(1980 + i % 40);
        t[TrackField::Copyright] = QStringLiteral("(C) Label Records");
        t[TrackField::Engineer] = QStringLiteral("Engineer Name");
        t[TrackField::Source] = QStringLiteral("CD");
        t[TrackField::Soft] = QStringLiteral("Encoder 1.0");
        t[TrackField::Size] = QString::number(3000000 + (i * 7877) % 5000000);
        all += album::albumLine(t);
    }
    file.write(text::toCp932(all));
}

QByteArray makeIndex(int entries, int folders)
{
    QByteArray out = indexfile::newFileContent() + ";title=Bench\r\n";
    const int perFolder = entries / folders;
    int entry = 0;
    // Groups of five: one top folder with four nested below it.
    for (int f = 0; f < folders; ++f) {
        const int level = f % 5;
        out += QByteArray(level, '\t') + ";;{ Folder " + QByteArray::number(f) + "\r\n";
        for (int e = 0; e < perFolder; ++e, ++entry)
            out += QByteArray(level + 1, '\t') + "Album " + QByteArray::number(entry) + "=albums/a" +
                   QByteArray::number(entry) + ".mdt\r\n";
        if (level == 4)
            for (int l = 4; l >= 0; --l)
                out += QByteArray(l, '\t') + ";;}\r\n";
    }
    return out;
}

// What any reader has to do at least: read, split into lines and fields, decode.
qsizetype minimalParse(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QString text = text::decode(f.readAll());
    std::vector<std::array<QString, 13>> rows;
    textlines::forEachLine(text, [&](QStringView line) {
        std::array<QString, 13> fields;
        qsizetype pos = 1;
        for (int i = 0; i < 13; ++i) {
            const qsizetype end = line.indexOf(QLatin1String("\",\""), pos);
            fields[size_t(i)] = (end < 0 ? line.sliced(pos) : line.sliced(pos, end - pos)).toString();
            if (end < 0)
                break;
            pos = end + 3;
        }
        rows.push_back(std::move(fields));
    });
    return qsizetype(rows.size());
}

// Wall and CPU time: on a busy shared machine the CPU time tells what the
// code costs, the wall time what a user on that machine would wait.
struct Lap {
    qint64 wall;
    qint64 cpu;
};
qint64 cpuNow()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
class Stopwatch {
public:
    void restart()
    {
        m_wall.restart();
        m_cpu = cpuNow();
    }
    Lap nsecsElapsed() const { return {m_wall.nsecsElapsed(), cpuNow() - m_cpu}; }

private:
    QElapsedTimer m_wall;
    qint64 m_cpu = 0;
};

void report(QTextStream &out, const char *what, Lap lap, const QString &extra = {})
{
    out << QString::asprintf("%-44s %9.1f ms wall %9.1f ms cpu", what, double(lap.wall) / 1e6, double(lap.cpu) / 1e6)
        << extra << Qt::endl;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const int trackCount = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;

    QTemporaryDir dir;
    const QString albumPath = dir.filePath(QStringLiteral("bench.mdt"));
    const QString indexPath = dir.filePath(QStringLiteral("bench.ini"));
    {
        QFile a(albumPath);
        a.open(QIODevice::WriteOnly);
        writeAlbum(a, trackCount);
        QFile i(indexPath);
        i.open(QIODevice::WriteOnly);
        i.write(makeIndex(10000, 500));
    }
    out << "album file: " << trackCount << " tracks, " << QFileInfo(albumPath).size()
        << " bytes; index file: " << QFileInfo(indexPath).size() << " bytes" << Qt::endl;

    Stopwatch timer;
    timer.restart();
    {
        // Warm the page cache.
        QFile warm(albumPath);
        warm.open(QIODevice::ReadOnly);
        warm.readAll();
    }

    TrackModel model(TrackModel::Layout::Album);
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setRootIsDecorated(false);
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setModel(&model);
    view.resize(1000, 700);
    view.show();
    QCoreApplication::processEvents();
    const long rssEmptyKb = currentRssKb();

    timer.restart();
    LyricsProbe probe(dir.filePath(QStringLiteral("lyrics")));
    album::AlbumRead read = album::readAlbumFile(albumPath, &probe);
    const Lap parseNs = timer.nsecsElapsed();
    view.setUpdatesEnabled(false);
    model.append(std::move(read.tracks));
    view.setUpdatesEnabled(true);
    const Lap modelNs = timer.nsecsElapsed();
    view.viewport()->repaint();
    QCoreApplication::processEvents();
    const Lap paintNs = timer.nsecsElapsed();
    report(out, "album file -> records (with lyrics look-up)", parseNs);
    report(out, "  + into the model", modelNs);
    report(out, "  + first paint of the list view", paintNs);
    const long rssLoadedKb = currentRssKb();
    const long peakLoadedKb = peakRssKb();

    minimalParse(albumPath);
    timer.restart();
    const qsizetype minimalRows = minimalParse(albumPath);
    const Lap minimalNs = timer.nsecsElapsed();
    report(out, "minimal parse (read, split, decode)", minimalNs, QStringLiteral("  (%1 rows)").arg(minimalRows));
    out << QString::asprintf("load until painted / minimal parse (cpu): %.2f",
                             double(paintNs.cpu) / double(minimalNs.cpu))
        << Qt::endl;

    QItemSelectionModel *sel = view.selectionModel();
    timer.restart();
    model.sortByState(1);
    report(out, "sort by title, ascending", timer.nsecsElapsed());
    timer.restart();
    model.sortByState(-1);
    report(out, "sort by title, descending", timer.nsecsElapsed());
    timer.restart();
    model.sortByState(5);
    report(out, "sort by size (text), ascending", timer.nsecsElapsed());

    timer.restart();
    model.selectAll(sel);
    report(out, "select all", timer.nsecsElapsed());
    timer.restart();
    model.invertSelection(sel);
    report(out, "invert (all selected -> none)", timer.nsecsElapsed());
    timer.restart();
    model.invertSelection(sel);
    report(out, "invert (none -> all)", timer.nsecsElapsed());
    QList<int> scattered;
    for (int r = 0; r < model.rowCount(); r += 100)
        scattered.append(r);
    sel->select(model.rowsSelection(scattered), QItemSelectionModel::ClearAndSelect);
    timer.restart();
    model.invertSelection(sel);
    report(out, "invert (1,000 scattered rows selected)", timer.nsecsElapsed());
    timer.restart();
    model.sortByState(1);
    report(out, "sort by title with 99% of rows selected", timer.nsecsElapsed());
    timer.restart();
    model.removeSelected(sel);
    report(out, "remove the selected rows", timer.nsecsElapsed(), QStringLiteral("  (%1 left)").arg(model.rowCount()));

    static_cast<void>(indexfile::readFile(indexPath));
    timer.restart();
    const Result<indexfile::Tree> index = indexfile::readFile(indexPath);
    qsizetype entries = 0;
    for (const auto &f : index.value().folders)
        entries += qsizetype(f.entries.size());
    report(out, "index file read", timer.nsecsElapsed(),
           QStringLiteral("  (%1 folders, %2 entries)").arg(index.value().folders.size() - 1).arg(entries));

    {
        QtPrompts prompts;
        SettingsStore settings(dir.filePath(QStringLiteral("Tunov.ini")), nullptr, QString());
        TDataSelectF form(prompts, settings, {});
        timer.restart();
        form.loadIndexFile(indexPath);
        form.show();
        QCoreApplication::processEvents();
        report(out, "index file into the dialog, shown", timer.nsecsElapsed());
        form.hide();
    }

    out << "RSS with an empty list: " << rssEmptyKb / 1024 << " MB; with the tracks loaded: " << rssLoadedKb / 1024
        << " MB; " << (rssLoadedKb - rssEmptyKb) * 1024 / std::max(1, trackCount) << " bytes per track" << Qt::endl;
    out << "peak RSS with the tracks loaded: " << peakLoadedKb / 1024 << " MB; at the end: " << peakRssKb() / 1024
        << " MB" << Qt::endl;
    return 0;
}
