#include "desktop_platform.h"

#include "instant_click.h"
#include "window_system.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMessageBox>

namespace quorvale {

DesktopPlatform::DesktopPlatform(QString lockDirectory) : m_lock(std::move(lockDirectory)) {}

void DesktopPlatform::showMessage(QWidget *parent, const MessageBoxRequest &request)
{
    const auto icon = request.icon == MessageBoxRequest::Icon::Information
                          ? QMessageBox::Information
                          : QMessageBox::NoIcon;
    QString prompt = request.prompt;
    prompt.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(icon, request.title, prompt, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.setObjectName(QStringLiteral("messageBox"));
    // Closed as the key goes down, so that the key typed next reaches the window below.
    clickAtOnce(box.button(QMessageBox::Ok));
    // Help files are a thing of the past on this desktop: the help reference is not shown.
    box.exec();
}

void DesktopPlatform::copyText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

void DesktopPlatform::openAddress(const QUrl &address)
{
    QDesktopServices::openUrl(address);
}

SingleCopyClaim DesktopPlatform::claimSingleCopy()
{
    return m_lock.claim();
}

QDate DesktopPlatform::today()
{
    return QDate::currentDate();
}

int DesktopPlatform::codePage()
{
    return systemCodePage();
}

void DesktopPlatform::endProgram()
{
    QCoreApplication::exit(0);
}

} // namespace quorvale
