// Two ways of doing the same work timed side by side, in the same run.
//
// RunPair times ours() and peer() once each per iteration, each doing `ops` operations,
// alternating which goes first, and reports both costs per operation and their ratio
// as counters: speedup = peer time / our time (above 1: we are faster).
//
// RunPairWithReset also runs, untimed, what puts each side back after its timed step
// (closing the window the step opened, say), so that every timed step starts alike.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

namespace ze::bench {

template <class Ours, class Peer, class ResetOurs, class ResetPeer>
void RunPairWithReset(benchmark::State& state, std::size_t ops_per_side, Ours&& ours,
                      Peer&& peer, ResetOurs&& reset_ours, ResetPeer&& reset_peer) {
  using Clock = std::chrono::steady_clock;
  double ours_ns = 0, peer_ns = 0;
  std::int64_t rounds = 0;
  auto timed = [](auto& step) {
    const auto t0 = Clock::now();
    step();
    return std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
  };
  for (auto _ : state) {
    // Alternate which side goes first, so that neither always runs on the other's
    // leftovers (caches, branch history, frequency).
    if ((rounds & 1) == 0) {
      ours_ns += timed(ours);
      reset_ours();
      peer_ns += timed(peer);
      reset_peer();
    } else {
      peer_ns += timed(peer);
      reset_peer();
      ours_ns += timed(ours);
      reset_ours();
    }
    ++rounds;
  }
  const double ops = static_cast<double>(rounds) * static_cast<double>(ops_per_side);
  state.counters["ours_ns"] = ours_ns / ops;
  state.counters["peer_ns"] = peer_ns / ops;
  state.counters["speedup"] = peer_ns / ours_ns;
  state.SetItemsProcessed(rounds * static_cast<std::int64_t>(ops_per_side) * 2);
}

template <class Ours, class Peer>
void RunPair(benchmark::State& state, std::size_t ops_per_side, Ours&& ours, Peer&& peer) {
  RunPairWithReset(state, ops_per_side, ours, peer, [] {}, [] {});
}

}  // namespace ze::bench
