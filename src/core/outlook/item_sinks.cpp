#include "core/outlook/item_sinks.h"

#include <atomic>
#include <string>

namespace planwarte {

namespace {

std::atomic<int> next_cookie{1};

}  // namespace

int ItemSinks::Advise(OlItemsEvents* sink) {
    if (sink == nullptr) {
        throw OutlookError("Advise", "no sink");
    }
    const int cookie = next_cookie++;
    std::lock_guard lock(mutex_);
    sinks_[cookie] = sink;
    return cookie;
}

void ItemSinks::Unadvise(int cookie) {
    std::lock_guard lock(mutex_);
    if (sinks_.erase(cookie) == 0) {
        throw OutlookError("Unadvise", "no connection " + std::to_string(cookie));
    }
}

std::vector<OlItemsEvents*> ItemSinks::Sinks() const {
    std::lock_guard lock(mutex_);
    std::vector<OlItemsEvents*> sinks;
    sinks.reserve(sinks_.size());
    for (const auto& [cookie, sink] : sinks_) {
        sinks.push_back(sink);
    }
    return sinks;
}

void ItemSinks::ItemAdd(const std::shared_ptr<OlItem>& item) const {
    for (OlItemsEvents* sink : Sinks()) {
        sink->ItemAdd(item);
    }
}

void ItemSinks::ItemChange(const std::shared_ptr<OlItem>& item) const {
    for (OlItemsEvents* sink : Sinks()) {
        sink->ItemChange(item);
    }
}

void ItemSinks::ItemRemove() const {
    for (OlItemsEvents* sink : Sinks()) {
        sink->ItemRemove();
    }
}

}  // namespace planwarte
