// The main window as it starts: layout, first state, the single copy, the error report, closing.

#include "desktop_settings.h"
#include "emulation.h"
#include "startup_error.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QSplitter>
#include <QTemporaryDir>

using namespace quorvale;
using namespace quorvale::testing;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void opensInAsciiToHexMode()
    {
        Window w;
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Quorvale - ASCII to HEX mode"));
        QCOMPARE(w.button("cmdCopy")->text(), QStringLiteral("&Copy HEX"));
        QVERIFY(!w.action("menuASCII")->isEnabled());
        QVERIFY(w.action("menuHEXto")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), w.text1());
        QCOMPARE(backColor(w.text1()), 16777215);
        QCOMPARE(foreColor(w.text1()), 0);
        QCOMPARE(backColor(w.text2()), 0);
        QCOMPARE(foreColor(w.text2()), 65280);
        QVERIFY(w.text1()->toPlainText().isEmpty());
        QVERIFY(w.text2()->toPlainText().isEmpty());
        QCOMPARE(w.text1()->hoverTip(),
                 QStringLiteral("Enter ASCII characters to be converted to HEX "));
        QVERIFY(w.platform.messages.isEmpty());
        QCOMPARE(w.platform.singleCopyClaims, 1);
    }

    void layoutIsFixed_data()
    {
        QTest::addColumn<qreal>("pointSize"); // of the desktop's default font; 0: as it is

        QTest::newRow("default font") << 0.0;
        QTest::newRow("the platform's standard font") << standardFontPointSize();
        QTest::newRow("14 pt") << 14.0;
        QTest::newRow("18 pt") << 18.0;
    }

    void layoutIsFixed()
    {
        QFETCH(qreal, pointSize);
        const DesktopSettings settings(Scheme::Light, pointSize);
        const qreal scale =
            std::max(1.0, QApplication::font().pointSizeF() / standardFontPointSize());
        // Drawn for the standard font; a larger one grows everything in proportion, give or take
        // the rounding of each edge.
        const auto near = [scale](const QRect &actual, const QRect &standard) {
            const QRectF grown(QPointF(standard.topLeft()) * scale,
                               QSizeF(standard.size()) * scale);
            return qAbs(actual.x() - grown.x()) <= 1 && qAbs(actual.y() - grown.y()) <= 1 &&
                   qAbs(actual.width() - grown.width()) <= 1 &&
                   qAbs(actual.height() - grown.height()) <= 1;
        };
        Window w;
        frmMain *m = w.window.get();
        QCOMPARE(m->minimumSize(), m->maximumSize());
        QVERIFY(!m->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(m->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QCOMPARE(m->centralWidget()->size(), QSize(qRound(328 * scale), qRound(176 * scale)));

        const QList<std::pair<QWidget *, QRect>> standard{
            {w.find<QSplitter>("Splitter1"), QRect(13, 5, 302, 129)},
            {w.text1(), QRect(1, 1, 300, 60)},
            {w.text2(), QRect(1, 68, 300, 60)},
            {w.button("cmdClear"), QRect(13, 141, 85, 24)},
            {w.button("cmdCopy"), QRect(101, 141, 85, 24)},
            {w.button("cmdExit"), QRect(197, 141, 118, 24)},
        };
        for (const auto &[control, geometry] : standard) {
            if (scale == 1)
                QCOMPARE(control->geometry(), geometry);
            else
                QVERIFY2(near(control->geometry(), geometry), qPrintable(control->objectName()));
        }
        // Both captions of the copy button, and the menu titles, fit whole.
        for (const char *name : {"cmdClear", "cmdCopy", "cmdExit"})
            QVERIFY2(captionFits(w.button(name)), name);
        w.hexMode();
        QVERIFY(captionFits(w.button("cmdCopy")));
        for (QAction *title : m->menuBar()->actions())
            QVERIFY(m->menuBar()->rect().contains(m->menuBar()->actionGeometry(title)));
        QCOMPARE(w.button("cmdClear")->text(), QStringLiteral("Clear &All"));
        QCOMPARE(w.button("cmdExit")->text(), QStringLiteral("E&xit"));

        // lblHIDDEN is a visible control that lies wholly below the client area.
        auto *hidden = w.find<QLabel>("lblHIDDEN");
        QVERIFY(hidden->isVisible());
        QVERIFY(hidden->geometry().top() >= m->centralWidget()->height());
        QCOMPARE(hidden->text(), QStringLiteral("lblHIDDEN"));
        // Screen readers pass over it too, and meet the upper pane before the lower one.
        QAccessibleInterface *unheard = QAccessible::queryAccessibleInterface(hidden);
        QVERIFY(unheard->state().invisible);
        QVERIFY(unheard->text(QAccessible::Name).isEmpty());
        QAccessibleInterface *panes =
            QAccessible::queryAccessibleInterface(w.find<QSplitter>("Splitter1"));
        QCOMPARE(panes->child(0)->object(), w.text1());
        QCOMPARE(panes->child(1)->object(), w.text2());

        QVERIFY(w.text1()->font().bold());
        QCOMPARE(w.text1()->font().pointSizeF(), 8.25 * scale);
        QVERIFY(!m->windowIcon().isNull());
    }

    void readableUnderEveryScheme_data()
    {
        QTest::addColumn<Scheme>("scheme");
        QTest::addColumn<bool>("hexToAscii");

        QTest::newRow("light") << Scheme::Light << false;
        QTest::newRow("dark") << Scheme::Dark << false;
        QTest::newRow("dark, HEX to ASCII with a marker") << Scheme::Dark << true;
        QTest::newRow("high contrast") << Scheme::HighContrast << false;
    }

    // Every text of the window, as rendered, at 4.5 : 1 or more against its background.
    void readableUnderEveryScheme()
    {
        QFETCH(Scheme, scheme);
        QFETCH(bool, hexToAscii);
        const DesktopSettings settings(scheme);
        Window w;
        if (hexToAscii) {
            w.hexMode();
            typeText(w.text2(), QStringLiteral("48 69 4"));
        } else {
            typeText(w.text1(), QStringLiteral("Hi"));
        }
        QWidget *window = w.window.get();
        const QImage shot = window->grab().toImage();

        QList<std::pair<QWidget *, QRect>> texts{
            {w.window->menuBar(), {}}, {w.text1()->viewport(), {}}, {w.text2()->viewport(), {}}};
        // A button's face inside its frame.
        for (const char *name : {"cmdClear", "cmdCopy", "cmdExit"})
            texts.append({w.button(name), w.button(name)->rect().adjusted(4, 4, -4, -4)});
        for (const auto &[control, rect] : texts) {
            const qreal contrast = renderedContrast(shot, areaIn(window, control, rect));
            QVERIFY2(
                contrast >= kReadableContrast,
                qPrintable(QStringLiteral("%1 in %2: %3 : 1")
                               .arg(control->objectName(), control->parentWidget()->objectName())
                               .arg(contrast)));
        }
    }

    void menusHaveTheirCaptions()
    {
        Window w;
        QStringList titles;
        for (QAction *a : w.window->menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList{"   &Project", "&Mode"}));
        QStringList items;
        for (QAction *a : w.find<QMenu>("menuProject")->actions())
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(items, (QStringList{"&About", "&Hide", "-", "E&xit"}));
        for (QAction *a : w.window->findChildren<QAction *>()) {
            QVERIFY(a->shortcut().isEmpty());
            QVERIFY(!a->isCheckable());
        }
    }

    void tabOrderFollowsTheLayout()
    {
        Window w;
        QStringList order;
        QWidget *widget = w.text1();
        for (int i = 0; i < 5; ++i) {
            order << widget->objectName();
            widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus || !widget->isVisible())
                widget = widget->nextInFocusChain();
        }
        QCOMPARE(order, (QStringList{"Text1", "Text2", "cmdClear", "cmdCopy", "cmdExit"}));
    }

    void secondCopyIsRefused()
    {
        Window w(false);
        w.platform.singleCopyAnswer.status = SingleCopyClaim::Status::AnotherCopyRuns;
        QVERIFY(!w.window->Form_Load());
        QCOMPARE(w.messageCount(), 1);
        const MessageBoxRequest &box = w.platform.messages.front().request;
        QCOMPARE(box.prompt, QStringLiteral("Quorvale is allready running."));
        QCOMPARE(box.title, QStringLiteral("Quorvale"));
        QCOMPARE(box.icon, MessageBoxRequest::Icon::Information);
        // Nothing after the check ran.
        QVERIFY(w.action("menuASCII")->isEnabled());
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Quorvale"));
        QVERIFY(!w.window->isVisible());
    }

    void errorPrompt_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("prompt");
        const QString head = QStringLiteral("An Error was generated:\r\nDescription: Error");
        const QString other =
            QStringLiteral("Please inform the author with the error description above.");
        QTest::newRow("339") << 339 << "D"
                             << head + " 339 - D\r\n\r\nRe-install the program to fix this.";
        QTest::newRow("50003") << 50003 << "x"
                               << head + " 50003 - x\r\n\r\nRe-install the program to fix this, or "
                                         "get the latest vbruntimes at Velmoran.";
        QTest::newRow("5") << 5 << "Invalid" << head + " 5 - Invalid\r\n\r\n" + other;
        QTest::newRow("91") << 91 << "y" << head + " 91 - y\r\n\r\n" + other;
        QTest::newRow("negative: no blank") << -1 << "neg" << head + "-1 - neg\r\n\r\n" + other;
        QTest::newRow("empty description")
            << 339 << "" << head + " 339 - \r\n\r\nRe-install the program to fix this.";
        QTest::newRow("zero") << 0 << "z" << head + " 0 - z\r\n\r\n" + other;
    }
    void errorPrompt()
    {
        QFETCH(int, code);
        QFETCH(QString, description);
        QFETCH(QString, prompt);
        QCOMPARE(startupErrorPrompt({code, description, {}, 0}), prompt);
    }

    // A failure at each step stops the routine there: earlier steps keep their effect, later
    // ones leave the layout's values, and the window then opens and works.
    void failureAtEachStep_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("asciiDisabled");
        QTest::addColumn<bool>("hexEnabled");
        QTest::addColumn<QString>("copyCaption");
        QTest::addColumn<QString>("title");
        const QString layoutTitle = QStringLiteral("Quorvale");
        const QString modeTitle = QStringLiteral("Quorvale - ASCII to HEX mode");
        QTest::newRow("2") << 2 << false << true << "&Copy" << layoutTitle;
        QTest::newRow("3") << 3 << false << true << "&Copy" << layoutTitle;
        QTest::newRow("4") << 4 << true << true << "&Copy" << layoutTitle;
        QTest::newRow("5") << 5 << true << true << "&Copy" << layoutTitle;
        QTest::newRow("6") << 6 << true << true << "&Copy HEX" << layoutTitle;
    }
    void failureAtEachStep()
    {
        QFETCH(int, step);
        QFETCH(bool, asciiDisabled);
        QFETCH(bool, hexEnabled);
        QFETCH(QString, copyCaption);
        QFETCH(QString, title);

        Window w(false);
        w.window->setStartupStepCheck([step](int n) {
            if (n == step)
                throw StartupFailure{91, QStringLiteral("Object variable not set"), "help.hlp", 7};
        });
        w.start();
        QCOMPARE(w.messageCount(), 1);
        const MessageBoxRequest &box = w.platform.messages.front().request;
        QCOMPARE(box.title, QStringLiteral("Error"));
        QCOMPARE(box.icon, MessageBoxRequest::Icon::None);
        QCOMPARE(box.helpFile, QStringLiteral("help.hlp"));
        QCOMPARE(box.helpContext, 7);
        QVERIFY(box.prompt.startsWith(
            "An Error was generated:\r\nDescription: Error 91 - Object variable not set"));
        QCOMPARE(w.platform.singleCopyClaims, step == 2 ? 0 : 1);

        QCOMPARE(!w.action("menuASCII")->isEnabled(), asciiDisabled);
        QCOMPARE(w.action("menuHEXto")->isEnabled(), hexEnabled);
        QCOMPARE(w.button("cmdCopy")->text(), copyCaption);
        QCOMPARE(w.window->windowTitle(), title);
        QVERIFY(w.window->isVisible());
        QTest::keyClicks(w.text1(), "AB");
        QCOMPARE(w.text2()->toPlainText(), QStringLiteral("41 42"));
    }

    void unusableLockIsReportedAndStartupGoesOn()
    {
        Window w(false);
        w.platform.singleCopyAnswer = {SingleCopyClaim::Status::Failed, 75,
                                       QStringLiteral("no lock")};
        w.start();
        QCOMPARE(w.messageCount(), 1);
        QCOMPARE(w.platform.messages.front().request.prompt,
                 startupErrorPrompt({75, QStringLiteral("no lock"), {}, 0}));
        QVERIFY(w.window->isVisible());
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Quorvale"));
    }

    void unexpectedExceptionIsReportedWithItsCode()
    {
        Window w(false);
        w.window->setStartupStepCheck([](int n) {
            if (n == 4)
                throw std::runtime_error("boom");
        });
        w.start();
        QCOMPARE(w.messageCount(), 1);
        QVERIFY(
            w.platform.messages.front().request.prompt.contains(" 50003 - boom\r\n\r\nRe-install"));
    }

    // The real program, started where there is no display: --help and --version answer all
    // the same, an option of its own that it does not know is a usage error, and the toolkit's
    // options (-platform, -style, -reverse) are the toolkit's.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("errors");
        const QString version =
            "^Quorvale " + QRegularExpression::escape(QStringLiteral(QUORVALE_VERSION)) + "\n$";
        QTest::newRow("none: no display") << QStringList() << 1 << "^$"
                                          << "^quorvale: no display [^\n]+\n$";
        QTest::newRow("--version") << QStringList{"--version"} << 0 << version << "^$";
        QTest::newRow("-v among the toolkit's options")
            << QStringList{"-platform", "offscreen", "-reverse", "-v"} << 0 << version << "^$";
        QTest::newRow("--help") << QStringList{"--help"} << 0
                                << "^Usage: \\S+ \\[options\\]\n(.+\n)+\nOptions:\n"
                                   "  -h, --help +\\S.*\n  -v, --version +\\S.*\n$"
                                << "^$";
        QTest::newRow("unknown option")
            << QStringList{"-platform", "offscreen", "-style", "fusion", "--colour"} << 2 << "^$"
            << "^quorvale: Unknown option 'colour'\\.\n"
               "Try 'quorvale --help'\\.\n$";
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, output);
        QFETCH(QString, errors);
        if (QStringLiteral(QUORVALE_PROGRAM).isEmpty())
            QSKIP("the Windows program is started for real by wine_program_check.sh");
        QUORVALE_SKIP_UNDER_EMULATOR();
        QTemporaryDir runtime;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(QUORVALE_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(30000));
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(QRegularExpression(output).match(out).hasMatch(), qPrintable(out));
        QVERIFY2(QRegularExpression(errors).match(err).hasMatch(), qPrintable(err));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), status);
    }

    void closingEndsTheProgram()
    {
        Window w;
        w.window->close();
        QCOMPARE(w.platform.endProgramCalls, 1);
        QVERIFY(w.platform.messages.isEmpty());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
