#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "core/outlook/safe_item_library.h"

// A safe-item library over the fake items: it reads the body and the label colour that the
// test gave the item. An occurrence of a series has neither of its own (its master holds
// them), so a reader has to go to the master as it must with the real library.
namespace planwarte {

enum class FakeSafeClass { Appointment, Task, MapiUtils };

// The property tag the label colour's name maps to. Like every named property tag it lies
// above 0x80000000, so it is negative as a 32-bit integer, and it carries no type bits.
inline constexpr std::int32_t kFakeLabelColourTag = static_cast<std::int32_t>(0x80550000u);

class FakeSafeItemLibrary : public SafeItemLibrary {
  public:
    FakeSafeItemLibrary();

    // Each class is registered at first; an unregistered one throws SafeItemUnavailable.
    void SetAvailable(FakeSafeClass safe_class, bool available);
    // Body, GetIDsFromNames and Fields throw OutlookError while set.
    void SetReadsFail(bool fail);
    int CleanupCount() const;

    std::unique_ptr<SafeAppointmentItem> CreateSafeAppointmentItem() override;
    std::unique_ptr<SafeTaskItem> CreateSafeTaskItem() override;
    std::unique_ptr<MapiUtils> CreateMapiUtils() override;

    // Shared by the library and the objects it made, which may outlive it.
    struct Shared {
        mutable std::mutex mutex;
        bool appointment_available = true;
        bool task_available = true;
        bool utils_available = true;
        bool reads_fail = false;
        int cleanups = 0;
    };

  private:
    std::shared_ptr<Shared> shared_;
};

}  // namespace planwarte
