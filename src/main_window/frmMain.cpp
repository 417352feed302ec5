#include "frmMain.h"

#include "access_keys.h"
#include "accessibility.h"
#include "ascii_to_hex.h"
#include "code_page.h"
#include "desktop_scheme.h"
#include "frmabout.h"
#include "hex_form.h"
#include "hex_to_ascii.h"
#include "instant_click.h"
#include "pane.h"
#include "pane_colors.h"
#include "platform.h"
#include "text_view.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>

#include <exception>

namespace quorvale {
namespace {

void setColors(Pane *pane, int back, int fore)
{
    QPalette palette = pane->palette();
    palette.setColor(QPalette::Base, toColor(back));
    palette.setColor(QPalette::Text, toColor(fore));
    pane->setPalette(palette);
}

void setForeColor(Pane *pane, int fore)
{
    pane->setTextColor(toColor(fore));
}

const QString kTitle = QStringLiteral("Quorvale");
const QString kAsciiInputTip = QStringLiteral("Enter ASCII characters to be converted to HEX ");
const QString kHexInputTip = QStringLiteral("Enter HEX values to be converted to ASCII ");

// What a screen reader says besides the widgets' own texts.
const QString kMarker = QStringLiteral("[!]");
const QString kMarkerNote =
    QStringLiteral("Holds a code that is not a printable character, shown as [!]");
const QString kMarkerShown = QStringLiteral("Unknown code shown");
const QString kMarkerGone = QStringLiteral("no unknown code");
const QString kUnknownCode = QStringLiteral("unknown code");
const QString kBlank = QStringLiteral("blank");
const QString kEmpty = QStringLiteral("empty");
const QString kCleared = QStringLiteral("Both panes cleared");
const QString kCopied = QStringLiteral("Copied to the clipboard");
const QString kNothingToCopy = QStringLiteral("Nothing to copy");

// A converter's last value as it is spoken: the marker and the blank in words.
QString spoken(const QString &value)
{
    if (value == kMarker)
        return kUnknownCode;
    if (value == QLatin1String(" "))
        return kBlank;
    return value;
}

// The busy pointer over a pane while a conversion runs; the pane's own pointer afterwards.
class BusyPointer
{
public:
    explicit BusyPointer(Pane *pane) : m_pane(pane)
    {
        m_pane->viewport()->setCursor(Qt::WaitCursor);
    }
    ~BusyPointer() { m_pane->viewport()->setCursor(Qt::IBeamCursor); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    Pane *m_pane;
};

} // namespace

frmMain::frmMain(Platform &platform, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_platform(platform), m_announcer(std::make_unique<Announcer>(this))
{
    // The character codes of the user's language, from the first key on.
    codepage::use(platform.codePage());
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kTitle);
    setWindowIcon(QIcon(QStringLiteral(":/quorvale.png")));
    tellAccessKeysAsTheyWork();
    buildLayout();
    buildMenus();
    routeEvents();
    // A fixed single border: the client area and the menu bar, nothing to resize.
    setFixedSize(sizeHint());
}

frmMain::~frmMain() = default;

void frmMain::buildLayout()
{
    // Layout positions are in twips; 15 twips make one pixel at the standard font size, and a
    // larger desktop font grows them in proportion.
    const LayoutScale scale;
    const auto px = [&scale](int twips) {
        return scale(twips / 15);
    };
    const auto twipsRect = [&px](int left, int top, int width, int height) {
        return QRect(px(left), px(top), px(width), px(height));
    };

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    client->setFixedSize(px(4920), px(2640));
    setCentralWidget(client);

    // The panes' bold 8.25-point face is the desktop's own sans-serif: asking for a family that
    // a Linux desktop does not have costs a font substitution at every start. It grows with the
    // layout.
    QFont paneFont = font();
    paneFont.setPointSizeF(scale(8.25));
    paneFont.setWeight(QFont::Bold);

    Splitter1 = new QSplitter(Qt::Vertical, client);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setGeometry(twipsRect(195, 75, 4530, 1935));
    // Each pane keeps one pixel to the splitter's edges; the bar between them is 7 pixels.
    const int edge = scale(1);
    Splitter1->setContentsMargins(edge, edge, edge, edge);
    Splitter1->setHandleWidth(px(1020 - 915));
    Splitter1->setChildrenCollapsible(false);

    Text1 = new Pane(Splitter1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text2 = new Pane(Splitter1);
    Text2->setObjectName(QStringLiteral("Text2"));
    for (Pane *pane : {Text1, Text2}) {
        pane->setFont(paneFont);
        pane->setMinimumHeight(px(300));
        Splitter1->addWidget(pane);
    }
    // The splitter puts each pane it takes in front of its children, the order in which screen
    // readers meet them; the upper pane goes back to the front.
    Text1->lower();
    Splitter1->setSizes({px(900), px(900)});
    // The layout's first state: ASCII to HEX.
    setPaneRoles(true);

    const auto button = [client](const char *name, const QString &caption, QRect geometry) {
        auto *b = new QPushButton(caption, client);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(geometry);
        b->setAutoDefault(false);
        // A command given from the keyboard acts before the next key is handled.
        clickAtOnce(b);
        return b;
    };
    cmdClear = button("cmdClear", QStringLiteral("Clear &All"), twipsRect(195, 2115, 1275, 360));
    cmdCopy = button("cmdCopy", QStringLiteral("&Copy"), twipsRect(1515, 2115, 1275, 360));
    cmdExit = button("cmdExit", QStringLiteral("E&xit"), twipsRect(2955, 2115, 1770, 360));

    // The converters' scratch register: visible, but below the client area, so never seen, and
    // never heard either.
    lblHIDDEN = new UnpresentedLabel(client);
    lblHIDDEN->setObjectName(QStringLiteral("lblHIDDEN"));
    lblHIDDEN->setText(QStringLiteral("lblHIDDEN"));
    lblHIDDEN->setGeometry(twipsRect(2055, 3375, 1125, 285));

    setTabOrder(Text1, Text2);
    setTabOrder(Text2, cmdClear);
    setTabOrder(cmdClear, cmdCopy);
    setTabOrder(cmdCopy, cmdExit);
    Text1->setFocus();
}

void frmMain::buildMenus()
{
    // A menu that rolls or fades open takes the keyboard only once it is fully open; keys typed
    // meanwhile would go to the pane instead of choosing an item. Menus open at once.
    QApplication::setEffectEnabled(Qt::UI_AnimateMenu, false);
    QApplication::setEffectEnabled(Qt::UI_FadeMenu, false);

    menuProject = menuBar()->addMenu(QStringLiteral("   &Project"));
    menuProject->setObjectName(QStringLiteral("menuProject"));
    menuAbout = menuProject->addAction(QStringLiteral("&About"));
    menuAbout->setObjectName(QStringLiteral("menuAbout"));
    menuHide = menuProject->addAction(QStringLiteral("&Hide"));
    menuHide->setObjectName(QStringLiteral("menuHide"));
    menuSeperator = menuProject->addSeparator();
    menuSeperator->setObjectName(QStringLiteral("menuSeperator"));
    menuExit = menuProject->addAction(QStringLiteral("E&xit"));
    menuExit->setObjectName(QStringLiteral("menuExit"));

    menuMode = menuBar()->addMenu(QStringLiteral("&Mode"));
    menuMode->setObjectName(QStringLiteral("menuMode"));
    menuASCII = menuMode->addAction(QStringLiteral("&ASCII to HEX"));
    menuASCII->setObjectName(QStringLiteral("menuASCII"));
    menuHEXto = menuMode->addAction(QStringLiteral("&HEX to ASCII"));
    menuHEXto->setObjectName(QStringLiteral("menuHEXto"));
}

void frmMain::routeEvents()
{
    Text1->onKeyUp = [this] {
        Text1_KeyUp();
    };
    Text1->onKeyPress = [this](KeyAscii &keyAscii) {
        Text1_KeyPress(keyAscii);
    };
    Text1->onGotFocus = [this] {
        Text1_GotFocus();
    };
    Text1->onMouseDown = [this](int button) {
        Text1_MouseDown(button);
    };
    Text2->onKeyUp = [this] {
        Text2_KeyUp();
    };
    Text2->onKeyPress = [this](KeyAscii &keyAscii) {
        Text2_KeyPress(keyAscii);
    };
    Text2->onGotFocus = [this] {
        Text2_GotFocus();
    };
    Text2->onMouseDown = [this](int button) {
        Text2_MouseDown(button);
    };

    connect(Text1->document(), &QTextDocument::contentsChanged, this, &frmMain::describeMarker);

    connect(cmdClear, &QPushButton::clicked, this, &frmMain::cmdClear_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &frmMain::cmdCopy_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmMain::cmdExit_Click);
    connect(menuAbout, &QAction::triggered, this, &frmMain::menuAbout_Click);
    connect(menuHide, &QAction::triggered, this, &frmMain::menuHide_Click);
    connect(menuExit, &QAction::triggered, this, &frmMain::menuExit_Click);
    connect(menuASCII, &QAction::triggered, this, &frmMain::menuASCII_Click);
    connect(menuHEXto, &QAction::triggered, this, &frmMain::menuHEXto_Click);
}

void frmMain::setStartupStepCheck(std::function<void(int)> check)
{
    m_startupStepCheck = std::move(check);
}

// ---- Start-up and shutdown ----

bool frmMain::Form_Load()
{
    // The error trap: a failure in any step below ends the routine at that step and is
    // reported; start-up then goes on with what the completed steps set.
    try {
        const auto step = [this](int number) {
            if (m_startupStepCheck)
                m_startupStepCheck(number);
        };

        step(2);
        const SingleCopyClaim claim = m_platform.claimSingleCopy();
        if (claim.status == SingleCopyClaim::Status::Failed)
            throw StartupFailure{claim.errorCode, claim.errorDescription, {}, 0};
        if (claim.status == SingleCopyClaim::Status::AnotherCopyRuns) {
            m_platform.showMessage(nullptr, {QStringLiteral("Quorvale is allready running."),
                                             kTitle,
                                             MessageBoxRequest::Icon::Information,
                                             {},
                                             0});
            return false;
        }
        step(3);
        menuASCII->setEnabled(false);
        step(4);
        menuHEXto->setEnabled(true);
        step(5);
        cmdCopy->setText(QStringLiteral("&Copy HEX"));
        step(6);
        setWindowTitle(QStringLiteral("Quorvale - ASCII to HEX mode"));
    } catch (const StartupFailure &failure) {
        reportStartupFailure(failure);
    } catch (const std::exception &e) {
        reportStartupFailure({kUnexpectedFailure, QString::fromLocal8Bit(e.what()), {}, 0});
    }
    return true;
}

void frmMain::reportStartupFailure(const StartupFailure &failure)
{
    m_platform.showMessage(nullptr,
                           {startupErrorPrompt(failure), QStringLiteral("Error"),
                            MessageBoxRequest::Icon::None, failure.helpFile, failure.helpContext});
}

void frmMain::showCentred()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - rect().center());
    }
    show();
    Text1->setFocus();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    event->accept();
    Form_Unload();
}

