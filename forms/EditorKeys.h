#pragma once

class QKeyEvent;
class QWidget;

// Keys of the two editor dialogs: Escape never closes them, and Enter on a
// focused, enabled push button presses it (as Space does) while Enter in a
// text box never closes the editor. True when the key was handled here.
bool HandleEditorKey(QWidget *focus, QKeyEvent *event);
