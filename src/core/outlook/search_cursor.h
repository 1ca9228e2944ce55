#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "core/outlook/object_model.h"

// The state of Find and FindNext on an Items collection: the matches of the last Find in
// sort order, handed out one at a time. A match becomes an item object only when it is
// handed out, so a search read only for its first match makes one object.
namespace planwarte {

class SearchCursor {
  public:
    using MakeItem = std::function<std::shared_ptr<OlItem>(std::size_t index)>;

    // Starts a search over `count` matches, the i-th made by `make(i)`; answers the first,
    // null when there is none.
    std::shared_ptr<OlItem> Begin(std::size_t count, MakeItem make);

    // Starts a search over the matches held; `make` turns one into its item object.
    template <typename Match, typename Make>
    std::shared_ptr<OlItem> Begin(std::vector<Match> matches, Make make) {
        auto held = std::make_shared<const std::vector<Match>>(std::move(matches));
        const std::size_t count = held->size();
        return Begin(count, [held, make](std::size_t index) { return make((*held)[index]); });
    }

    // Forgets the last search, for a Find that failed: FindNext fails until the next Find.
    void Clear();

    // The next match; null after the last one. Throws OutlookError without a Find before.
    std::shared_ptr<OlItem> Next();

  private:
    bool searching_ = false;
    std::size_t count_ = 0;
    std::size_t next_ = 0;
    MakeItem make_;
};

}  // namespace planwarte
