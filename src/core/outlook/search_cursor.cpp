#include "core/outlook/search_cursor.h"

namespace planwarte {

std::shared_ptr<OlItem> SearchCursor::Begin(std::size_t count, MakeItem make) {
    searching_ = true;
    count_ = count;
    next_ = 0;
    make_ = std::move(make);
    return Next();
}

void SearchCursor::Clear() {
    searching_ = false;
    count_ = 0;
    next_ = 0;
    make_ = nullptr;
}

std::shared_ptr<OlItem> SearchCursor::Next() {
    if (!searching_) {
        throw OutlookError("FindNext", "no Find before");
    }
    if (next_ >= count_) {
        return nullptr;
    }
    return make_(next_++);
}

}  // namespace planwarte
