#pragma once

#include <exception>
#include <functional>
#include <memory>

#include "core/outlook/object_model.h"

namespace planwarte {

// Visits the first match of a Find and each following FindNext. An item that cannot be
// handled is reported and the walk goes on with the next one; a FindNext that fails ends the
// walk, since the collection can no longer say what comes next.
void WalkFoundItems(OlItems& items, std::shared_ptr<OlItem> first,
                    const std::function<void(const std::shared_ptr<OlItem>&)>& visit,
                    const std::function<void(const std::exception&)>& visit_failed,
                    const std::function<void(const std::exception&)>& next_failed);

}  // namespace planwarte
