#include "desktop_platform.h"
#include "desktop_settings.h"
#include "frmabout.h"
#include "recording_platform.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QFontInfo>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using quorvale::frmabout;
using quorvale::testing::RecordingPlatform;
using namespace quorvale::testing;

namespace {

QString textOf(const QWidget &dialog, const char *name)
{
    return dialog.findChild<QLabel *>(QLatin1String(name))->text();
}

// Shows the main window and the dialog over it, and waits until the dialog has the focus.
bool showOver(QWidget &mainWindow, frmabout &dialog)
{
    mainWindow.setGeometry(100, 100, 328, 176);
    mainWindow.show();
    dialog.show();
    return QTest::qWaitForWindowActive(&dialog);
}

// Windows's offscreen platform, like Wine without a window manager, leaves the dialog (a tool
// window) inactive, so that its focus and access keys are not in play there.
bool toolWindowActive(const frmabout &dialog)
{
    return QSysInfo::productType() != QLatin1String("windows") ||
           QApplication::activeWindow() == &dialog;
}

QPoint centreOf(const QWidget &dialog, const char *name)
{
    const auto *widget = dialog.findChild<QWidget *>(QLatin1String(name));
    return widget->mapTo(&dialog, widget->rect().center());
}

} // namespace

// Stands in for the browser: QDesktopServices hands it the address instead.
class AddressCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
    std::function<void()> whileOpening;

public slots:
    void open(const QUrl &url)
    {
        urls.append(url);
        whileOpening();
    }
};

class TestAbout : public QObject
{
    Q_OBJECT
private slots:
    void eachOpeningWritesItsTexts();
    void windowShape_data();
    void windowShape();
    void readableUnderEveryScheme_data();
    void readableUnderEveryScheme();
    void okHoldsTheOnlyFocus();
    void pointerTurnsToHandOnFirstMove();
    void linkMouseButtons_data();
    void linkMouseButtons();
    void okCloses_data();
    void okCloses();
    void modalOpeningEndsWithEnter();
    void desktopPlatformHandsAddressToDesktop();
};

void TestAbout::eachOpeningWritesItsTexts()
{
    RecordingPlatform platform;
    QWidget mainWindow;
    platform.date = QDate(2026, 12, 31);
    QString firstNotice;
    {
        frmabout dialog(platform, &mainWindow);
        firstNotice = textOf(dialog, "lblcopyright");
    }
    platform.date = QDate(2027, 1, 1);
    frmabout dialog(platform, &mainWindow);

    QCOMPARE(textOf(dialog, "lblprogtitle"), QStringLiteral("Quorvale"));
    // The version of the build, with single numbers and no blanks around the dots.
    QCOMPARE(textOf(dialog, "lblversion"), QStringLiteral("Version " QUORVALE_VERSION));
    QCOMPARE(textOf(dialog, "lblcopyright2"), QStringLiteral("Ansgrove"));
    // The year is read anew at each opening, after the same prefix.
    const QString notice = textOf(dialog, "lblcopyright");
    QVERIFY2(firstNotice.endsWith(QLatin1String(" - 2026")), qPrintable(firstNotice));
    QVERIFY2(notice.endsWith(QLatin1String(" - 2027")), qPrintable(notice));
    QCOMPARE(notice.chopped(4), firstNotice.chopped(4));
}

void TestAbout::windowShape_data()
{
    QTest::addColumn<qreal>("pointSize"); // of the desktop's default font; 0: as it is

    QTest::newRow("default font") << 0.0;
    QTest::newRow("the platform's standard font") << quorvale::standardFontPointSize();
    QTest::newRow("14 pt") << 14.0;
    QTest::newRow("18 pt") << 18.0;
}

void TestAbout::windowShape()
{
    QFETCH(qreal, pointSize);
    const DesktopSettings settings(Scheme::Light, pointSize);
    const qreal scale =
        std::max(1.0, QApplication::font().pointSizeF() / quorvale::standardFontPointSize());
    RecordingPlatform platform;
    QWidget mainWindow;
    QPixmap icon(32, 32);
    icon.fill(Qt::gray);
    mainWindow.setWindowIcon(icon);
    frmabout dialog(platform, &mainWindow);

    QCOMPARE(dialog.windowTitle(), QStringLiteral("About"));
    // No icon of its own, not even the main window's.
    QVERIFY(dialog.windowIcon().isNull());
    // A larger desktop font grows the whole dialog in proportion.
    QCOMPARE(dialog.size(), QSize(qRound(220 * scale), qRound(293 * scale)));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.font().pointSizeF(), 8.25 * scale);
    // A tool window: narrow title bar, close button only, not in the task bar.
    QCOMPARE(dialog.windowType(), Qt::Tool);
    QVERIFY(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    // Everything fits in the client area but the three labels meant to run past its right edge.
    // The texts are measured in the dialog face; Wine has none of that name and draws them wider.
    if (QSysInfo::productType() == QLatin1String("windows") &&
        !QFontInfo(dialog.font()).family().contains(QLatin1String("Sans Serif")))
        QSKIP("the dialog face is missing (Wine): its texts run wider than on Windows");
    const QStringList wide{QStringLiteral("lblprogtitle"), QStringLiteral("lblversion"),
                           QStringLiteral("lbltext1")};
    for (const QWidget *child : dialog.findChildren<QWidget *>()) {
        QRect geometry = child->geometry();
        if (wide.contains(child->objectName()))
            geometry.setRight(dialog.rect().right());
        QVERIFY2(dialog.rect().contains(geometry), qPrintable(child->objectName()));
    }
    QVERIFY(captionFits(dialog.findChild<QPushButton *>(QStringLiteral("cmdok"))));
}

