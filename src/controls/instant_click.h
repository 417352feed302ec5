#pragma once

class QAbstractButton;

namespace quorvale {

// Makes the keyboard click `button` as the key goes down: its access key (Alt and the
// underlined letter), the space bar, Return and Enter. The button then shows itself pressed
// for a moment. Mouse clicks stay as Qt makes them.
//
// Qt clicks a button a moment after its access key, from a timer, and on the release of the
// space bar; keys typed in between are handled first, by whatever has the focus, so a command
// would act after keys that the user typed after it.
void clickAtOnce(QAbstractButton *button);

} // namespace quorvale
