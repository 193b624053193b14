#include "config/settingsstore.h"
#include "library/ui/datselform.h"
#include "platform/profile.h"
#include "support/mainwindowfixture.h"
#include "support/scriptedprompts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

class TestDatSelForm : public QObject {
    Q_OBJECT
private:
    static QString u(const char *s) { return QString::fromUtf8(s); }

    struct Fixture {
        QTemporaryDir dir;
        QString index;
        ProfileFile profile{QString()};
        std::unique_ptr<SettingsStore> store; // over the same file as `profile`
        ScriptedPrompts prompts;
        QList<QStringList> launched;
        bool editorStarts = true;
        std::unique_ptr<TDataSelectF> form;

        explicit Fixture(const QByteArray &content)
        {
            index = dir.filePath(QStringLiteral("index.ini"));
            profile = ProfileFile(dir.filePath(QStringLiteral("Tunov.ini")));
            store = std::make_unique<SettingsStore>(profile.path(), nullptr, QString());
            QFile f(index);
            f.open(QIODevice::WriteOnly);
            f.write(content);
            f.close();
            form = std::make_unique<TDataSelectF>(prompts, *store, [this](const QString &editor, const QString &file) {
                launched.append(QStringList{editor, file});
                return editorStarts;
            });
            form->loadIndexFile(index);
        }
        QByteArray file() const
        {
            QFile f(index);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }
        QStringList listed() const
        {
            QStringList out;
            for (int i = 0; i < form->albumList()->count(); ++i)
                out.append(form->albumList()->item(i)->text());
            return out;
        }
        QTreeWidgetItem *folderItem(int number) const
        {
            QTreeWidgetItemIterator it(form->folderTree());
            for (; *it; ++it)
                if ((*it)->data(0, Qt::UserRole + 1).toInt() == number)
                    return *it;
            return nullptr;
        }
        void choose(int folder) { form->folderTree()->setCurrentItem(folderItem(folder)); }
        void trigger(const char *action) { form->findChild<QAction *>(QLatin1String(action))->trigger(); }
    };

    static void writeIndex(const Fixture &fx, const QByteArray &content)
    {
        QFile f(fx.index);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }

