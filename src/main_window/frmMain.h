#pragma once
#include <QMainWindow>
namespace quorvale {
class Platform;
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(Platform &platform, QWidget *parent = nullptr);
};
} // namespace quorvale
