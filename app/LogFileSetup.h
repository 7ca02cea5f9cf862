#pragma once

class ProfileFolderSources;

// With file logging on: points g_szLogPath at the user's (or the UWP) log
// file, creates it with its byte-order mark when missing, opens it to
// everybody and writes the opening lines.
void PrepareLogFile(const ProfileFolderSources& sources, bool uwp);
