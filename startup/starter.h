// The Starter module: the program's entry, its run modes, settings, picture loading and the one
// orderly way out.
#pragma once

#include <cstdint>
#include <string>

#include "startup/program.h"

namespace dusk {

// Runs the program for a command line. Returns when the mode's window is open (the host then
// runs its message loop) or, in password mode, when the mode is done.
void Main(Program& p, const std::string& commandLine);

void Run_ScreenSaver(Program& p);
void Run_Preview(Program& p, const std::string& commandLine);
void Run_Configure(Program& p);
void Run_Password(Program& p, const std::string& commandLine);

// A registry value read as a number; any failing step gives 0.
int16_t GetRegValue(Program& p, uint32_t root, const std::string& keyPath, const std::string& name);

// Releases everything, stops the music, closes the mixer and ends the process.
[[noreturn]] void X_Cleanup_And_End(Program& p);

// Settings file and directories
void GetDiectories(Program& p);
void X_GetData(Program& p);

// Picture loading
void LoadPics4ScreenSaver(Program& p);
void X_LoadPics4Preview(Program& p);

}  // namespace dusk
