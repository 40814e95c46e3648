// What the five-second due check keeps of a reminder between ticks: its
// next occurrence and its time-left text, each with the inputs it was made
// from and the span of "now" (whole milliseconds) over which it holds.
// Editors, postponements and the list change records without telling the
// due check, so an entry is reused only when the inputs themselves still
// match, never on trust.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "platform/datetime.h"

struct TDueCache {
    static constexpr int64_t NoMs = std::numeric_limits<int64_t>::min();

    // The next occurrence and its inputs: the kind, the bits of WakeTime
    // and the repeat bytes (which hold the due date too); 64 bytes side by
    // side, as every tick reads them for every reminder.
    int64_t NextFromMs = std::numeric_limits<int64_t>::max();
    int64_t NextToMs = NoMs;
    TDateTime Next = 0;
    uint64_t WakeBits = 0;
    std::array<uint8_t, 31> RepeatData{};
    uint8_t Period = 0;

    // The time-left text, made for the bits of its target (NextAlert) and
    // for one set of unit words (0: none yet).
    int64_t TextFromMs = std::numeric_limits<int64_t>::max();
    int64_t TextToMs = NoMs;
    uint64_t TextWords = 0;
    uint64_t TextTargetBits = 0;
    std::string Text;

    TDueCache() = default;
    // A copy is another record (restoring copies records over others):
    // it starts with nothing kept.
    TDueCache(const TDueCache&) noexcept {}
    TDueCache& operator=(const TDueCache&) noexcept {
        Forget();
        return *this;
    }

    void Forget() noexcept {
        NextFromMs = std::numeric_limits<int64_t>::max();
        NextToMs = NoMs;
        TextWords = 0;
        TextFromMs = std::numeric_limits<int64_t>::max();
        TextToMs = NoMs;
        Text.clear();
    }
};

// A record's place for its cache, filled on the first tick that examines the
// record: a store loaded only to be listed or changed (olvoctl) never pays
// for it. A copy is another record and starts empty.
class TDueCacheSlot {
public:
    TDueCacheSlot() = default;
    TDueCacheSlot(const TDueCacheSlot&) noexcept {}
    TDueCacheSlot& operator=(const TDueCacheSlot&) noexcept {
        FCache.reset();
        return *this;
    }
    TDueCacheSlot(TDueCacheSlot&&) noexcept = default;
    TDueCacheSlot& operator=(TDueCacheSlot&&) noexcept = default;

    TDueCache& Get() {
        if (!FCache) FCache = std::make_unique<TDueCache>();
        return *FCache;
    }

private:
    std::unique_ptr<TDueCache> FCache;
};

