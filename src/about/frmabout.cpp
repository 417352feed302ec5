#include "frmabout.h"

#include "access_keys.h"
#include "desktop_scheme.h"
#include "instant_click.h"
#include "link_label.h"
#include "platform.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>

namespace quorvale {

namespace {

constexpr auto applicationTitle = "Quorvale";
constexpr auto authorName = "Ansgrove";
// Shown by the link and handed to the browser.
constexpr auto homePageAddress = "https://velmoran.example/";
// The current year follows it.
constexpr auto rightsNoticePrefix = u"Copyright \u00a9 2026 - ";

// The tip of the index finger in hand32.xpm.
constexpr QPoint handHotSpot(1, 10);

constexpr QRgb separatorShadow = qRgb(64, 0, 64);
constexpr QRgb linkColour = qRgb(0, 0, 192);

// The nearest sans-serif face to the classic dialog font, at the given size (grown with a larger
// desktop font) and weight.
QFont dialogFont(qreal pointSize, QFont::Weight weight, const LayoutScale &scale)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(scale(pointSize));
    font.setWeight(weight);
    return font;
}

QLabel *addLabel(QWidget *dialog, const char *name, const QRect &geometry, const LayoutScale &scale,
                 const QString &text = {})
{
    auto *label = new QLabel(text, dialog);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(scale(geometry));
    return label;
}

// One line of an etched separator, a solid strip of the exact thickness.
QWidget *addLine(QWidget *dialog, const char *name, const QRect &strip)
{
    auto *line = new QWidget(dialog);
    line->setObjectName(QLatin1String(name));
    line->setGeometry(strip);
    line->setAutoFillBackground(true);
    return line;
}

// A dark line with a two-pixel highlight right below it, drawn as if cut into the dialog.
void addEtchedSeparator(QWidget *dialog, const char *shadowName, const char *highlightName, int y,
                        const LayoutScale &scale)
{
    constexpr int left = 24;
    constexpr int width = 175;

    QWidget *shadow = addLine(dialog, shadowName, scale(QRect(left, y, width, 1)));
    QPalette palette = shadow->palette();
    palette.setColor(QPalette::Window, QColor(separatorShadow));
    shadow->setPalette(palette);

    QWidget *highlight = addLine(dialog, highlightName, scale(QRect(left, y + 1, width, 2)));
    highlight->setBackgroundRole(QPalette::Light);
}

} // namespace

frmabout::frmabout(Platform &platform, QWidget *mainWindow, QWidget *parent)
    // Owned by the main window unless told otherwise: Qt then centres the dialog over it and
    // keeps it above it.
    : QDialog(parent ? parent : mainWindow), m_platform(platform), m_mainWindow(mainWindow),
      m_handCursor(QPixmap(QStringLiteral(":/hand32.xpm")), handHotSpot.x(), handHotSpot.y())
{
    setObjectName(QStringLiteral("frmabout"));
    tellAccessKeysAsTheyWork();
    setWindowTitle(QStringLiteral("About"));
    // A tool window: narrow title bar, close button only, kept out of the task bar.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    const LayoutScale scale;
    setFixedSize(scale(220), scale(293));
    // No icon: without an empty one of its own the dialog would show the main window's.
    setWindowIcon(QIcon());
    // The layout is measured for the classic 8-point dialog font and grows with the desktop's
    // font as a whole: the desktop's font alone would push the longer lines past the right edge.
    setFont(dialogFont(8.25, QFont::Normal, scale));

    buildLayout(scale);

    connect(lblurl, &LinkLabel::mouseMoved, this, &frmabout::lblurl_MouseMove);
    connect(lblurl, &LinkLabel::clicked, this, &frmabout::lblurl_Click);
    connect(cmdok, &QPushButton::clicked, this, &frmabout::cmdok_Click);

    Form_Load();
}

