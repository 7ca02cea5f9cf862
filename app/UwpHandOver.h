#pragma once

// In UWP mode: when the registry's "InstalledDir" names a folder holding
// "Lumo.exe", starts that program and returns true (this one then ends).
bool HandOverToInstalledProgram();