void TestAbout::readableUnderEveryScheme_data()
{
    QTest::addColumn<Scheme>("scheme");
    QTest::addColumn<QColor>("link"); // invalid: any colour that reads well

    QTest::newRow("the desktop's own scheme") << Scheme::Desktop << QColor();
    QTest::newRow("light: the link keeps its blue") << Scheme::Light << QColor(0, 0, 192);
    QTest::newRow("dark: a lighter blue") << Scheme::Dark << QColor();
    QTest::newRow("high contrast: the scheme's link colour")
        << Scheme::HighContrast << QColor(Qt::yellow);
}

// Every text of the dialog, as rendered, at 4.5 : 1 or more against its background.
void TestAbout::readableUnderEveryScheme()
{
    QFETCH(Scheme, scheme);
    QFETCH(QColor, link);
    const DesktopSettings settings(scheme);
    RecordingPlatform platform;
    QWidget mainWindow;
    frmabout dialog(platform, &mainWindow);
    const QImage shot = dialog.grab().toImage();

    for (const QLabel *label : dialog.findChildren<QLabel *>()) {
        const qreal contrast = renderedContrast(shot, areaIn(&dialog, label));
        QVERIFY2(contrast >= quorvale::kReadableContrast,
                 qPrintable(QStringLiteral("%1: %2 : 1").arg(label->objectName()).arg(contrast)));
    }
    const auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("cmdok"));
    QVERIFY(renderedContrast(shot, areaIn(&dialog, ok, ok->rect().adjusted(4, 4, -4, -4))) >=
            quorvale::kReadableContrast);
    if (link.isValid())
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("lblurl"))
                     ->palette()
                     .color(QPalette::WindowText),
                 link);
}

void TestAbout::okHoldsTheOnlyFocus()
{
    RecordingPlatform platform;
    QWidget mainWindow;
    frmabout dialog(platform, &mainWindow);
    QVERIFY(showOver(mainWindow, dialog));
    if (!toolWindowActive(dialog))
        QSKIP("this platform does not activate the tool window (Windows offscreen, Wine)");

    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("cmdok"));
    QCOMPARE(QApplication::focusWidget(), ok);
    for (const QWidget *child : dialog.findChildren<QWidget *>()) {
        if (child != ok)
            QVERIFY2(child->focusPolicy() == Qt::NoFocus, qPrintable(child->objectName()));
    }
    // Opened over the main window's middle: Wine (the one without the dialog face) frames a tool
    // window otherwise than Windows.
    const QPoint offset = dialog.frameGeometry().center() - mainWindow.frameGeometry().center();
    if (QSysInfo::productType() != QLatin1String("windows") ||
        QFontInfo(dialog.font()).family().contains(QLatin1String("Sans Serif")))
        QVERIFY2(offset.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1, %2").arg(offset.x()).arg(offset.y())));
}

void TestAbout::pointerTurnsToHandOnFirstMove()
{
    RecordingPlatform platform;
    QWidget mainWindow;
    frmabout dialog(platform, &mainWindow);
    QVERIFY(showOver(mainWindow, dialog));
    auto *link = dialog.findChild<QLabel *>(QStringLiteral("lblurl"));

    QVERIFY(!link->testAttribute(Qt::WA_SetCursor));
    QTest::mouseMove(dialog.windowHandle(), centreOf(dialog, "lblurl"));
    QCOMPARE(link->cursor().shape(), Qt::BitmapCursor);
    const QImage hand = link->cursor().pixmap().toImage();
    QCOMPARE(hand.size(), QSize(32, 32));

    // The hot spot is the fingertip: an opaque pixel with nothing of the hand to its left.
    const QPoint hotSpot = link->cursor().hotSpot();
    QVERIFY(qAlpha(hand.pixel(hotSpot)) > 0);
    for (int y = 0; y < hand.height(); ++y) {
        for (int x = 0; x < hotSpot.x(); ++x)
            QCOMPARE(qAlpha(hand.pixel(x, y)), 0);
    }
    QVERIFY(platform.openedAddresses.isEmpty());
}

void TestAbout::linkMouseButtons_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("releaseOffset"); // from the middle of the link
    QTest::addColumn<bool>("opens");

    QTest::newRow("left click") << Qt::LeftButton << QPoint() << true;
    QTest::newRow("right click") << Qt::RightButton << QPoint() << false;
    QTest::newRow("released off the link") << Qt::LeftButton << QPoint(0, 30) << false;
    QTest::newRow("a screen reader's press") << Qt::NoButton << QPoint() << true;
}

