#pragma once

class QString;

namespace quorvale {

// Makes screen readers tell the access key of each push button and menu item as it works and as
// Windows writes it: "Alt+X" for a button whose caption underlines x (Qt tells "Alt+x", or
// "Enter" for a dialog's default button), and the letter alone for an item of a menu, which the
// letter chooses while the menu is open (Qt tells "Alt+A"). Items of the menu bar keep Qt's
// "Alt+P". Takes effect for every control whose screen-reader view is made after the call.
void tellAccessKeysAsTheyWork();

// The access key of a caption with an underlined letter ("E&xit"): "Alt+X", or with `inMenu`
// "X"; "" for a caption without one.
QString accessKey(const QString &caption, bool inMenu);

} // namespace quorvale
