// The Windows half of the kill trials (scripts/kill-trials.sh): writes one of the files that
// must survive a kill over and over, and checks afterwards that what a kill left is whole.
//   qv_kill_trial setup | teardown | write TARGET | check TARGET
//   TARGET: settings (qv.dat), settings9x (qv.dat saved by renames, as on Windows 95, 98 and Me,
//   and recovered as at start-up before the check), bootini (boot.ini), kernel (QVLOGO.EXE),
//   logon (QVUIHOST.EXE)
// write prints "begin N" as write N starts and "written N MS" (or "failed N MS") as it ends, so
// that the trials can time their kills from the first write and tell where each kill fell.
// check prints "whole" and exits 0, or prints what is torn and exits 1; a check that prints
// neither did not run to its end.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "boot/BootINI.h"
#include "boot/ModifyBootScreen.h"
#include "changers/ModifyLogonScreen.h"
#include "changers/PEResources.h"
#include "changers/ProgramPatch.h"
#include "core/PVoptionData.h"
#include "core/WindowsGeneration.h"
#include "image/CxImage.h"
#include "platform/Handles.h"
#include "platform/SafeFile.h"
#include "tests/boot/WinSystemFiles.h"

namespace {

std::string Work() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + "qvkill\\";
}
std::string SettingsPath() { return Work() + "qv.dat"; }
std::string Picture(bool a) { return Work() + (a ? "a.bmp" : "b.bmp"); }

// The boot.ini every trial starts from: two Windows entries and one other.
const char kBootIni[] =
    "[boot loader]\r\ntimeout=30\r\ndefault=multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS\r\n"
    "[operating systems]\r\nmulti(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"Microsoft Windows XP Professional\" /fastdetect\r\n"
    "multi(0)disk(0)rdisk(0)partition(2)\\WINNT=\"Windows 2000\" /fastdetect\r\nC:\\CMDCONS\\BOOTSECT.DAT=\"Recovery Console\" /cmdcons\r\n";

// A settings file of some size, so that a kill can land inside its writing.
qv::PVoptionData Settings(const char* language) {
  qv::PVoptionData s;
  s.languageFile = language;
  for (int i = 0; i < 3000; i++) {
    qv::SetupItem item;
    item.path = "C:\\Pictures\\holiday\\picture number " + std::to_string(i) + ".jpg";
    s.wallpaper.items.push_back(item);
  }
  return s;
}

bool MakePicture(const std::string& path, int width, int height, int seed) {
  CxImage image(uint32_t(width), uint32_t(height), 24);
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++)
      image.SetPixelColor(x, y, CxRgb(uint8_t(x * 255 / width), uint8_t((y + seed * 40) % 256), uint8_t(seed * 90)));
  return image.Save(path.c_str(), CXIMAGE_FORMAT_BMP);
}

bool Install(const std::string& name) {
  const std::string path = qvtest::SystemFolder() + "\\" + name, kept = path + ".prefix";
  if (qvtest::Exists(path) && !qvtest::Exists(kept)) MoveFileA(path.c_str(), kept.c_str());
  return CopyFileA((qvtest::FixtureFolder() + name).c_str(), path.c_str(), FALSE) != FALSE;
}

void PutBack(const std::string& name) {
  const std::string path = qvtest::SystemFolder() + "\\" + name, kept = path + ".prefix";
  qvtest::Remove(path);
  if (qvtest::Exists(kept)) MoveFileA(kept.c_str(), path.c_str());
}

