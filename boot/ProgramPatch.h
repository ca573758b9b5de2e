// What both program-patching changers (the boot screen's kernel copy and the logon screen's
// logon program copy) share: the resource language probe, the PE checksum repair through
// MapFileAndCheckSumA of IMAGEHLP.DLL, and the read-back check of a written file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "boot/PEResources.h"

namespace qv {

// MapFileAndCheckSumA's shape: file name, header sum out, computed sum out; 0 on success.
using MapFileAndCheckSumFn = unsigned long(__stdcall*)(const char*, unsigned long*,
                                                       unsigned long*);

// Loads IMAGEHLP.DLL and takes "MapFileAndCheckSumA" (declared in boot/ModifyBootScreen.h as
// LoadChecksumService); the library stays loaded. This puts another routine in its place, or
// none (nullptr, as on a system without it), and returns the one that was in effect.
MapFileAndCheckSumFn SetChecksumService(MapFileAndCheckSumFn service);
MapFileAndCheckSumFn ChecksumService();

// Puts the sum MapFileAndCheckSumA computes into the checksum field of the file's NT headers.
// False (logged) without the service, when the service fails, or when the file is not a
// 32-bit PE image.
bool RepairFileChecksum(const std::string& path);

// The language of resource (type, name) of a program file: the first language its directory
// lists. Starts as the system default locale; 0 when the file can be read but lists none (logged).
// The file is loaded as a data file, never run. False when it can't be loaded or lists none.
bool CheckResLanguageID(const std::string& modulePath, const PEResourceId& type,
                        const PEResourceId& name, std::uint16_t* language);

// Reads the written file back and checks it (CheckPatchedImage); false (logged with the reason)
// when it can't be read or does not pass.
bool VerifyPatchedFile(const std::string& path, const std::vector<ExpectedResource>& expected);

// The bytes of resource (type, name) of a program file, in its first language, read from the
// file itself. False (logged) when the file can't be read or lacks the resource.
bool ReadModuleResource(const std::string& modulePath, const PEResourceId& type,
                        const PEResourceId& name, std::vector<std::uint8_t>* bytes);

// Sets the attributes of path to normal and deletes it; true when no file is left there.
bool DeleteFileForced(const std::string& path);

}  // namespace qv
