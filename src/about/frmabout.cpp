#include "frmabout.h"

namespace quorvale {

frmabout::frmabout(Platform &, QWidget *, QWidget *parent) : QDialog(parent) {}

} // namespace quorvale