void TestAbout::linkMouseButtons()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, releaseOffset);
    QFETCH(bool, opens);

    RecordingPlatform platform;
    QWidget mainWindow;
    frmabout dialog(platform, &mainWindow);
    QVERIFY(showOver(mainWindow, dialog));

    if (button == Qt::NoButton) {
        // Screen readers meet a link whose action does what a click does.
        QAccessibleInterface *link =
            QAccessible::queryAccessibleInterface(dialog.findChild<QLabel *>("lblurl"));
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->text(QAccessible::Name), textOf(dialog, "lblurl"));
        const QString press = QAccessibleActionInterface::pressAction();
        QCOMPARE(link->actionInterface()->actionNames(), QStringList{press});
        link->actionInterface()->doAction(press);
    } else {
        const QPoint link = centreOf(dialog, "lblurl");
        QTest::mousePress(dialog.windowHandle(), button, {}, link);
        QTest::mouseRelease(dialog.windowHandle(), button, {}, link + releaseOffset);
    }

    const QList<QUrl> expected = opens ? QList{QUrl(textOf(dialog, "lblurl"))} : QList<QUrl>{};
    QCOMPARE(platform.openedAddresses, expected);
    QCOMPARE(mainWindow.isMinimized(), opens);
    QCOMPARE(dialog.isVisible(), !opens);
}

void TestAbout::okCloses_data()
{
    QTest::addColumn<QString>("key"); // "": a mouse click
    QTest::addColumn<bool>("closes");

    QTest::newRow("click") << QString() << true;
    QTest::newRow("Return") << "Return" << true;
    QTest::newRow("keypad Enter") << "Enter" << true;
    QTest::newRow("space bar") << "Space" << true;
    QTest::newRow("Alt+O") << "Alt+O" << true;
    QTest::newRow("Escape") << "Escape" << false;
}

void TestAbout::okCloses()
{
    QFETCH(QString, key);
    QFETCH(bool, closes);

    RecordingPlatform platform;
    QWidget mainWindow;
    frmabout dialog(platform, &mainWindow);
    QVERIFY(showOver(mainWindow, dialog));
    if (key.startsWith(QLatin1String("Alt+")) && !toolWindowActive(dialog))
        QSKIP("this platform does not activate the tool window (Windows offscreen, Wine)");

    if (key.isEmpty()) {
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, centreOf(dialog, "cmdok"));
    } else {
        // Closed as the key goes down, so that a key typed right after it reaches the main
        // window instead of the dialog.
        const QKeyCombination pressed = QKeySequence::fromString(key)[0];
        QTest::keyPress(dialog.windowHandle(), pressed.key(), pressed.keyboardModifiers());
        QCOMPARE(dialog.isVisible(), !closes);
        QTest::keyRelease(dialog.windowHandle(), pressed.key(), pressed.keyboardModifiers());
    }

    QCOMPARE(dialog.isVisible(), !closes);
    QVERIFY(platform.openedAddresses.isEmpty());
    QVERIFY(!mainWindow.isMinimized());
}

void TestAbout::modalOpeningEndsWithEnter()
{
    RecordingPlatform platform;
    QWidget mainWindow;
    mainWindow.show();
    frmabout dialog(platform, &mainWindow);

    bool blocksMainWindow = false;
    QTimer::singleShot(0, &dialog, [&] {
        blocksMainWindow = QApplication::activeModalWidget() == &dialog;
        if (QTest::qWaitForWindowActive(&dialog))
            QTest::keyClick(dialog.windowHandle(), Qt::Key_Return);
    });
    QTimer::singleShot(10000, &dialog, &QDialog::reject); // never hang the suite

    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(blocksMainWindow);
}

void TestAbout::desktopPlatformHandsAddressToDesktop()
{
    quorvale::DesktopPlatform platform(QDir::tempPath());
    QWidget mainWindow;
    frmabout dialog(platform, &mainWindow);
    QVERIFY(showOver(mainWindow, dialog));

    // Take the address before any browser could: the link must be a web address.
    const QUrl address(textOf(dialog, "lblurl"));
    QVERIFY(address.scheme() == QLatin1String("https") ||
            address.scheme() == QLatin1String("http"));
    AddressCatcher catcher;
    QDesktopServices::setUrlHandler(address.scheme(), &catcher, "open");
    bool minimisedFirst = false;
    bool shownWhileOpening = false;
    catcher.whileOpening = [&] {
        minimisedFirst = mainWindow.isMinimized();
        shownWhileOpening = dialog.isVisible();
    };

    QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, centreOf(dialog, "lblurl"));
    QDesktopServices::unsetUrlHandler(address.scheme());

    // Minimise, hand over the address, then close: in that order.
    QCOMPARE(catcher.urls, QList{address});
    QVERIFY(minimisedFirst);
    QVERIFY(shownWhileOpening);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestAbout)
#include "test_about.moc"
