// Two ways of doing the same work timed side by side, in the same run.
//
// RunPair times ours() and peer() once each per iteration, each doing `ops` operations,
// alternating which goes first, and reports both costs per operation and their ratio
// as counters: speedup = peer time / our time (above 1: we are faster).
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

namespace ze::bench {

template <class Ours, class Peer>
void RunPair(benchmark::State& state, std::size_t ops_per_side, Ours&& ours, Peer&& peer) {
  using Clock = std::chrono::steady_clock;
  double ours_ns = 0, peer_ns = 0;
  std::int64_t rounds = 0;
  for (auto _ : state) {
    // Alternate which side goes first, so that neither always runs on the other's
    // leftovers (caches, branch history, frequency).
    const bool ours_first = (rounds & 1) == 0;
    const auto t0 = Clock::now();
    if (ours_first)
      ours();
    else
      peer();
    const auto t1 = Clock::now();
    if (ours_first)
      peer();
    else
      ours();
    const auto t2 = Clock::now();
    const double first = std::chrono::duration<double, std::nano>(t1 - t0).count();
    const double second = std::chrono::duration<double, std::nano>(t2 - t1).count();
    ours_ns += ours_first ? first : second;
    peer_ns += ours_first ? second : first;
    ++rounds;
  }
  const double ops = static_cast<double>(rounds) * static_cast<double>(ops_per_side);
  state.counters["ours_ns"] = ours_ns / ops;
  state.counters["peer_ns"] = peer_ns / ops;
  state.counters["speedup"] = peer_ns / ours_ns;
  state.SetItemsProcessed(rounds * static_cast<std::int64_t>(ops_per_side) * 2);
}

}  // namespace ze::bench
