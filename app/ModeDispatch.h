#pragma once

class CLumoDlg;

// Runs the command-line mode chosen by the start-up flags, if any. True when
// a mode was selected: the dialog then ends before it is shown.
bool RunCommandLineMode(CLumoDlg& dialog);
