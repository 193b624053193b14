#include "platform/fakemediadevice.h"
#include "platform/joystick.h"
#include "playback/builtinplayer.h"
#include "support/mainwindowfixture.h"
#include "tracks/trackmodel.h"

#include <QItemSelectionModel>
#include <QTest>
#include <QTreeView>
#include <SDL.h>
#include <memory>

namespace {

JoystickState state(int x, int y, std::array<bool, 4> buttons = {})
{
    JoystickState s;
    s.x = x;
    s.y = y;
    s.buttons = buttons;
    return s;
}

class FakeJoystick final : public Joystick {
public:
    std::optional<JoystickState> next;
    int reads = 0;
    std::optional<JoystickState> read() override
    {
        ++reads;
        return next;
    }
};

} // namespace

Q_DECLARE_METATYPE(JoystickState)

class TestJoypad : public QObject, public MainWindowFixture {
    Q_OBJECT

public:
    TestJoypad() : MainWindowFixture(QStringLiteral("Tunov.ini"), QString()) {}

private:
    std::shared_ptr<FakeJoystick> m_pad;

    // A window with three tracks, bindings that select all (8) or invert (9).
    TTunoviaF &makeWindow()
    {
        MainWindowFixture::makeWindow();
        for (int i = 0; i < 3; ++i) {
            TrackRecord t;
            t[TrackField::Title] = QStringLiteral("t%1").arg(i);
            m_window->model()->append(t);
        }
        m_pad = std::make_shared<FakeJoystick>();
        m_window->setJoystick(m_pad);
        m_window->connectJoypad();
        m_window->connectJoypad(); // a second call must not double the ticks
        return *m_window;
    }

    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (const QModelIndex &i : m_window->listView2()->selectionModel()->selectedRows())
            rows << i.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    void selectRow(int row)
    {
        QTreeView *v = m_window->listView2();
        v->selectionModel()->select(v->model()->index(row, 0),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    void tick() { QVERIFY(QMetaObject::invokeMethod(&m_window->joyTimer(), "timeout")); }

    // One tick with button 1 held; while a box is up the timer ticks three
    // more times, as it would in a real box's event loop.
    void holdButtonOneWhileBoxesShow()
    {
        m_pad->next = state(32768, 32768, {true, false, false, false});
        m_prompts.clear();
        int nested = 0;
        m_prompts.whileAsking = [&] {
            if (++nested < 4)
                tick();
        };
        tick();
        m_prompts.whileAsking = nullptr;
    }

private slots:
    void cleanup()
    {
        m_window.reset();
        m_pad.reset();
        m_prompts.clear();
    }

    void bindingForPosition_data()
    {
        QTest::addColumn<JoystickState>("pad");
        QTest::addColumn<QString>("minText");
        QTest::addColumn<QString>("maxText");
        QTest::addColumn<int>("binding");
        const QString mn = QStringLiteral("10000"), mx = QStringLiteral("50000");
        QTest::newRow("centre") << state(32768, 32768) << mn << mx << 0;
        QTest::newRow("button 1 and 3") << state(32768, 32768, {true, false, true, false}) << mn << mx << 5;
        QTest::newRow("button 4") << state(32768, 32768, {false, false, false, true}) << mn << mx << 8;
        QTest::newRow("button beats stick") << state(0, 0, {false, true, false, false}) << mn << mx << 6;
        QTest::newRow("left and up") << state(0, 0) << mn << mx << 3;
        QTest::newRow("right and down") << state(65535, 65535) << mn << mx << 4;
        QTest::newRow("up") << state(32768, 0) << mn << mx << 1;
        QTest::newRow("down") << state(32768, 65535) << mn << mx << 2;
        QTest::newRow("x at min") << state(10000, 32768) << mn << mx << 3;
        QTest::newRow("x above min") << state(10001, 32768) << mn << mx << 0;
        QTest::newRow("x at max") << state(50000, 32768) << mn << mx << 4;
        QTest::newRow("x below max") << state(49999, 32768) << mn << mx << 0;
        QTest::newRow("y at min") << state(32768, 10000) << mn << mx << 1;
        QTest::newRow("y at max") << state(32768, 50000) << mn << mx << 2;
        QTest::newRow("min not a number") << state(10000, 32768) << QStringLiteral("abc") << mx << 3;
        QTest::newRow("min empty") << state(10000, 32768) << QString() << mx << 3;
        QTest::newRow("min beyond int") << state(10000, 32768) << QStringLiteral("99999999999") << mx << 3;
        QTest::newRow("max not a number") << state(50000, 32768) << mn << QStringLiteral("5e4") << 4;
        QTest::newRow("min negative") << state(0, 0) << QStringLiteral("-5") << mx << 0;
        QTest::newRow("max above the range") << state(65535, 65535) << mn << QStringLiteral("70000") << 0;
        QTest::newRow("min raised") << state(20000, 32768) << QStringLiteral(" 20000 ") << mx << 3;
        QTest::newRow("max lowered") << state(40000, 32768) << mn << QStringLiteral("40000") << 4;
        QTest::newRow("min above max") << state(32768, 32768) << QStringLiteral("60000") << mx << 3;
    }

    void bindingForPosition()
    {
        QFETCH(JoystickState, pad);
        QFETCH(QString, minText);
        QFETCH(QString, maxText);
        QFETCH(int, binding);
        QCOMPARE(joypad::bindingFor(pad, minText, maxText), binding);
    }

    void ticksRunTheBoundAction()
    {
        TTunoviaF &w = makeWindow();
        w.dialogSettings().joyBindings = {8, 0, 9, 0, 8, 0, 9, 0};

        // Buttons 1 and 3: only button 1's "select all" runs (invert after it would empty).
        m_pad->next = state(32768, 32768, {true, false, true, false});
        tick();
        QCOMPARE(selectedRows(), (QList<int>{0, 1, 2}));

        // Left and up: only left's "invert" runs (select all after it would give all three).
        selectRow(0);
        m_pad->next = state(0, 0);
        tick();
        QCOMPARE(selectedRows(), (QList<int>{1, 2}));

        // Held down, it fires again on the next tick.
        tick();
        QCOMPARE(selectedRows(), (QList<int>{0}));
        QCOMPARE(m_pad->reads, 3);
    }

    void heldButtonDoesNotStackMessageBoxes()
    {
        // Previous on the built-in player over entries that cannot be opened:
        // each failure puts up a box, and a real box's event loop lets the
        // joypad timer tick again while it is up.
        TTunoviaF &w = makeWindow();
        w.setMediaDevice(std::make_unique<FakeMediaDevice>(true));
        w.dialogSettings().player.checked = 2; // built-in
        w.applySettings();
        const QStringList files{path(QStringLiteral("good.mp3")), path(QStringLiteral("x.bad")),
                                path(QStringLiteral("y.bad"))};
        for (const QString &f : files)
            writeFile(f, QByteArray(32000, '\0'));
        w.builtinHandOver(files);
        w.MciTimerTimer();
        QVERIFY(w.builtinPlayer()->isStarted());

        w.dialogSettings().joyBindings = {0, 0, 0, 0, 1, 0, 0, 0}; // button 1: previous
        holdButtonOneWhileBoxesShow();
        QCOMPARE(m_prompts.asked().size(), 1);
        QCOMPARE(w.builtinPlayer()->playlistPosition(), 2);

        // Once the box is closed, the button works again.
        tick();
        QCOMPARE(m_prompts.asked().size(), 2);
        QCOMPARE(w.builtinPlayer()->playlistPosition(), 1);
    }

    void heldHandOverButtonShowsOneMessage()
    {
        // No player path: the hand-over's error box is up while the held
        // button keeps ticking.
        TTunoviaF &w = makeWindow();
        w.dialogSettings().joyBindings = {0, 0, 0, 0, 6, 0, 0, 0}; // button 1: hand over
        holdButtonOneWhileBoxesShow();
        QCOMPARE(m_prompts.asked().size(), 1);
        QCOMPARE(m_prompts.asked().constFirst().text, QString::fromUtf8("Winampのパスを設定してください。"));
    }

    void thresholdsAreReadOnEveryTick()
    {
        TTunoviaF &w = makeWindow();
        w.dialogSettings().joyBindings = {0, 0, 9, 0, 0, 0, 0, 0};
        m_pad->next = state(15000, 32768);
        tick();
        QCOMPARE(selectedRows(), QList<int>{});
        w.dialogSettings().joyMin = QStringLiteral("15000");
        tick();
        QCOMPARE(selectedRows(), (QList<int>{0, 1, 2}));
    }

    void nothingHappensWithoutAJoystickOrAValidAction_data()
    {
        QTest::addColumn<bool>("attached");
        QTest::addColumn<int>("action");
        QTest::newRow("no joystick") << false << 9;
        QTest::newRow("unused") << true << 0;
        QTest::newRow("negative") << true << -1;
        QTest::newRow("one past the list") << true << 19;
        QTest::newRow("far out") << true << 250;
    }

    void nothingHappensWithoutAJoystickOrAValidAction()
    {
        QFETCH(bool, attached);
        QFETCH(int, action);
        TTunoviaF &w = makeWindow();
        w.dialogSettings().joyBindings.fill(action);
        if (attached)
            m_pad->next = state(0, 0, {true, true, true, true});
        selectRow(1);
        for (int i = 0; i < 3; ++i)
            tick();
        QCOMPARE(selectedRows(), QList<int>{1});
        QCOMPARE(m_prompts.asked().size(), 0);
    }

    void sdlJoystickMapsAxesAndFollowsHotPlug()
    {
        std::unique_ptr<Joystick> pad = createSdlJoystick();
        if (pad->read())
            QSKIP("a real joystick is attached");
        QVERIFY(SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0);
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
        QVERIFY2(index >= 0, SDL_GetError());
        SDL_Joystick *virtualPad = SDL_JoystickOpen(index);
        QVERIFY(virtualPad);

        // Plugged in while running: the next read finds it.
        SDL_JoystickSetVirtualAxis(virtualPad, 0, -32768);
        SDL_JoystickSetVirtualAxis(virtualPad, 1, 32767);
        SDL_JoystickSetVirtualButton(virtualPad, 0, 1);
        SDL_JoystickSetVirtualButton(virtualPad, 3, 1);
        auto s = pad->read();
        QVERIFY(s);
        QCOMPARE(s->x, 0);
        QCOMPARE(s->y, 65535);
        QCOMPARE(s->buttons, (std::array<bool, 4>{true, false, false, true}));

        SDL_JoystickSetVirtualAxis(virtualPad, 0, 0);
        SDL_JoystickSetVirtualButton(virtualPad, 0, 0);
        s = pad->read();
        QVERIFY(s);
        QCOMPARE(s->x, 32768);
        QVERIFY(!s->buttons[0]);

        SDL_JoystickClose(virtualPad);
        SDL_JoystickDetachVirtual(index);
        QVERIFY(!pad->read());
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
};

QTEST_MAIN(TestJoypad)
#include "test_joypad.moc"
