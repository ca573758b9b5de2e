// Stands in for the web browser in the test prefix: the shell starts it for "http" addresses.
// It appends one line to the file named by QV_URL_RECORD: the show command it was started with,
// a blank, and its command line after the program name.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main() {
  char path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("QV_URL_RECORD", path, sizeof path);
  if (n == 0 || n >= sizeof path) return 1;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  // The arguments: everything after the (possibly quoted) program name.
  const char* line = GetCommandLineA();
  bool quoted = *line == '"';
  for (++line; *line && (quoted ? *line != '"' : *line != ' '); ++line) {
  }
  if (*line == '"') ++line;
  while (*line == ' ') ++line;
  FILE* record = std::fopen(path, "a");
  if (!record) return 1;
  std::fprintf(record, "%d %s\n", show, line);
  std::fclose(record);
  return 0;
}
