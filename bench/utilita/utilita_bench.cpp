// One key read from a 1,000-line INI file: zeUtilita's LeggiINI (the whole path: the
// Windows-form name mapped through the registry store, the file read, the lookup, the
// trimming) beside inih parsing the same file for the same key, in one run. The key
// sits in the last section, so both read nearly all of the file.
#include <benchmark/benchmark.h>
#include <ini.h>
#include <stdlib.h>
#include <strings.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "frame/registry/store.h"
#include "utilita/ze_utilita.h"

namespace {

std::string native_file;

void LeggiIniOneKey(benchmark::State& state) {
  zekalendo::zeUtilita utilita;
  ze::String file = u"C:" + ze::FromUtf8(native_file);
  for (char16_t& c : file)
    if (c == u'/') c = u'\\';
  ze::String sezione = u"Sezione49", chiave = u"chiave19", predefinito = u"";
  for (auto _ : state) {
    ze::String valore = utilita.LeggiINI(file, sezione, chiave, predefinito);
    if (valore.empty()) state.SkipWithError("key not found");
    benchmark::DoNotOptimize(valore);
  }
}
BENCHMARK(LeggiIniOneKey)->Unit(benchmark::kMicrosecond);

struct Wanted {
  const char* section;
  const char* key;
  std::string value;
  bool found = false;
};

int Handler(void* user, const char* section, const char* name, const char* value) {
  auto* wanted = static_cast<Wanted*>(user);
  if (!wanted->found && ::strcasecmp(section, wanted->section) == 0 &&
      ::strcasecmp(name, wanted->key) == 0) {
    wanted->value = value;
    wanted->found = true;
  }
  return 1;
}

void InihOneKey(benchmark::State& state) {
  for (auto _ : state) {
    Wanted wanted{"Sezione49", "chiave19", {}};
    if (::ini_parse(native_file.c_str(), Handler, &wanted) != 0 || !wanted.found)
      state.SkipWithError("key not found");
    benchmark::DoNotOptimize(wanted.value);
  }
}
BENCHMARK(InihOneKey)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  char folder[] = "/tmp/zekalendo-bench-XXXXXX";
  if (::mkdtemp(folder) == nullptr) return 1;
  ::setenv("ZE_REGISTRO", (std::string(folder) + "/registro.db").c_str(), 1);
  native_file = std::string(folder) + "/programma.ini";
  {
    // 50 sections of a header, a comment and 19 keys make 1,000 lines, as a program's
    // settings file might look.
    std::ofstream out(native_file, std::ios::binary);
    for (int s = 0; s < 50; ++s) {
      out << "[Sezione" << s << "]\r\n; impostazioni del gruppo " << s << "\r\n";
      for (int k = 1; k <= 18; ++k)
        out << "chiave" << k << " = valore numero " << s * 100 + k << "\r\n";
      out << "chiave19 = \"C:\\dati\\archivio" << s << ".db\"\r\n";
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ze::registry::ResetDefaultStore();
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  return 0;
}
