#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/outlook/object_model.h"

namespace planwarte::testing_support {

// Records the item events in order: "add <subject>", "change <subject>", "remove".
class RecordingItemsSink : public OlItemsEvents {
  public:
    void ItemAdd(const std::shared_ptr<OlItem>& item) override {
        events.push_back("add " + item->Subject());
    }
    void ItemChange(const std::shared_ptr<OlItem>& item) override {
        events.push_back("change " + item->Subject());
    }
    void ItemRemove() override { events.push_back("remove"); }
    std::vector<std::string> events;
};

}  // namespace planwarte::testing_support
