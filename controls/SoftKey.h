#pragma once
// What the two soft-key bars (the main window's and the dialogs') share: how a key looks,
// and a key's menu, which opens upwards from the bar at the window's bottom edge.
class QMenu;
class QToolButton;

// Text only, bold white on the dark bar, also while hovered or pressed; the tool tip
// names the key's command.
void StyleSoftKey(QToolButton* pKey);
// Runs the menu modally just above the key, inside the screen; the chosen action's
// triggered signal has fired when it returns.
void PopUpAbove(QMenu* pMenu, QToolButton* pKey);
