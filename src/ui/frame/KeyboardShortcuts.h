#pragma once

class QMainWindow;

// The main window's keys: Ctrl+O imports, Ctrl+Shift+O opens a workspace, Ctrl+S saves it,
// Ctrl+Shift+S saves the chart of the page shown, F5 analyses (on the spectra page, brought
// to the front), Ctrl+E exports the checked records of the page shown; Alt and a menu's first
// letter opens it. Controls are found by their object names, so the pages keep their own
// buttons: call this once the menus are filled.
void AssignKeyboardShortcuts(QMainWindow& window);
