#pragma once

#include <QDialog>

namespace quorvale {
class Platform;

class frmabout : public QDialog
{
    Q_OBJECT
public:
    explicit frmabout(Platform &platform, QWidget *mainWindow, QWidget *parent = nullptr);
};

} // namespace quorvale
