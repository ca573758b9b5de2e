#include "changers/ProgramPatch.h"

#include <windows.h>

#include <cstring>

#include "changers/PEChecksum.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/SystemFunctions.h"

namespace qv {
namespace {

MapFileAndCheckSumFn g_checksumService = nullptr;

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

bool ReadAt(HANDLE file, DWORD offset, void* buffer, DWORD size) {
  DWORD got = 0;
  return SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) !=
             INVALID_SET_FILE_POINTER &&
         ReadFile(file, buffer, size, &got, nullptr) && got == size;
}

bool WriteAt(HANDLE file, DWORD offset, const void* buffer, DWORD size) {
  DWORD put = 0;
  return SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) !=
             INVALID_SET_FILE_POINTER &&
         WriteFile(file, buffer, size, &put, nullptr) && put == size;
}

struct LanguageList {
  std::vector<WORD> languages;
};

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param) {
  reinterpret_cast<LanguageList*>(param)->languages.push_back(language);
  return TRUE;
}

// A resource type or name as the resource calls take it; the text lives in id.
LPCSTR AsResourceName(const PEResourceId& id) {
  return id.name.empty() ? MAKEINTRESOURCEA(id.id) : id.name.c_str();
}

}  // namespace

bool LoadChecksumService() {
  // Its library stays loaded for the life of the process.
  g_checksumService =
      platform::LoadSystemFunction<MapFileAndCheckSumFn>(platform::SystemFunction::kMapFileAndCheckSumA);
  if (!g_checksumService) {
    QV_LOG();
    return false;
  }
  return true;
}

MapFileAndCheckSumFn SetChecksumService(MapFileAndCheckSumFn service) {
  MapFileAndCheckSumFn previous = g_checksumService;
  g_checksumService = service;
  return previous;
}

MapFileAndCheckSumFn ChecksumService() { return g_checksumService; }

bool RepairFileChecksum(const std::string& path) {
  if (!g_checksumService) {
    QV_LOG();
    return false;
  }
  unsigned long headerSum = 0, computedSum = 0;
  if (g_checksumService(path.c_str(), &headerSum, &computedSum) != 0) {
    QV_LOG();
    return false;
  }
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    QV_LOG();
    return false;
  }
  DWORD ntOffset = 0;
  std::uint8_t headers[kNtHeadersSize];
  if (!ReadAt(file.get(), kNtHeaderOffsetField, &ntOffset, sizeof ntOffset) ||
      !ReadAt(file.get(), ntOffset, headers, sizeof headers)) {
    QV_LOG();
    return false;
  }
  if (headers[0] != 'P' || headers[1] != 'E' || headers[2] != 0 || headers[3] != 0) {
    QV_LOG();
    return false;
  }
  for (int b = 0; b < 4; ++b)
    headers[kChecksumInNtHeaders + b] = static_cast<std::uint8_t>(computedSum >> (8 * b));
  if (!WriteAt(file.get(), ntOffset, headers, sizeof headers) || !FlushFileBuffers(file.get())) {
    QV_LOG();
    return false;
  }
  return true;
}

bool CheckResLanguageID(const std::string& modulePath, const PEResourceId& type,
                        const PEResourceId& name, std::uint16_t* language) {
  *language = static_cast<std::uint16_t>(GetSystemDefaultLCID() & 0xFFFF);
  // As a data file: the program is never run, and a 32-bit file loads into a 64-bit process.
  HMODULE module = LoadLibraryExA(modulePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) {
    QV_LOG();
    return false;
  }
  *language = 0;
  LanguageList list;
  EnumResourceLanguagesA(module, AsResourceName(type), AsResourceName(name), CollectLanguage,
                         reinterpret_cast<LONG_PTR>(&list));
  FreeLibrary(module);
  if (list.languages.empty()) {
    QV_LOG();
    return false;
  }
  *language = list.languages.front();
  return true;
}

bool VerifyPatchedFile(const std::string& path, const std::vector<ExpectedResource>& expected) {
  std::string bytes;
  if (!platform::ReadFileBytes(path, bytes)) {
    QV_LOG_MSG(path.c_str());
    return false;
  }
  std::string why;
  if (!CheckPatchedImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                         expected, &why)) {
    QV_LOG_MSG(why.c_str());
    return false;
  }
  return true;
}

bool ReadModuleResource(const std::string& modulePath, const PEResourceId& type,
                        const PEResourceId& name, std::vector<std::uint8_t>* bytes) {
  std::string file;
  if (!platform::ReadFileBytes(modulePath, file)) {
    QV_LOG_MSG(modulePath.c_str());
    return false;
  }
  std::vector<PEResourceData> found;
  if (!FindPEResource(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), type, name,
                      &found) ||
      found.empty()) {
    QV_LOG_MSG(modulePath.c_str());
    return false;
  }
  bytes->assign(found.front().data, found.front().data + found.front().size);
  return true;
}

bool DeleteFileForced(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(path.c_str()) != FALSE;
}

bool CopyFileFresh(const std::string& source, const std::string& target) {
  if (!DeleteFileForced(target) || !CopyFileA(source.c_str(), target.c_str(), FALSE)) {
    QV_LOG_MSG(target.c_str());
    return false;
  }
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  return true;
}

bool ReplaceFileWith(const std::string& work, const std::string& target) {
  if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!MoveFileExA(work.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    QV_LOG_MSG(target.c_str());
    return false;
  }
  return true;
}

DataModule::DataModule(const std::string& path)
    : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}

DataModule::~DataModule() {
  if (module_) FreeLibrary(static_cast<HMODULE>(module_));
}

bool DataModule::Resource(const PEResourceId& type, const PEResourceId& name,
                          const std::uint8_t** data, std::size_t* size) const {
  HMODULE module = static_cast<HMODULE>(module_);
  if (!module) return false;
  HRSRC found = FindResourceA(module, AsResourceName(name), AsResourceName(type));
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* locked = loaded ? LockResource(loaded) : nullptr;
  if (!locked) return false;
  *data = static_cast<const std::uint8_t*>(locked);
  *size = SizeofResource(module, found);
  return true;
}

ResourceUpdate::ResourceUpdate(const std::string& path)
    : handle_(BeginUpdateResourceA(path.c_str(), FALSE)) {}

ResourceUpdate::~ResourceUpdate() {
  if (handle_) EndUpdateResourceA(handle_, TRUE);
}

bool ResourceUpdate::Put(const PEResourceId& type, const PEResourceId& name,
                         std::uint16_t language, const void* data, std::size_t size) {
  return handle_ && size <= 0xFFFFFFFFu &&
         UpdateResourceA(handle_, AsResourceName(type), AsResourceName(name), language,
                         const_cast<void*>(data), static_cast<DWORD>(size)) != FALSE;
}

bool ResourceUpdate::Commit() {
  if (!handle_) return false;
  BOOL ok = EndUpdateResourceA(handle_, FALSE);
  handle_ = nullptr;
  return ok != FALSE;
}

std::vector<std::uint8_t> OnePixelRecord(const std::uint8_t* header40, const std::uint8_t* table) {
  std::vector<std::uint8_t> record(82, 0);
  std::memcpy(record.data(), header40, 40);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int b = 0; b < 4; ++b) record[at + b] = static_cast<std::uint8_t>(v >> (8 * b));
  };
  put32(4, 1);   // width
  put32(8, 1);   // height
  put32(20, 4);  // image size: one row of one pixel, padded to 4 bytes
  if (table) std::memcpy(record.data() + 40, table, 38);
  return record;
}

}  // namespace qv
