// Activation by ProgID (the first creation, which loads the library, and the ones
// after it) and one Invoke of a property get, through the test component library
// registered in a store of the benchmark's own.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "frame/com/activation.h"
#include "frame/com/dispatch.h"
#include "frame/registry/store.h"
#include "tests/com/test_component/contatore_ids.h"

namespace {

using namespace ze;
using namespace ze::com;

void CreateFirst(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    CoFreeUnusedLibraries();  // nothing alive: the library goes
    state.ResumeTiming();
    ComPtr<IDispatch> object;
    if (CreateObject(zeprova::kProgIdContatore, &object) != S_OK) state.SkipWithError("create");
    benchmark::DoNotOptimize(object.Get());
  }
}
BENCHMARK(CreateFirst)->Unit(benchmark::kMicrosecond);

void CreateSubsequent(benchmark::State& state) {
  ComPtr<IDispatch> keep;  // keeps the library loaded
  if (CreateObject(zeprova::kProgIdContatore, &keep) != S_OK) state.SkipWithError("create");
  for (auto _ : state) {
    ComPtr<IDispatch> object;
    if (CreateObject(zeprova::kProgIdContatore, &object) != S_OK) state.SkipWithError("create");
    benchmark::DoNotOptimize(object.Get());
  }
}
BENCHMARK(CreateSubsequent)->Unit(benchmark::kMicrosecond);

void CreateByClsid(benchmark::State& state) {
  ComPtr<IDispatch> keep;
  if (CreateObject(zeprova::kProgIdContatore, &keep) != S_OK) state.SkipWithError("create");
  for (auto _ : state) {
    ComPtr<IDispatch> object;
    CoCreateInstance(zeprova::kClsidContatore, nullptr, IID_IDispatch, object.PutVoid());
    benchmark::DoNotOptimize(object.Get());
  }
}
BENCHMARK(CreateByClsid)->Unit(benchmark::kMicrosecond);

void InvokePropertyGet(benchmark::State& state) {
  ComPtr<IDispatch> object;
  if (CreateObject(zeprova::kProgIdContatore, &object) != S_OK) state.SkipWithError("create");
  DISPPARAMS none;
  Variant result;
  for (auto _ : state) {
    object->Invoke(zeprova::dispid::kValore, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result,
                   nullptr, nullptr);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(InvokePropertyGet);

void InvokeByName(benchmark::State& state) {
  ComPtr<IDispatch> object;
  if (CreateObject(zeprova::kProgIdContatore, &object) != S_OK) state.SkipWithError("create");
  DISPPARAMS none;
  Variant result;
  const char16_t* name = u"Valore";
  for (auto _ : state) {
    DISPID id = 0;
    object->GetIDsOfNames(IID_NULL, &name, 1, 0, &id);
    object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(InvokeByName);

}  // namespace

int main(int argc, char** argv) {
  // A store of our own, with the test library registered in it.
  char folder[] = "/tmp/zekalendo-bench-XXXXXX";
  if (::mkdtemp(folder) == nullptr) return 1;
  const std::string store = std::string(folder) + "/registro.db";
  ::setenv("ZE_REGISTRO", store.c_str(), 1);
  if (ze::com::RegisterServerLibrary(ZE_TEST_COMPONENT) != ze::com::S_OK) {
    std::fprintf(stderr, "cannot register %s: %s\n", ZE_TEST_COMPONENT,
                 ze::com::LastActivationError().c_str());
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ze::com::CoFreeUnusedLibraries();
  ze::registry::ResetDefaultStore();
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  return 0;
}
