#pragma once

#include <cstdint>
#include <memory>

#include "core/outlook/safe_item_library.h"

// Reads the body and the label colour of this source's items: the DESCRIPTION, and the
// label nearest to the item's COLOR. Nothing here is guarded, so every class is available.
namespace planwarte {

// The property tag the label colour's name maps to: a named property tag, above 0x80000000.
inline constexpr std::int32_t kIcalLabelColourTag = static_cast<std::int32_t>(0x80550000u);

class IcalSafeItemLibrary : public SafeItemLibrary {
  public:
    std::unique_ptr<SafeAppointmentItem> CreateSafeAppointmentItem() override;
    std::unique_ptr<SafeTaskItem> CreateSafeTaskItem() override;
    std::unique_ptr<MapiUtils> CreateMapiUtils() override;
};

}  // namespace planwarte
