#pragma once

// A Platform for tests: records every request and answers from canned values. Nothing here
// blocks, and nothing touches the user's clipboard, browser or lock.

#include "platform.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace quorvale::testing {

class RecordingPlatform final : public Platform
{
public:
    struct ShownMessage
    {
        QWidget *parent = nullptr;
        MessageBoxRequest request;
    };

    // Recorded calls, in order of arrival.
    QList<ShownMessage> messages;
    QStringList clipboardLog; // "clear", then "text:<the text>"
    QList<QUrl> openedAddresses;
    int endProgramCalls = 0;
    int singleCopyClaims = 0;

    // Canned answers.
    SingleCopyClaim singleCopyAnswer;
    QDate date{2026, 12, 7};
    int page = 1252;

    // Runs inside showMessage, while the box would be open.
    std::function<void(const MessageBoxRequest &)> whileMessageShown;

    QString clipboardText() const
    {
        return clipboardLog.isEmpty() || !clipboardLog.last().startsWith(QLatin1String("text:"))
                   ? QString()
                   : clipboardLog.last().mid(5);
    }

    void showMessage(QWidget *parent, const MessageBoxRequest &request) override
    {
        messages.append({parent, request});
        if (whileMessageShown)
            whileMessageShown(request);
    }
    void copyText(const QString &text) override
    {
        clipboardLog << QStringLiteral("clear") << QStringLiteral("text:") + text;
    }
    void openAddress(const QUrl &address) override { openedAddresses.append(address); }
    SingleCopyClaim claimSingleCopy() override
    {
        ++singleCopyClaims;
        return singleCopyAnswer;
    }
    QDate today() override { return date; }
    int codePage() override { return page; }
    void endProgram() override { ++endProgramCalls; }
};

} // namespace quorvale::testing
