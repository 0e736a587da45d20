#pragma once

class QMainWindow;

// The main window's keys: Ctrl+O imports, F5 analyses (on the spectra page, brought to the
// front), Ctrl+E exports the checked records of the page shown. Controls are found by their
// object names, so the pages keep their own buttons.
void AssignKeyboardShortcuts(QMainWindow& window);
