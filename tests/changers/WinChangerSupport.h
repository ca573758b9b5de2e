// Helpers of the changer tests under Wine: registry values of the current user read back as
// they were stored, real pictures of the machine, and the bitmap headers of written files.
#pragma once

#include <windows.h>

#include <string>

namespace qvtest {

struct RegValue {
  bool exists = false;
  DWORD type = 0;
  std::string data;  // every byte as the 8-bit interface gives it
  // Bytes of the value as stored (UTF-16 for text): the 8-bit interface adds a missing
  // terminating zero when it reads a text back, this count shows whether one was written.
  DWORD storedBytes = 0;
  // The text without the terminating zero that the data should end in.
  std::string Text() const;
  // A text value written with its terminating zero counted.
  bool TerminatedText() const { return storedBytes == 2 * (Text().size() + 1); }
};

RegValue ReadUserValue(const std::string& key, const std::string& name);
bool WriteUserText(const std::string& key, const std::string& name, const std::string& text);
void DeleteUserValue(const std::string& key, const std::string& name);
void DeleteUserKey(const std::string& key);
bool CreateUserKey(const std::string& key);

// A picture file of the machine as a Windows path, "" when it is not there (the test then skips).
std::string MachinePicture(const char* unixPath);

// Width, height and bits per pixel of a BMP file; false when it is no readable BMP.
bool BmpFileSize(const std::string& path, int* width, int* height, int* bpp);

bool FileExists(const std::string& path);
std::string LowerCase(std::string text);

}  // namespace qvtest
