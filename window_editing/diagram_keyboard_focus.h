// Where the keyboard goes around the diagram: back to the diagram when the
// statement box closes, a focus frame over the diagram while it has the
// keyboard, and editing keys that act only while the diagram page shows
// (the selection they act on is not seen on the other pages).
#pragma once

struct TMainFormWidgets;

// The editing items' keys do nothing while another page than the diagram's
// is shown; their menu items still work.
void GuardEditingKeys(const TMainFormWidgets& widgets);

// Shift+F10 and the Menu key on the diagram open its pop-up menu at the
// selected box (or at the top left of the view when nothing is selected).
void OpenPopupMenuFromKeyboard(const TMainFormWidgets& widgets);

// Draws a frame around the visible part of the diagram while the diagram
// surface has the keyboard focus.
void ShowDiagramFocusFrame(const TMainFormWidgets& widgets);