int Setup() {
  CreateDirectoryA(Work().c_str(), nullptr);
  bool ok = MakePicture(Picture(true), 800, 600, 1) && MakePicture(Picture(false), 1024, 768, 2) &&
            Install("ntoskrnl.exe") && Install("logonui.exe") && Settings("I.lng").Save(SettingsPath());
  SetFileAttributesA(qv::BootINI::kPath, FILE_ATTRIBUTE_NORMAL);
  // The file as a first write leaves it: with its backup beside it.
  const qvtest::Bytes bootIni(kBootIni, kBootIni + sizeof kBootIni - 1);
  qvtest::WriteAll(qv::BootINI::kPath, bootIni);
  qvtest::WriteAll(std::string(qv::BootINI::kPath) + qv::BootINI::kBackupSuffix, bootIni);
  qvtest::Remove(qv::KernelCopyPath());
  qvtest::Remove(qv::LogonCopyPath());
  qvtest::SetLogonHostValue("");
  return ok ? 0 : 1;
}

int Teardown() {
  PutBack("ntoskrnl.exe");
  PutBack("logonui.exe");
  qvtest::Remove(qv::KernelCopyPath());
  qvtest::Remove(qv::LogonCopyPath());
  return 0;
}

bool AnyMarked(const qv::BootINI& ini) {
  const qv::BootIniSection* os = ini.OperatingSystems();
  if (!os) return false;
  for (const qv::BootIniPair& p : os->pairs)
    if (!qv::BootINI::IsBackupEntry(p) && qv::BootINI::IsMarked(p)) return true;
  return false;
}

int Write(const std::string& target) {
  qv::WindowsGeneration = qv::kWinXP;
  if (!qv::LoadChecksumService()) return 2;
  for (unsigned i = 0;; i++) {
    const bool a = i % 2 == 0;
    bool done = false;
    std::printf("begin %u\n", i);
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    if (target == "settings" || target == "settings9x") {
      platform::SetReplaceByRenaming(target == "settings9x");
      done = Settings(a ? "A.lng" : "B.lng").Save(SettingsPath());
    } else if (target == "bootini") {
      // Unmarks what is marked and marks what is not, so that every round writes the file even
      // where the last killed writer had marked it already (a mark would then change nothing).
      qv::BootINI ini;
      done = ini.Read(qv::BootINI::kPath) &&
             (AnyMarked(ini) ? ini.UnmarkAll()
                             : ini.Mark((i / 2) % 2) == qv::BootINI::MarkResult::Written);
    } else if (target == "kernel") {
      // As the boot screen list applies a change: the copy first, then boot.ini names it.
      qv::BootINI ini;
      done = qv::ChangeBootScreen(Picture(a)) && ini.Read(qv::BootINI::kPath) &&
             ini.Mark(0) != qv::BootINI::MarkResult::WriteFailed;
    } else if (target == "logon") {
      done = qv::ModifyLogonScreen(Picture(a), 0x00DC7E5A);
    } else {
      return 2;
    }
    // One line per complete write, so that the trials know the kills fell among writes.
    std::printf("%s %u %lu\n", done ? "written" : "failed", i, static_cast<unsigned long>(GetTickCount() - start));
    std::fflush(stdout);
  }
}

// A written program copy is whole: a PE image whose stored checksum is the computed one and
// that holds the resource the changer put in.
bool WholeCopy(const std::string& path, const qv::PEResourceId& type, const qv::PEResourceId& name, std::string* why) {
  const qvtest::Bytes bytes = qvtest::ReadAll(path);
  return qv::CheckPatchedImage(bytes.data(), bytes.size(), {{type, name, 0, {}, 1}}, why) ||
         // The language is the system file's own; accept whichever the copy has.
         [&] {
           std::vector<qv::PEResourceData> found;
           if (!qv::FindPEResource(bytes.data(), bytes.size(), type, name, &found) || found.empty()) return false;
           why->clear();
           return qv::CheckPatchedImage(bytes.data(), bytes.size(), {{type, name, found[0].language, {}, 1}}, why);
         }();
}

int Torn(const std::string& what) {
  std::printf("torn: %s\n", what.c_str());
  return 1;
}

