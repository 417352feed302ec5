#include "frmMain.h"
namespace quorvale {
frmMain::frmMain(Platform &, QWidget *parent) : QMainWindow(parent) {}
} // namespace quorvale