void frmMain::Form_Unload()
{
    // Closing the main window in any way ends the program; nothing is asked or saved.
    m_platform.endProgram();
}

// ---- Conversion ----

void frmMain::Text1_KeyUp()
{
    const BusyPointer busy(Text2);
    const std::string bytes = codepage::encode(toView(Text1->paneText()));
    if (bytes.size() >= codepage::kPaneCapacity) {
        Text2->setProgramText(QString());
        showInputLimit();
        return;
    }
    PlaceInArray(m_inputArray, bytes);
    const QString output = toQString(hexText(bytes));
    const bool changed = Announcer::listening() && output != Text2->paneText();
    Text2->setProgramText(output);
    if (!bytes.empty())
        lblHIDDEN->setText(toQString(hexForm(static_cast<std::uint8_t>(bytes.back()))));
    if (changed)
        m_announcer->announce(bytes.empty() ? kEmpty : lblHIDDEN->text());
}

void frmMain::Text2_KeyUp()
{
    const std::string bytes = codepage::encode(toView(Text2->paneText()));
    const bool speaking = Announcer::listening();
    const QString before = speaking ? Text1->paneText() : QString();
    if (bytes.empty()) {
        // Nothing to decode: the text colour stays as the last decoding left it.
        Text1->setProgramText(QString());
        if (speaking && !before.isEmpty())
            m_announcer->announce(kEmpty);
        return;
    }
    if (bytes.size() >= codepage::kPaneCapacity) {
        Text1->setProgramText(QString());
        showInputLimit();
        return;
    }
    PlaceInArray2(m_inputArray, bytes);
    const Decoding decoding = decodeHex(bytes);
    const bool wasMarked = speaking && markerShown();
    Text1->setProgramText(toQString(decoding.text));
    setForeColor(Text1, decoding.marked ? kRed : kGreen);
    describeMarker();
    lblHIDDEN->setText(toQString(decoding.last));
    if (speaking && Text1->paneText() != before)
        announceDecoding(wasMarked);
}

