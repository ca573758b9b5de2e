// Reports the Windows generation as the program determines it, as its exit code, so that a test
// can run it under each Windows version that Wine reports.
#include "core/WindowsGeneration.h"

int main() { return qv::DetermineWindowsGeneration(); }
