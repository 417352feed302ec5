#pragma once

// The thin seam between Quorvale and the desktop.
//
// Everything the windows ask of the world outside themselves goes through Platform: modal
// message boxes, the clipboard, handing an address to the browser, the single-copy lock, the
// clock, the system's code page and ending the program. DesktopPlatform is the real thing; the tests hand the windows a
// recording double instead, so that no test blocks on a dialog or touches the user's clipboard,
// browser or lock.

#include <QDate>
#include <QString>
#include <QUrl>

class QWidget;

namespace quorvale {

struct MessageBoxRequest
{
    enum class Icon
    {
        None,
        Information
    };

    QString prompt; // line breaks as CR LF
    QString title;
    Icon icon = Icon::None;
    QString helpFile;
    int helpContext = 0;
};

// What the single-copy check found.
struct SingleCopyClaim
{
    enum class Status
    {
        Claimed,
        AnotherCopyRuns,
        Failed
    };

    Status status = Status::Claimed;
    int errorCode = 0;        // with Failed: the code that the start-up error report shows
    QString errorDescription; // with Failed
};

class Platform
{
public:
    virtual ~Platform() = default;

    // Shows a modal message box with a single OK button over `parent` and returns when the user
    // has closed it.
    virtual void showMessage(QWidget *parent, const MessageBoxRequest &request) = 0;

    // Empties the system clipboard, then puts `text` on it as plain text.
    virtual void copyText(const QString &text) = 0;

    // Hands an address to the desktop's default handler. The outcome is not reported.
    virtual void openAddress(const QUrl &address) = 0;

    // Claims the per-user single-copy lock, held until the platform is destroyed.
    virtual SingleCopyClaim claimSingleCopy() = 0;

    virtual QDate today() = 0;

    // The system's 8-bit code page, whose bytes are the character codes: one of the single-byte
    // Windows pages by number (codepage::kPages).
    virtual int codePage() = 0;

    // Ends the program with exit status 0 as soon as control returns to the event loop.
    virtual void endProgram() = 0;
};

} // namespace quorvale
