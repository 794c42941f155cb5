#pragma once

class QWidget;

// Gives every push button of `form` the flat look. Dialogs the form owns
// (file dialogs, message boxes) are windows of their own: their buttons keep
// the ordinary look, as do tool buttons, radio buttons and check boxes.
void FlattenButtons(QWidget *form);
