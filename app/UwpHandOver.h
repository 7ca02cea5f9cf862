#pragma once

// In UWP mode: when the registry's "InstalledDir" names a folder holding
// "Lumo.exe" without "UWP.ini" beside it, starts that program and returns
// true (this one then ends, having let go of the single-instance event).
// False, and this program goes on, when there is none or it cannot start.
bool HandOverToInstalledProgram();
