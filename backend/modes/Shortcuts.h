#pragma once

// Saves a shell link to target; false (and a trace) at the first failing step.
bool CreateLink(const wchar_t* target, const wchar_t* linkPath, const wchar_t* description,
                const wchar_t* workingFolder);

// Creates, or deletes, "VYL Lumo Core.lnk" on the common desktop and in the
// common start menu's "Programs\VORN" folder. COM must be initialised.
void ShortCutHandler(bool create);

extern const wchar_t kShortcutFileName[];
extern const wchar_t kShortcutDescription[];
