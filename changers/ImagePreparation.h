// The steps every picture changer takes to turn a user's picture into a system picture: the
// format from the file name, fitting to the screen or into a box, reduction to the display's
// depth, the output and temporary file names and the whole-file read.
//
// The system facts these steps need (display depth and size, folders, ticks, file existence)
// come through PrepareEnvironment, so that tests can put their own in place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CxImage;

namespace qv {

struct PrepareEnvironment {
  int (*displayBitsPerPixel)();               // of the desktop window's device context; 0 unknown
  void (*screenSize)(int* width, int* height);  // primary screen in pixels; 0 x 0 unknown
  std::string (*appDataFolder)();             // "" when the system names none
  std::string (*windowsFolder)();
  std::string (*tempFolder)();
  uint32_t (*tickCount)();                    // milliseconds since the system started
  bool (*fileExists)(const std::string& path);
};

// The environment in effect, and the system's own.
const PrepareEnvironment& Environment();
PrepareEnvironment SystemEnvironment();
// Puts an environment in effect and returns the one that was.
PrepareEnvironment SetEnvironment(const PrepareEnvironment& environment);

// The folder under application data that holds the settings file and the changers' output.
constexpr const char* kProductFolderName = "Quorvex";

// The format type of a picture from the text after the last "." anywhere in the path, compared
// without regard to case. "sys" counts as BMP only when allowSys (boot and logon screens).
// False for no extension or one that no coder is chosen for.
bool FormatTypeFromPath(const std::string& path, bool allowSys, uint32_t* type);

// The picture scaled, up or down, until one side meets the screen, keeping its aspect ratio.
struct Size {
  int width;
  int height;
  bool operator==(const Size& o) const { return width == o.width && height == o.height; }
};
Size FitToScreenSize(int screenWidth, int screenHeight, int width, int height);
Size FitToScreen(int width, int height);
// The picture shrunk (never enlarged) into the box; a box side of 0 keeps the picture's size, a
// side of -1 makes the box the screen (then FitToScreen rules).
Size FitIntoBox(int boxWidth, int boxHeight, int width, int height);

// Lowers a picture to `bits` per pixel with a palette built from its own colours by the octree
// quantizer and error diffusion. Nothing happens for bits above 8 or unknown (0). A failure half
// way leaves the picture as far as it got.
void ReduceToDepth(CxImage& image, int bits);
// ReduceToDepth with the depth of the desktop.
void MatchDisplayDepth(CxImage& image);

// The full path of a changer's output file: the application-data folder + "\Quorvex\" + name,
// the folder made when missing; the Windows directory when there is no such folder.
std::string ChangerOutputPath(const std::string& fileName);
// The same rule over given folders (no folder is made): appData "" means none.
std::string ChangerOutputPathIn(const std::string& appDataFolder, const std::string& windowsFolder,
                                const std::string& fileName);

// A name in the temporary folder that names no existing file: folder + t + i + ".bin" with
// t = ticks mod 1377 and the first free i of 0..9999. "" (logged) when all are taken.
std::string MakeTempFileName();

// Every byte of a file; false (logged) when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes);

// Encodes the picture as BMP and writes it complete beside the file before it takes the file's
// place, so a full disk never leaves half a bitmap. After a failed encode the picture's
// last-error text says why.
bool SaveBitmapReplacing(CxImage& image, const std::string& path);

}  // namespace qv