// Positions in pixels from the top-left corner of the client area. Labels show the dialog's
// background; the three wide ones run past the right edge, which cuts only long texts.
void frmabout::buildLayout(const LayoutScale &scale)
{
    lblprogtitle = addLabel(this, "lblprogtitle", QRect(24, 23, 245, 22), scale);
    lblprogtitle->setFont(dialogFont(13.5, QFont::Normal, scale));
    lblversion = addLabel(this, "lblversion", QRect(24, 45, 245, 13), scale);
    lblversion->setFont(dialogFont(9.75, QFont::Bold, scale));
    lblcopyright = addLabel(this, "lblcopyright", QRect(24, 62, 53, 13), scale);
    addLabel(this, "lblcopyright2", QRect(24, 76, 172, 16), scale, QLatin1String(authorName));

    addEtchedSeparator(this, "Line1", "Line2", 103, scale);

    QLabel *lbltext1 = addLabel(this, "lbltext1", QRect(24, 113, 245, 13), scale,
                                QStringLiteral("This program is freeware."));
    lbltext1->setWordWrap(true);
    lbltext1->resize(lbltext1->width(), lbltext1->heightForWidth(lbltext1->width()));
    addLabel(this, "lbltext2", QRect(24, 126, 164, 13), scale,
             QStringLiteral("You can use and distribute it freely."))
        ->adjustSize();
    addLabel(this, "lbltext3", QRect(24, 139, 74, 13), scale, QStringLiteral("Play and enjoy!"))
        ->adjustSize();

    addEtchedSeparator(this, "Line4", "Line3", 161, scale);

    addLabel(this, "lbltext4", QRect(24, 180, 151, 13), scale,
             QStringLiteral("For updates and other freeware,"))
        ->adjustSize();
    addLabel(this, "lbltext5", QRect(24, 193, 103, 13), scale,
             QStringLiteral("Visit my homepage at"))
        ->adjustSize();

    lblurl = new LinkLabel(QLatin1String(homePageAddress), this);
    lblurl->setObjectName(QStringLiteral("lblurl"));
    lblurl->move(scale(QPoint(24, 207)));
    colourLink();
    lblurl->adjustSize();

    // The only control that takes the focus, so Enter and Space always press it.
    cmdok = new QPushButton(QStringLiteral("&Ok"), this);
    cmdok->setObjectName(QStringLiteral("cmdok"));
    cmdok->setGeometry(scale(QRect(24, 240, 106, 26)));
    cmdok->setDefault(true);
    // Closes the dialog as the key goes down, so that the key typed next reaches the main window.
    clickAtOnce(cmdok);
    cmdok->setFocus();
}

// The link's own blue where it reads well on the dialog's background, else a colour that does.
void frmabout::colourLink()
{
    QPalette linkPalette = lblurl->palette();
    linkPalette.setColor(QPalette::WindowText, readableLinkColour(QColor(linkColour), palette()));
    lblurl->setPalette(linkPalette);
}

// Fills in the texts that depend on the program and the day; runs on every opening.
void frmabout::Form_Load()
{
    lblprogtitle->setText(QLatin1String(applicationTitle));
    lblversion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(QUORVALE_VERSION_MAJOR)
                            .arg(QUORVALE_VERSION_MINOR)
                            .arg(QUORVALE_VERSION_PATCH));
    lblcopyright->setText(QString::fromUtf16(rightsNoticePrefix) +
                          QString::number(m_platform.today().year()));
    lblcopyright->adjustSize();

    // A screen reader opening a dialog passes over lines of one or two words, so the title
    // line carries the version with it and the rights line the author.
    lblprogtitle->setAccessibleName(lblprogtitle->text() + QStringLiteral(", ") +
                                    lblversion->text());
    lblcopyright->setAccessibleName(lblcopyright->text() + QStringLiteral(", ") +
                                    QLatin1String(authorName));
}

// The pointer over the link stays the arrow until the mouse first moves there.
void frmabout::lblurl_MouseMove()
{
    lblurl->setCursor(m_handCursor);
}

void frmabout::lblurl_Click()
{
    if (m_mainWindow)
        m_mainWindow->showMinimized();
    // Whether the browser could open the page is not reported.
    m_platform.openAddress(QUrl(QLatin1String(homePageAddress)));
    close();
}

void frmabout::cmdok_Click()
{
    accept();
}

void frmabout::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    // A tool window is shown without being activated on Windows, and without a window manager
    // nobody hands the keyboard on when the active window goes: a keyboard user would reach
    // neither window.
    if (visible) {
        activateWindow();
        return;
    }
    QWidget *below = parentWidget();
    if (below && below->isVisible() && !below->isMinimized())
        below->activateWindow();
}

void frmabout::changeEvent(QEvent *event)
{
    // The desktop's scheme changed while the dialog is open.
    if (event->type() == QEvent::PaletteChange && lblurl)
        colourLink();
    QDialog::changeEvent(event);
}

void frmabout::keyPressEvent(QKeyEvent *event)
{
    // Only "&Ok", the link and the close button close the dialog; Escape does not.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace quorvale
