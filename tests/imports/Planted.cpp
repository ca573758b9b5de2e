// A program that imports GetTickCount64, which exists only from Vista on: the import check must
// refuse it. Built only to be read, never run.
#include <windows.h>

extern "C" __declspec(dllimport) ULONGLONG WINAPI GetTickCount64();

int main() { return static_cast<int>(GetTickCount64() & 1); }