void frmMain::announceDecoding(bool wasMarked)
{
    const bool marked = markerShown();
    if (marked && !wasMarked) {
        m_announcer->announce(kMarkerShown);
        return;
    }
    const QString value = spoken(lblHIDDEN->text());
    if (wasMarked && !marked)
        m_announcer->announce(value.isEmpty() ? kMarkerGone
                                              : value + QStringLiteral(", ") + kMarkerGone);
    else if (!value.isEmpty())
        m_announcer->announce(value);
}

bool frmMain::markerShown() const
{
    return Text1->palette().color(QPalette::Text) == toColor(kRed) &&
           Text1->paneText().contains(kMarker);
}

void frmMain::describeMarker()
{
    Text1->setAccessibleNote(markerShown() ? kMarkerNote : QString());
}

void frmMain::showInputLimit()
{
    m_platform.showMessage(this, {QStringLiteral("Input is limited to 300 characters.\r\n"
                                                 "Don't write your novels in HEX! ;-)"),
                                  QStringLiteral("Nobody would read them!"),
                                  MessageBoxRequest::Icon::Information,
                                  {},
                                  0});
}

// ---- Modes and pane roles ----

void frmMain::menuASCII_Click()
{
    applyMode(true);
}

void frmMain::menuHEXto_Click()
{
    applyMode(false);
}

