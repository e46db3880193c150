// The sound decoders are the system's libraries, built without coverage, so libFuzzer cannot see
// which of their paths an input took. What a load ended with is counted here instead: libFuzzer
// reads every byte of this section as a coverage counter, so an input that ends a new way is kept
// and mutated further.
#pragma once
#include <cstddef>
#include <cstdint>

__attribute__((section("__libfuzzer_extra_counters"))) static uint8_t outcomeCounters[4096];

// Outcome keys are built from a few small fields; each field is `bits` wide.
struct OutcomeKey {
    unsigned key = 0;
    OutcomeKey &add(unsigned value, unsigned bits)
    {
        key = key << bits | (value & ((1u << bits) - 1));
        return *this;
    }
    void count() const { outcomeCounters[key % sizeof outcomeCounters]++; }
};

// 0 for 0, else 1 + floor(log2(n)): sizes and counts by their order of magnitude.
inline unsigned magnitude(size_t n)
{
    unsigned m = 0;
    for (; n; n >>= 1)
        m++;
    return m;
}
