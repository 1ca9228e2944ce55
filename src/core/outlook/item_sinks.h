#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "core/outlook/object_model.h"

// The connection point of one Items collection: the sinks advised on it by their cookies,
// and the delivery of an item event to those connected at the time.
namespace planwarte {

class ItemSinks {
  public:
    // Cookies are unique across every collection, so that one of another collection is no
    // connection here. Throws OutlookError for a null sink.
    int Advise(OlItemsEvents* sink);
    // Throws OutlookError for a cookie that is not connected (any more).
    void Unadvise(int cookie);
    std::vector<OlItemsEvents*> Sinks() const;

    // Delivered outside the lock, so that a sink may call back into the collection.
    void ItemAdd(const std::shared_ptr<OlItem>& item) const;
    void ItemChange(const std::shared_ptr<OlItem>& item) const;
    void ItemRemove() const;

  private:
    mutable std::mutex mutex_;
    std::map<int, OlItemsEvents*> sinks_;
};

}  // namespace planwarte