int CheckBootIni(bool* namesCopy) {
  qv::BootINI ini;
  if (!ini.Read(qv::BootINI::kPath)) return Torn("boot.ini does not read");
  if (!qvtest::Exists(std::string(qv::BootINI::kPath) + qv::BootINI::kBackupSuffix))
    return Torn("boot.ini has no backup");
  const qv::BootIniSection* os = ini.OperatingSystems();
  if (!os) return Torn("boot.ini has no operating systems");
  std::set<std::string> keys;
  *namesCopy = false;
  for (const qv::BootIniPair& p : os->pairs) {
    if (qv::BootINI::IsBackupEntry(p)) continue;
    keys.insert(p.key);
    if (qv::BootINI::IsMarked(p)) *namesCopy = true;
  }
  const std::set<std::string> original = {"multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS",
                                          "multi(0)disk(0)rdisk(0)partition(2)\\WINNT", "C:\\CMDCONS\\BOOTSECT.DAT"};
  if (keys != original) return Torn("boot.ini lost an entry");
  return 0;
}

// True while another qv_kill_trial process is listed: a killed writer's handles are closed only
// once the wine server has seen it die, a moment after its Linux process is gone.
bool WriterListed() {
  qv::AutoHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry))
    if (entry.th32ProcessID != GetCurrentProcessId() && _stricmp(entry.szExeFile, "qv_kill_trial.exe") == 0)
      return true;
  return false;
}

int Check(const std::string& target) {
  const DWORD start = GetTickCount();
  bool waited = false;
  for (; WriterListed(); waited = true) {
    if (GetTickCount() - start > 10000) {
      std::printf("unchecked: a writer is still listed after 10 s\n");
      return 3;
    }
    Sleep(10);
  }
  if (waited) std::printf("waited %lu ms for the writer to go\n", static_cast<unsigned long>(GetTickCount() - start));
  std::string why;
  if (target == "settings" || target == "settings9x") {
    // The kill fell between the renames: only ".qvnew" and ".qvbak" are there.
    if (!platform::FileExists(SettingsPath())) std::printf("recovered\n");
    if (target == "settings9x" && !platform::RecoverReplacedFile(SettingsPath()))
      return Torn("qv.dat could not be recovered");
    qv::PVoptionData s;
    if (!s.Load(SettingsPath())) return Torn("qv.dat does not load");
    if (s.languageFile != "I.lng" && s.languageFile != "A.lng" && s.languageFile != "B.lng")
      return Torn("qv.dat holds other settings");
    if (s.wallpaper.items.size() != 3000) return Torn("qv.dat lost list items");
    return 0;
  }
  if (target == "logon") {
    const bool copy = qvtest::Exists(qv::LogonCopyPath());
    if (copy && !WholeCopy(qv::LogonCopyPath(), "UIFILE", 1000, &why)) return Torn("QVUIHOST.EXE: " + why);
    const std::string host = qvtest::LogonHostValue();
    if (!host.empty() && _stricmp(host.c_str(), qv::LogonCopyPath().c_str()) == 0 && !copy)
      return Torn("UIHost names a missing QVUIHOST.EXE");
    return 0;
  }
  // The boot screen's files: boot.ini, and the kernel copy that it may name.
  bool marked = false;
  if (int r = CheckBootIni(&marked)) return r;
  if (target == "bootini") return 0;
  if (target == "kernel") {
    const bool copy = qvtest::Exists(qv::KernelCopyPath());
    if (copy && !WholeCopy(qv::KernelCopyPath(), qv::kResourceTypeBitmap, 1, &why)) return Torn("QVLOGO.EXE: " + why);
    if (marked && !copy) return Torn("boot.ini names a missing QVLOGO.EXE");
    return 0;
  }
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  const std::string target = argc > 2 ? argv[2] : "";
  if (command == "setup") return Setup();
  if (command == "teardown") return Teardown();
  if (command == "write") return Write(target);
  if (command == "check") {
    const int r = Check(target);
    if (r == 0) std::printf("whole\n");
    return r;
  }
  std::fprintf(stderr, "usage: qv_kill_trial setup | teardown | write TARGET | check TARGET\n");
  return 2;
}
