// Dropping a tree of 10,000 MP3 files (500 folders) onto the main window,
// against a minimal scan of the same tree (enumerate, stat, read the last
// 128 bytes). Warm cache; the median of three runs of each.
#include "app/ui/mainform.h"
#include "config/settingsstore.h"
#include "support/fakelauncher.h"
#include "support/scriptedprompts.h"
#include "tracks/id3v1.h"
#include "tracks/trackfiles.h"
#include "tracks/trackmodel.h"
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_RUNTIME_DIR", dir.path().toUtf8());
    qputenv("TUNOVIA_PROGRAM_DIR", dir.path().toUtf8());
    const QString root = dir.filePath(QStringLiteral("tree"));
    for (int f = 0; f < 500; ++f) {
        const QString folder = root + QStringLiteral("/artist%1/album%2").arg(f / 20).arg(f);
        QDir().mkpath(folder);
        for (int t = 0; t < 20; ++t) {
            QFile file(folder + QStringLiteral("/%1 track.mp3").arg(t, 2, 10, QLatin1Char('0')));
            file.open(QIODevice::WriteOnly);
            file.resize(3000000 + t * 1000);
            file.seek(file.size());
            id3v1::TagFields tag;
            tag.title = t % 3 ? QStringLiteral("Title %1").arg(t) : QString::fromUtf8("曲 %1").arg(t);
            tag.artist = QStringLiteral("Artist");
            file.write(id3v1::encodeTag(tag));
        }
    }
    // Minimal scan: enumerate, stat, read the last 128 bytes.
    auto minimal = [&] {
        QElapsedTimer t;
        t.start();
        int n = 0;
        QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
        char buf[128];
        while (it.hasNext()) {
            const QByteArray p = QFile::encodeName(it.next());
            struct stat st;
            if (stat(p.constData(), &st) != 0)
                continue;
            int fd = open(p.constData(), O_RDONLY);
            if (fd < 0)
                continue;
            if (pread(fd, buf, 128, st.st_size - 128) == 128)
                ++n;
            close(fd);
        }
        return std::pair<qint64, int>(t.elapsed(), n);
    };
    auto median = [](std::vector<qint64> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    minimal(); // warm the cache
    std::vector<qint64> minimalTimes;
    int files = 0;
    for (int i = 0; i < 3; ++i) {
        auto [ms, n] = minimal();
        minimalTimes.push_back(ms);
        files = n;
    }
    {
        QElapsedTimer s;
        s.start();
        auto rows = trackfiles::AddFolder(root + QStringLiteral("/*.*"), GenreTable());
        const qint64 scan = s.elapsed();
        LyricsProbe probe;
        for (auto &r : rows)
            r.lyrics = probe.stateFor(r[TrackField::Path]);
        std::printf("AddFolder alone: %lld ms; with the lyrics look-up: %lld ms\n", scan, s.elapsed());
    }
    ScriptedPrompts prompts;
    FakeLauncher launcher;
    SettingsStore store(dir.filePath(QStringLiteral("Tunov.ini")), nullptr, dir.path() + QStringLiteral("/"));
    TTunoviaF w(MainServices{prompts, launcher, store});
    w.show();
    app.processEvents();
    std::vector<qint64> dropTimes;
    int rows = 0;
    for (int i = 0; i < 3; ++i) {
        w.KC1Click();
        app.processEvents();
        prompts.answer(QMessageBox::Yes); // search subfolders
        QElapsedTimer t;
        t.start();
        w.addDroppedPaths({root});
        app.processEvents(); // the rows are painted
        dropTimes.push_back(t.elapsed());
        rows = w.model()->size();
    }
    const qint64 minimalMs = median(minimalTimes);
    const qint64 dropMs = median(dropTimes);
    std::printf(
        "minimal scan: %lld ms for %d files\ndrop onto the window: %lld ms for %d rows (%.2fx the minimal scan)\n",
        minimalMs, files, dropMs, rows, minimalMs > 0 ? double(dropMs) / double(minimalMs) : 0.0);
    return 0;
}
