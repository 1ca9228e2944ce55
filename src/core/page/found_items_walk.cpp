#include "core/page/found_items_walk.h"

namespace planwarte {

void WalkFoundItems(OlItems& items, std::shared_ptr<OlItem> first,
                    const std::function<void(const std::shared_ptr<OlItem>&)>& visit,
                    const std::function<void(const std::exception&)>& visit_failed,
                    const std::function<void(const std::exception&)>& next_failed) {
    std::shared_ptr<OlItem> item = std::move(first);
    while (item) {
        try {
            visit(item);
        } catch (const std::exception& error) {
            visit_failed(error);
        }
        try {
            item = items.FindNext();
        } catch (const std::exception& error) {
            next_failed(error);
            return;
        }
    }
}

}  // namespace planwarte
