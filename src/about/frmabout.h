#pragma once

#include <QCursor>
#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;

namespace quorvale {
class LayoutScale;
class LinkLabel;
class Platform;

// The About box: the program's title and version, the rights notice with the current year, the
// author, and a link to the maker's home page. It keeps nothing between openings: each opening
// is a new dialog that fills in its texts as it is built.
class frmabout : public QDialog
{
    Q_OBJECT
public:
    // `mainWindow` is minimised by the link; without a `parent` the dialog sits over it.
    explicit frmabout(Platform &platform, QWidget *mainWindow, QWidget *parent = nullptr);

    // Takes the keyboard as it shows and hands it back to the window below as it hides.
    void setVisible(bool visible) override;

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout(const LayoutScale &scale);
    void colourLink();
    void Form_Load();
    void lblurl_MouseMove();
    void lblurl_Click();
    void cmdok_Click();

    Platform &m_platform;
    QPointer<QWidget> m_mainWindow;
    QCursor m_handCursor;

    QLabel *lblprogtitle = nullptr;
    QLabel *lblversion = nullptr;
    QLabel *lblcopyright = nullptr;
    LinkLabel *lblurl = nullptr;
    QPushButton *cmdok = nullptr;
};

} // namespace quorvale
