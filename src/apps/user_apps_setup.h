// The user's key-map file at first start: each user's copy of the program
// makes its own %APPDATA%\Remote Control\applications.ini from the example
// installed beside the program (applications.example.ini). The installer
// writes no user's files: run with an administrator's password typed at the
// prompt, its %APPDATA% would be that administrator's.
#pragma once

namespace rc {

struct System;

// Copies the example to the user's file when that file is missing (the
// folder is made first); a file that is there, and a program without the
// example beside it (the zip), are left alone. Gives true when it copied.
bool CopyExampleUserApps(System& sys);

}  // namespace rc
