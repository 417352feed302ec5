#pragma once

#include "platform.h"
#include "single_copy_lock.h"

namespace quorvale {

// The real desktop: Qt message boxes, the system clipboard, QDesktopServices, a lock file in
// the user's runtime directory, the system clock and the system's code page.
class DesktopPlatform final : public Platform
{
public:
    explicit DesktopPlatform(QString lockDirectory = {});

    void showMessage(QWidget *parent, const MessageBoxRequest &request) override;
    void copyText(const QString &text) override;
    void openAddress(const QUrl &address) override;
    SingleCopyClaim claimSingleCopy() override;
    QDate today() override;
    int codePage() override;
    void endProgram() override;

private:
    SingleCopyLock m_lock;
};

} // namespace quorvale
