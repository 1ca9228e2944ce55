#include "adapters/ical/compiled_filters.h"

#include <mutex>
#include <unordered_map>

namespace planwarte {

namespace {

// A page asks a few hundred filters; paging through months adds more. The whole store is
// dropped when it grows past this, which costs one reading of each filter in use.
constexpr std::size_t kMaxKeptFilters = 4096;

ItemFilterRange SearchRange(const ItemFilter& filter) {
    ItemFilterRange range = RangeOf(filter);
    if (range.bounded) {
        range.from = DateTime(range.from.value - 1.0);
        range.to = DateTime(range.to.value + 1.0);
    }
    return range;
}

}  // namespace

std::shared_ptr<const CompiledFilter> CompiledFilterOf(const std::string& text) {
    static std::mutex mutex;
    static std::unordered_map<std::string, std::shared_ptr<const CompiledFilter>> kept;
    {
        std::lock_guard lock(mutex);
        if (auto found = kept.find(text); found != kept.end()) {
            return found->second;
        }
    }
    // Read outside the lock: another thread's search need not wait for this one.
    ItemFilter filter = ParseItemFilter(text);
    const ItemFilterRange range = SearchRange(filter);
    auto compiled =
        std::make_shared<const CompiledFilter>(CompiledFilter{std::move(filter), range});
    std::lock_guard lock(mutex);
    if (kept.size() >= kMaxKeptFilters) {
        kept.clear();
    }
    kept.emplace(text, compiled);
    return compiled;
}

}  // namespace planwarte
