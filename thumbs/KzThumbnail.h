// The calling contract of kz.dll, the thumbnail library the picture pages load at start-up.
// Both entry points use the C calling convention and undecorated names.
#pragma once

#ifdef _WIN32
#include <windows.h>

extern "C" {
// Makes a thumbnail of the picture at path fitted into width x height (aspect kept, never
// enlarged). On success returns non-zero, stores a new 24-bit bitmap that the caller owns and
// deletes, and writes the picture's real width and height into size[0] and size[1].
typedef int(__cdecl* GenerateThumbnail2Fn)(const char* path, int width, int height, HBITMAP* bitmap, int* size);
// The same thumbnail drawn centred into the box (x, y, width, height) of dc; size as above.
typedef int(__cdecl* GenerateThumbnailToDCFn)(const char* path, HDC dc, int x, int y, int width, int height,
                                              int* size);
}
#endif