    static QByteArray sample()
    {
        return ";Tunovia  Index File\r\n;title=Jazz\r\n;;{ Rock\r\n\ta=C:\\x\\a.mdt\r\n\t;;{ "
               "Live\r\n\t\tb=b.mdt\r\n\t;;}\r\n"
               ";;}\r\nc=c.mdt\r\n";
    }

private slots:
    void treeListAndOk()
    {
        Fixture fx(sample());
        TDataSelectF &f = *fx.form;
        QCOMPARE(f.windowTitle(), u("Jazz"));
        QTreeWidget *tree = f.folderTree();
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem *root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), u("root"));
        QCOMPARE(root->child(0)->text(0), u("Rock"));
        QCOMPARE(root->child(0)->child(0)->text(0), u("Live"));
        QVERIFY(root->child(0)->isExpanded());
        QCOMPARE(fx.listed(), QStringList{u("c")});

        fx.choose(1);
        QCOMPARE(fx.listed(), QStringList{u("a")});
        QVERIFY(!f.okButton()->isEnabled());
        f.show();
        QTest::mouseClick(f.albumList()->viewport(), Qt::LeftButton, {},
                          f.albumList()->visualItemRect(f.albumList()->item(0)).center());
        QVERIFY(f.okButton()->isEnabled());
        fx.trigger("SubFolderMnu");
        QCOMPARE(fx.listed(), (QStringList{u("a"), u("b")}));
        QVERIFY(!f.okButton()->isEnabled());

        fx.choose(0);
        fx.trigger("SubFolderMnu");
        QCOMPARE(fx.listed(), (QStringList{u("c"), u("a"), u("b")}));
        fx.trigger("AllSelectMnu");
        const auto chosen = f.selectedAlbums();
        QCOMPARE(chosen.size(), size_t(3));
        QCOMPARE(chosen[1].path, u("C:\\x\\a.mdt"));
        fx.trigger("InvertSelectMnu");
        QVERIFY(f.selectedAlbums().empty());

        QTest::keyClick(&f, Qt::Key_Escape);
        QCOMPARE(f.result(), int(QDialog::Rejected));
        QCOMPARE(fx.profile.readInt(u("DataSelectWindow"), u("Width"), -1), f.width());
        QVERIFY(fx.profile.readInt(u("DataSelectWindow"), u("FolderHeight"), -1) > 0);
    }

    void sortOnePassMovesPaths()
    {
        Fixture fx("c=3.mdt\r\nb=2.mdt\r\na=1.mdt\r\n");
        fx.form->albumList()->item(0)->setSelected(true);
        fx.trigger("SortMnu");
        QCOMPARE(fx.listed(), (QStringList{u("b"), u("a"), u("c")}));
        // The picked album stays picked wherever it moved.
        QCOMPARE(fx.form->selectedAlbums().size(), size_t(1));
        QCOMPARE(fx.form->selectedAlbums().at(0).name, u("c"));
        QCOMPARE(fx.form->selectedAlbums().at(0).path, u("3.mdt"));
        fx.form->albumList()->clearSelection();
        fx.trigger("SortMnu");
        QCOMPARE(fx.listed(), (QStringList{u("a"), u("b"), u("c")}));
        fx.form->albumList()->item(2)->setSelected(true);
        QCOMPARE(fx.form->selectedAlbums().at(0).path, u("3.mdt"));
    }

    void dropAddsEntries()
    {
        Fixture fx(sample());
        // Root chosen: the entry goes in front of the header line.
        fx.prompts.answerText(u("a=b")); // refused
        fx.prompts.answer(QMessageBox::Ok);
        fx.prompts.answerText(QString()); // refused
        fx.prompts.answer(QMessageBox::Ok);
        fx.prompts.answerText(u("New"));
        fx.form->dropFiles({u("/music/new.mdt")});
        QVERIFY(fx.file().startsWith("New=/music/new.mdt\r\n;Tunovia  Index File\r\n"));
        const auto &asked = fx.prompts.asked();
        QCOMPARE(asked.size(), 5);
        QCOMPARE(asked[0].title, u("名称入力"));
        QCOMPARE(asked[0].text, u("new.mdt の名称を入力してください"));
        QCOMPARE(asked[0].initial, u("new.mdt"));
        QCOMPARE(asked[1].title, u("Tunovia エラー"));
        QCOMPARE(fx.listed(), (QStringList{u("New"), u("c")}));

        // Into a folder; a cancelled prompt stops, and what came before stays.
        fx.prompts.clear();
        fx.choose(2);
        fx.prompts.answerText(u("One"));
        fx.prompts.answerCancel();
        fx.form->dropFiles({u("/m/1.mdt"), u("/m/2.mdt"), u("/m/3.mdt")});
        QCOMPARE(fx.prompts.asked().size(), 2);
        QVERIFY(fx.file().contains("\t;;{ Live\r\n\t\tOne=/m/1.mdt\r\n\t\tb=b.mdt\r\n"));
        QVERIFY(!fx.file().contains("2.mdt"));
        // No temporary file is left behind.
        for (const QString &name : QDir(fx.dir.path()).entryList(QDir::Files | QDir::Hidden))
            QVERIFY2(name == u("index.ini") || name.startsWith(u("Tunov.ini")), qPrintable(name));
    }

    // Paths an entry line cannot carry are skipped with a message; the rest of the drop goes on.
    void dropSkipsPathsWithLineBreaksOrTabs()
    {
        Fixture fx(sample());
        fx.prompts.answer(QMessageBox::Ok);
        fx.prompts.answer(QMessageBox::Ok);
        fx.prompts.answerText(u("Good"));
        fx.form->dropFiles({u("/m/a\nb.mdt"), u("/m/a\tb.mdt"), u("/m/good.mdt")});
        const auto &asked = fx.prompts.asked();
        QCOMPARE(asked.size(), 3);
        QCOMPARE(asked[0].title, u("Tunovia エラー"));
        QCOMPARE(asked[0].text, u("改行やTABを含むパスはインデックスファイルに登録できません。\n/m/a\nb.mdt"));
        QCOMPARE(asked[2].title, u("名称入力"));
        QVERIFY(fx.file().startsWith("Good=/m/good.mdt\r\n;Tunovia  Index File\r\n"));
        QVERIFY(!fx.file().contains("a\tb"));
        QVERIFY(!fx.file().contains("b.mdt\r\n;Tunovia"));
    }

    void newFoldersGoFirst()
    {
        Fixture fx(sample());
        fx.choose(1);
        fx.prompts.answerText(u("First"));
        fx.trigger("NewFolderMnu");
        fx.choose(1);
        fx.prompts.answerText(u("Second"));
        fx.trigger("NewFolderMnu");
        QTreeWidgetItem *rock = fx.folderItem(1);
        QCOMPARE(rock->childCount(), 3);
        QCOMPARE(rock->child(0)->text(0), u("Second"));
        QCOMPARE(rock->child(1)->text(0), u("First"));
        QCOMPARE(rock->child(2)->text(0), u("Live"));
        QVERIFY(fx.file().contains(";;{ Rock\r\n\t;;{ Second\r\n\t;;}\r\n\t;;{ First\r\n\t;;}\r\n\ta="));

        fx.prompts.answerCancel();
        const QByteArray before = fx.file();
        fx.trigger("NewFolderMnu");
        QCOMPARE(fx.file(), before);
    }

    void newIndexFile()
    {
        Fixture fx(sample());
        const QString other = fx.dir.filePath(u("other.ini"));
        fx.prompts.answerText(other);
        fx.trigger("NewIndexMnu");
        QCOMPARE(fx.prompts.asked().at(0).title, u("インデックスファイルの新規作成"));
        QCOMPARE(fx.form->indexFilePath(), other);
        QCOMPARE(fx.form->folderTree()->topLevelItemCount(), 1);
        QCOMPARE(fx.form->folderTree()->topLevelItem(0)->childCount(), 0);
        QCOMPARE(fx.form->windowTitle(), u("アルバム選択"));
    }

    void textEditor()
    {
        Fixture fx(sample());
        fx.trigger("EditMnu");
        QCOMPARE(fx.prompts.asked().size(), 1);
        QCOMPARE(fx.prompts.asked()[0].text, u("テキストエディタのパスが設定されていません。"));
        QCOMPARE(fx.prompts.asked()[0].icon, Prompts::Icon::Error);
        QVERIFY(fx.launched.isEmpty());
        QVERIFY(fx.profile.writeString(u("Setting"), u("TextEditor"), u("/usr/bin/editor")).ok());
        fx.trigger("EditMnu");
        QCOMPARE(fx.launched, QList<QStringList>{(QStringList{u("/usr/bin/editor"), fx.index})});
        QCOMPARE(fx.prompts.asked().size(), 1);

        fx.editorStarts = false;
        fx.trigger("EditMnu");
        QCOMPARE(fx.prompts.asked().size(), 2);
        QCOMPARE(fx.prompts.asked()[1].title, u("Tunovia エラー"));
        QCOMPARE(fx.prompts.asked()[1].text, u("/usr/bin/editorを起動できませんでした。"));
        QCOMPARE(fx.prompts.asked()[1].icon, Prompts::Icon::Error);
    }

    void fontStyleSurvivesTheNextShowing()
    {
        Fixture fx(sample());
        QFont font(u("Sans"));
        font.setPointSize(14);
        font.setBold(true);
        fx.prompts.answerFont(font);
        fx.trigger("FontMnu");
        QVERIFY(fx.form->albumList()->font().bold());
        fx.prompts.answerColor(QColor(0x12, 0x34, 0x56));
        fx.trigger("BackColorMnu");
        QCOMPARE(fx.profile.readInt(u("DataSelectWindow"), u("BackColor"), 0), 0x563412);

        TDataSelectF again(fx.prompts, *fx.store, {});
        QVERIFY(again.albumList()->font().bold());
        QVERIFY(!again.albumList()->font().italic());
        QCOMPARE(again.albumList()->font().pointSize(), 14);
        QCOMPARE(again.folderTree()->palette().color(QPalette::Base), QColor(0x12, 0x34, 0x56));
    }

    void deepAndBrokenIndexFiles()
    {
        QByteArray deep = ";;}\r\n";
        for (int i = 0; i < 10000; ++i)
            deep += ";;{ f\r\n";
        deep += "x=y.mdt";
        Fixture fx(deep);
        QCOMPARE(fx.form->tree().folders.size(), size_t(10001));
        fx.choose(10000);
        QCOMPARE(fx.listed(), QStringList{u("x")});

        // A folder given as the index file reads as an empty tree.
        QVERIFY(!fx.form->loadIndexFile(fx.dir.path()));
        QCOMPARE(fx.form->folderTree()->topLevelItemCount(), 1);
        QCOMPARE(fx.listed(), QStringList{});
    }

    void reopensWhereItWasClosed()
    {
        Fixture fx(sample());
        fx.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
        fx.form->move(150, 160);
        fx.form->resize(400, 350);
        QTest::qWait(20);
        const QPoint where = fx.form->pos();
        const QSize size = fx.form->size();
        fx.form->done(QDialog::Rejected);
        TDataSelectF again(fx.prompts, *fx.store, {});
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.pos(), where);
        QCOMPARE(again.size(), size);
    }

    // The layout may need more than the design size; the centre is that of
    // the size the dialog really opens at.
    void opensCentredOnTheScreen()
    {
        Fixture fx(sample());
        fx.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(fx.form.get()));
        const QSize need = fx.form->minimumSizeHint();
        QCOMPARE(fx.form->size(), QSize(std::max(268, need.width()), std::max(303, need.height())));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        const QPoint off = fx.form->frameGeometry().center() - area.center();
        QVERIFY2(off.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(off.x()).arg(off.y())));
    }

    void storedForAScreenThatIsGone()
    {
        Fixture fx(sample());
        QVERIFY(fx.profile.writeInt(u("DataSelectWindow"), u("Left"), 4000).ok());
        QVERIFY(fx.profile.writeInt(u("DataSelectWindow"), u("Top"), 3000).ok());
        QVERIFY(fx.profile.writeInt(u("DataSelectWindow"), u("Width"), 400).ok());
        QVERIFY(fx.profile.writeInt(u("DataSelectWindow"), u("Height"), 350).ok());
        TDataSelectF again(fx.prompts, *fx.store, {});
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(again.frameGeometry()));
        QCOMPARE(again.size(), QSize(400, 350));
    }

    // A drop, a new folder or a reload re-reads the file; the next drop must
    // still land in the folder the user chose.
    void chosenFolderSurvivesChanges()
    {
        Fixture fx(sample());
        fx.choose(2); // Rock/Live
        fx.prompts.answerText(u("One"));
        fx.form->dropFiles({u("/m/1.mdt")});
        QCOMPARE(fx.form->selectedFolder(), 2);
        QCOMPARE(fx.listed(), (QStringList{u("One"), u("b")}));
        fx.prompts.answerText(u("Inner"));
        fx.trigger("NewFolderMnu");
        QCOMPARE(fx.form->folderTree()->currentItem()->text(0), u("Live"));
        fx.prompts.answerText(u("Two"));
        fx.form->dropFiles({u("/m/2.mdt")});
        QVERIFY(fx.file().contains("\t;;{ Live\r\n\t\tTwo=/m/2.mdt\r\n\t\t;;{ Inner\r\n"));

        // Edited outside: a folder in front of it changes its number, not the choice.
        QByteArray edited = fx.file();
        edited.replace(";;{ Rock\r\n", ";;{ Pop\r\n;;}\r\n;;{ Rock\r\n");
        writeIndex(fx, edited);
        fx.trigger("ReloadMnu");
        QCOMPARE(fx.form->selectedFolder(), 3);
        QCOMPARE(fx.form->folderTree()->currentItem()->text(0), u("Live"));
        QCOMPARE(fx.listed(), (QStringList{u("Two"), u("One"), u("b")}));
        QVERIFY(!fx.form->okButton()->isEnabled());

        // Gone from the file: back at the root.
        writeIndex(fx, ";;{ Pop\r\n;;}\r\nc=c.mdt\r\n");
        fx.trigger("ReloadMnu");
        QCOMPARE(fx.form->selectedFolder(), 0);
        QCOMPARE(fx.listed(), QStringList{u("c")});
    }

    void folderHeightComesBack_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<int>("folderHeight");
        QTest::newRow("default") << QByteArray() << 106;
        QTest::newRow("stored") << QByteArray("[DataSelectWindow]\r\nHeight=400\r\nFolderHeight=180\r\n") << 180;
        QTest::newRow("stored, default size") << QByteArray("[DataSelectWindow]\r\nFolderHeight=60\r\n") << 60;
        // Past the bottom: the album pane keeps its 50 pixels.
        QTest::newRow("too low") << QByteArray("[DataSelectWindow]\r\nFolderHeight=5000\r\n") << -1;
    }
    void folderHeightComesBack()
    {
        QFETCH(QByteArray, settings);
        QFETCH(int, folderHeight);
        Fixture fx(sample());
        {
            QFile f(fx.dir.filePath(u("Tunov.ini")));
            f.open(QIODevice::WriteOnly);
            f.write(settings);
        }
        if (folderHeight > 0) {
            // Closed before it was ever shown: the stored boundary is kept.
            TDataSelectF unseen(fx.prompts, *fx.store, {});
            unseen.done(QDialog::Rejected);
            QCOMPARE(fx.profile.readInt(u("DataSelectWindow"), u("FolderHeight"), -1), folderHeight);
        }
        TDataSelectF again(fx.prompts, *fx.store, {});
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QVERIFY(again.splitter()->sizes().value(1) >= 50);
        if (folderHeight < 0)
            return;
        QCOMPARE(again.splitter()->sizes().value(0), folderHeight);
        again.done(QDialog::Rejected);
        QCOMPARE(fx.profile.readInt(u("DataSelectWindow"), u("FolderHeight"), -1), folderHeight);
    }

    // A new index file made in the dialog is the current one at once, even
    // when the dialog is then cancelled.
    void newIndexFileStaysCurrentAfterCancel()
    {
        MainWindowFixture mw(QStringLiteral("Tunov.ini"), QString());
        const QString first = mw.path(u("first.ini"));
        const QString made = mw.path(u("made.ini"));
        writeFile(first, "x=x.mdt\r\n");
        TTunoviaF &w = mw.makeWindow();
        w.setCurrentIndexPath(first);
        QStringList opened;
        QTimer timer;
        timer.setInterval(20);
        connect(&timer, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<TDataSelectF *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            timer.stop();
            opened.append(dialog->indexFilePath());
            if (opened.size() == 1) {
                mw.m_prompts.answerText(made);
                dialog->findChild<QAction *>(u("NewIndexMnu"))->trigger();
            }
            dialog->reject();
        });
        timer.start();
        w.FormShow();
        QCOMPARE(w.currentIndexPath(), made);
        timer.start();
        w.DataOpenMnuClick();
        QCOMPARE(opened, (QStringList{first, made}));
    }

    // Both ways of making an index file name the file that could not be made.
    void newIndexFileThatCannotBeMade()
    {
        MainWindowFixture mw(QStringLiteral("Tunov.ini"), QString());
        const QString first = mw.path(u("first.ini"));
        const QString bad = mw.path(u("no/such/new.ini"));
        writeFile(first, "x=x.mdt\r\n");
        TTunoviaF &w = mw.makeWindow();
        w.setCurrentIndexPath(first);
        mw.m_prompts.answerText(bad);
        mw.m_prompts.answer(QMessageBox::Ok);
        w.MakeGroupMnuClick();
        QCOMPARE(w.currentIndexPath(), first);

        Fixture fx(sample());
        fx.prompts.answerText(bad);
        fx.prompts.answer(QMessageBox::Ok);
        fx.trigger("NewIndexMnu");
        QCOMPARE(fx.form->indexFilePath(), fx.index);

        for (const ScriptedPrompts *p : {&mw.m_prompts, &fx.prompts}) {
            QCOMPARE(p->asked().size(), 2);
            QCOMPARE(p->asked()[1].title, u("Tunovia エラー"));
            QVERIFY2(p->asked()[1].text.startsWith(u("インデックスファイルを作成できませんでした。\n") + bad + u("\n")),
                     qPrintable(p->asked()[1].text));
        }
    }

    // A folder where the settings file should be fails every write alike:
    // the dialog says so once, not at every close nor once per key.
    void failedSettingsWritesAreToldOnce()
    {
        Fixture fx(sample());
        const QString bad = fx.dir.filePath(u("bad.ini"));
        QVERIFY(QDir().mkpath(bad));
        SettingsStore store(bad, nullptr, QString());
        for (int i = 0; i < 2; ++i) {
            TDataSelectF dialog(fx.prompts, store, {});
            dialog.reject();
        }
        QCOMPARE(fx.prompts.asked().size(), 1);
        QVERIFY(fx.prompts.asked()[0].text.startsWith(u("設定ファイルに書き込めませんでした。\n") + bad + u'\n'));
        QCOMPARE(fx.prompts.asked()[0].icon, Prompts::Icon::Error);
    }

    void okReturnsSelection()
    {
        Fixture fx(sample());
        fx.form->show();
        fx.form->albumList()->item(0)->setSelected(true);
        fx.trigger("LoadMnu");
        QCOMPARE(fx.form->result(), int(QDialog::Accepted));
        QCOMPARE(fx.form->selectedAlbums().at(0).name, u("c"));
    }
};

QTEST_MAIN(TestDatSelForm)
#include "test_datselform.moc"
