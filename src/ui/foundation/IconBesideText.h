#pragma once

class QAbstractButton;
class QIcon;

namespace quillbern {

// Shows the icon on the button before its text, at the button's icon size and clear of the
// text: the toolkit keeps a button's picture only 4 points from its text, which a symbol
// filling its box touches. The icon is drawn at each paint, so a picture that arrives later
// shows. Set the icon size first where it is not the style's.
void setIconBesideText(QAbstractButton& button, const QIcon& icon);

}  // namespace quillbern