void frmMain::setPaneRoles(bool asciiToHex)
{
    setColors(Text1, asciiToHex ? kWhite : kBlack, asciiToHex ? kBlack : kGreen);
    setColors(Text2, asciiToHex ? kBlack : kWhite, asciiToHex ? kGreen : kBlack);
    Text1->setAccessibleName(asciiToHex ? QStringLiteral("ASCII input")
                                        : QStringLiteral("ASCII output"));
    Text2->setAccessibleName(asciiToHex ? QStringLiteral("HEX output")
                                        : QStringLiteral("HEX input"));
    // Screen readers are told the input pane's tooltip at once, whether or not the focus moves.
    Text1->setAccessibleTip(asciiToHex ? kAsciiInputTip : QString());
    Text2->setAccessibleTip(asciiToHex ? QString() : kHexInputTip);
    describeMarker();
}

void frmMain::applyMode(bool asciiToHex)
{
    // The colours are the mode, so they are final before the focus moves and the new pane's
    // focus handling reads them.
    setPaneRoles(asciiToHex);
    (asciiToHex ? Text1 : Text2)->setFocus(Qt::OtherFocusReason);
    menuASCII->setEnabled(!asciiToHex);
    menuHEXto->setEnabled(asciiToHex);
    cmdCopy->setText(asciiToHex ? QStringLiteral("&Copy HEX") : QStringLiteral("&Copy ASCII"));
    setWindowTitle(asciiToHex ? QStringLiteral("Quorvale - ASCII to HEX mode")
                              : QStringLiteral("Quorvale - HEX to ASCII mode"));
    announceTitle();
}

void frmMain::announceTitle()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // This Qt does not report a new title to screen readers by itself.
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
#endif
    m_announcer->announce(windowTitle());
}

void frmMain::Text1_GotFocus()
{
    const bool asciiToHex = backColor(Text1) != kBlack;
    (asciiToHex ? Text2 : Text1)->setHoverTip(QString());
    (asciiToHex ? Text1 : Text2)->setHoverTip(asciiToHex ? kAsciiInputTip : kHexInputTip);
}

void frmMain::Text2_GotFocus()
{
    const bool hexToAscii = backColor(Text2) != kBlack;
    (hexToAscii ? Text1 : Text2)->setHoverTip(QString());
    (hexToAscii ? Text2 : Text1)->setHoverTip(hexToAscii ? kHexInputTip : kAsciiInputTip);
}

void frmMain::Text1_KeyPress(KeyAscii &keyAscii)
{
    if (backColor(Text1) == kBlack)
        keyAscii = 0;
}

void frmMain::Text2_KeyPress(KeyAscii &keyAscii)
{
    keyAscii = filterHexKey(keyAscii, backColor(Text2) == kBlack);
}

void frmMain::Text1_MouseDown(int button)
{
    paneMouseDown(Text1, Text2, button);
}

void frmMain::Text2_MouseDown(int button)
{
    paneMouseDown(Text2, Text1, button);
}

void frmMain::paneMouseDown(Pane *clicked, Pane *other, int button)
{
    // The right button opens the Mode menu at the pointer; a chosen mode is in force when the
    // menu returns. (The window system has no right-button message to send here.)
    if (button == 2)
        menuMode->exec(QCursor::pos());
    if (backColor(clicked) == kBlack)
        other->setFocus(Qt::MouseFocusReason);
}

// ---- Window commands ----

void frmMain::cmdClear_Click()
{
    Text1->setProgramText(QString());
    Text2->setProgramText(QString());
    (backColor(Text1) != kBlack ? Text1 : Text2)->setFocus(Qt::OtherFocusReason);
    m_announcer->announce(kCleared);
}

void frmMain::cmdCopy_Click()
{
    const bool asciiToHex = backColor(Text1) != kBlack;
    Pane *output = asciiToHex ? Text2 : Text1;
    Pane *input = asciiToHex ? Text1 : Text2;
    // The pane's text as it stands (no blank for a no-break space), lines ending in "\n".
    QString text = output->paneText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    if (text.isEmpty()) {
        m_announcer->announce(kNothingToCopy);
        return;
    }
    m_platform.copyText(text);
    input->setFocus(Qt::OtherFocusReason);
    m_announcer->announce(kCopied);
}

void frmMain::cmdExit_Click()
{
    close();
}

void frmMain::menuExit_Click()
{
    cmdExit_Click();
}

void frmMain::menuHide_Click()
{
    showMinimized();
}

void frmMain::menuAbout_Click()
{
    frmabout dialog(m_platform, this);
    dialog.exec();
}

} // namespace quorvale
