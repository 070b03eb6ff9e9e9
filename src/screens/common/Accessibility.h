#pragma once
// What a screen reader is told about two kinds of control whose Qt description on this
// platform says less than the screen shows:
// - a drop-down list is named by its accessible name or the label it is the buddy of
//   ("Reference Year"), its current item being its value, where Qt would name it by the
//   item it shows ("2011");
// - a label made a link is a link that can be pressed, not static text.

class QLabel;

namespace accessibility {

// Registers the descriptions with Qt's accessibility, once; every screen calls it.
void install();

// Makes the label a link: reached by Tab, opened by Enter or a click (its linkActivated
// signal), and described to a screen reader as a link.
void makeLink(QLabel* label);

} // namespace accessibility
