// The boot.ini reader on any bytes, and the model's own promises: what is written reads back
// to the same model, and marking then unmarking in memory never crashes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "boot/BootINI.h"
#include "platform/Log.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void Quiet(const char*) {}

bool SameModel(const qv::BootINI& a, const qv::BootINI& b) {
  if (a.sections().size() != b.sections().size()) return false;
  for (std::size_t s = 0; s < a.sections().size(); ++s) {
    const auto& x = a.sections()[s];
    const auto& y = b.sections()[s];
    if (x.name != y.name || x.pairs.size() != y.pairs.size()) return false;
    for (std::size_t p = 0; p < x.pairs.size(); ++p)
      if (x.pairs[p].key != y.pairs[p].key || x.pairs[p].value != y.pairs[p].value) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qv::SetLogSink(&Quiet);
  qv::BootINI ini;
  bool ok = ini.Parse(reinterpret_cast<const char*>(data), size);
  for (const auto& section : ini.sections())
    for (const auto& pair : section.pairs) Require(!ok || !pair.key.empty());
  if (!ok) return 0;
  std::string written = ini.Serialize();
  qv::BootINI again;
  // Names and pairs that survive a write must read back unchanged. A name holding "]" or a
  // key holding "=" or ";" can't be written back faithfully, so only plain models are compared.
  bool plain = true;
  for (const auto& section : ini.sections()) {
    if (section.name.find_first_of("[]\r\n") != std::string::npos) plain = false;
    for (const auto& pair : section.pairs)
      if (pair.key.find_first_of("=;[") != std::string::npos ||
          pair.value.find_first_of(";\r\n") != std::string::npos)
        plain = false;
  }
  Require(again.Parse(written.data(), written.size()) || !plain);
  if (plain) Require(SameModel(ini, again));
  for (const auto& section : ini.sections())
    for (const auto& pair : section.pairs) {
      std::string name = qv::BootINI::DisplayName(pair.value);
      Require(name.size() <= pair.value.size());
      qv::BootINI::IsMarked(pair);
      qv::BootINI::IsBackupEntry(pair);
    }
  // Marking in memory; the write goes to a folder that does not exist and fails.
  if (qv::BootIniSection* os = ini.OperatingSystems()) {
    for (std::size_t i = 0; i < os->pairs.size() && i < 4; ++i) {
      std::size_t before = os->pairs.size();
      qv::BootINI::MarkResult r = ini.Mark(i, "/nonexistent-qv-folder/boot.ini");
      Require(r != qv::BootINI::MarkResult::Written);
      Require(os->pairs.size() == before || os->pairs.size() == before + 1);
      if (r == qv::BootINI::MarkResult::WriteFailed) {
        // The entry names our kernel file after its (first) "/KERNEL=".
        std::string upper = os->pairs[i].value;
        for (char& c : upper)
          if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        Require(upper.find("/KERNEL=QVLOGO.EXE") != std::string::npos);
      }
    }
  }
  return 0;
}
