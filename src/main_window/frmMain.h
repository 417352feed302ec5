#pragma once

// The main window of Quorvale.
//
// Architecture: the window is a set of event handlers named after their control and event
// (Text1_KeyUp, cmdCopy_Click, ...) over a fixed layout, and nothing else. There is no mode
// variable: the background colours of the two panes are the mode (white marks the input pane,
// black the output pane), and every handler that depends on the mode reads one pane's colour.
// The conversions themselves live in the toolkit-free library (code page, hex form, the two
// converters, the code table and the key filter); a handler asks it for the finished result and
// writes each widget once. Pane turns Qt's key, focus and mouse events into the handlers' events
// and keeps each pane within its 300 characters. Everything that leaves the window (message
// boxes, clipboard, browser, the single-copy lock, the clock, ending the program) goes through
// Platform, which the tests replace with a recording double.

#include "input_array.h"
#include "key_filter.h"
#include "startup_error.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QPushButton;
class QSplitter;

namespace quorvale {

class Announcer;
class Pane;
class Platform;

class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(Platform &platform, QWidget *parent = nullptr);
    ~frmMain() override;

    // The start-up routine. Returns false when the program must end at once because another
    // copy is running; a failure in it is reported and start-up goes on.
    bool Form_Load();

    // Shows the window centred on the screen, the caret in the upper pane.
    void showCentred();

    // Runs before each start-up step (2 to 6) and may throw a StartupFailure: how a test makes
    // a step fail.
    void setStartupStepCheck(std::function<void(int step)> check);

    const InputArray &inputArray() const { return m_inputArray; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void buildMenus();
    void routeEvents();

    void Form_Unload();
    void reportStartupFailure(const StartupFailure &failure);

    // Conversion (run on key releases).
    void Text1_KeyUp();
    void Text2_KeyUp();
    void showInputLimit();

    // What a screen reader hears of the decoded text and its marker.
    void announceDecoding(bool wasMarked);
    bool markerShown() const; // the upper pane shows the marker in red
    void describeMarker();
    void announceTitle();

    // Modes and pane roles.
    void menuASCII_Click();
    void menuHEXto_Click();
    void applyMode(bool asciiToHex);
    void setPaneRoles(bool asciiToHex); // colours and accessible names of both panes
    void Text1_GotFocus();
    void Text2_GotFocus();
    void Text1_KeyPress(KeyAscii &keyAscii);
    void Text2_KeyPress(KeyAscii &keyAscii);
    void Text1_MouseDown(int button);
    void Text2_MouseDown(int button);
    void paneMouseDown(Pane *clicked, Pane *other, int button);

    // Window commands.
    void cmdClear_Click();
    void cmdCopy_Click();
    void cmdExit_Click();
    void menuExit_Click();
    void menuHide_Click();
    void menuAbout_Click();

    Platform &m_platform;
    InputArray m_inputArray;
    std::function<void(int)> m_startupStepCheck;
    std::unique_ptr<Announcer> m_announcer;

    QSplitter *Splitter1 = nullptr;
    Pane *Text1 = nullptr;
    Pane *Text2 = nullptr;
    QPushButton *cmdClear = nullptr;
    QPushButton *cmdCopy = nullptr;
    QPushButton *cmdExit = nullptr;
    QLabel *lblHIDDEN = nullptr;

    QMenu *menuProject = nullptr;
    QAction *menuAbout = nullptr;
    QAction *menuHide = nullptr;
    QAction *menuSeperator = nullptr;
    QAction *menuExit = nullptr;
    QMenu *menuMode = nullptr;
    QAction *menuASCII = nullptr;
    QAction *menuHEXto = nullptr;
};

} // namespace quorvale
