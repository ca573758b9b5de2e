// What both program-patching changers (the boot screen's kernel copy and the logon screen's
// logon program copy) share: the resource language probe, the PE checksum repair through
// MapFileAndCheckSumA of IMAGEHLP.DLL, and the read-back check of a written file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "changers/PEResources.h"

namespace qv {

// MapFileAndCheckSumA's shape: file name, header sum out, computed sum out; 0 on success.
using MapFileAndCheckSumFn = unsigned long(__stdcall*)(const char*, unsigned long*,
                                                       unsigned long*);

// Looks up the checksum routine of IMAGEHLP.DLL ("MapFileAndCheckSumA") once, before any change;
// the library stays loaded.
bool LoadChecksumService();
// Puts another routine in place of the one LoadChecksumService found, or none (nullptr, as on a
// system without it), and returns the one that was in effect.
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

// A fresh copy of source at target (attributes normal, so that it can be updated); false (logged)
// when it can't be made.
bool CopyFileFresh(const std::string& source, const std::string& target);

// Moves a finished file over target in one step, written through to the disk, so that target
// is never missing or half written. False (logged) when it can't be moved; work then stays.
bool ReplaceFileWith(const std::string& work, const std::string& target);

// A program file loaded as a data file (never run; a 32-bit file loads into any process), and
// released when the object goes.
class DataModule {
 public:
  explicit DataModule(const std::string& path);
  ~DataModule();
  DataModule(const DataModule&) = delete;
  DataModule& operator=(const DataModule&) = delete;
  // The module handle (an HMODULE), or nullptr when the file could not be loaded.
  void* get() const { return module_; }
  // The bytes of resource (type, name) in its first language; false when it isn't there.
  bool Resource(const PEResourceId& type, const PEResourceId& name, const std::uint8_t** data,
                std::size_t* size) const;

 private:
  void* module_;
};

// One resource update of a program file (BeginUpdateResourceA keeping the existing resources).
// An update that is not committed is discarded when the object goes.
class ResourceUpdate {
 public:
  explicit ResourceUpdate(const std::string& path);
  ~ResourceUpdate();
  ResourceUpdate(const ResourceUpdate&) = delete;
  ResourceUpdate& operator=(const ResourceUpdate&) = delete;

  bool IsOpen() const { return handle_ != nullptr; }
  bool Put(const PEResourceId& type, const PEResourceId& name, std::uint16_t language,
           const void* data, std::size_t size);
  // Writes the file; false when that fails (the update is gone either way).
  bool Commit();

 private:
  void* handle_;
};

// The 82-byte record that stands in for a small bitmap: the 40-byte header of header40 with
// width and height 1 and image size 4, then the first 38 bytes of table (or zeros without a
// table), then 4 zero bytes.
std::vector<std::uint8_t> OnePixelRecord(const std::uint8_t* header40, const std::uint8_t* table);

}  // namespace qv
