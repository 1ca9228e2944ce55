#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "core/outlook/object_model.h"

// Reads the parts of an item that the object model guards: its body and its named
// properties (the label colour among them).
namespace planwarte {

// The library or one of its classes is not available.
class SafeItemUnavailable : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class SafeItem {
  public:
    virtual ~SafeItem() = default;
    // Points the object at an item; setting it again switches to another item.
    virtual void SetItem(std::shared_ptr<OlItem> item) = 0;
    virtual std::shared_ptr<OlItem> Item() const = 0;
    virtual std::string Body() const = 0;
};

class SafeAppointmentItem : public SafeItem {
  public:
    // The property tag of a named property; 0 when the name has none.
    virtual std::int32_t GetIDsFromNames(const std::string& property_set_guid,
                                         std::int32_t property_id) = 0;
    virtual Variant Fields(std::int32_t property_tag) = 0;
};

class SafeTaskItem : public SafeItem {};

class MapiUtils {
  public:
    virtual ~MapiUtils() = default;
    // Releases the library's resources.
    virtual void Cleanup() = 0;
};

// The ProgIDs under which the classes are looked up.
inline constexpr const char* kSafeAppointmentProgID = "VIRoriMKF.MKFSafeAppointmentItem";
inline constexpr const char* kSafeTaskProgID = "VIRoriMKF.MKFSafeTaskItem";
inline constexpr const char* kMapiUtilsProgID = "VIRoriMKF.MKFMAPIUtils";

class SafeItemLibrary {
  public:
    virtual ~SafeItemLibrary() = default;
    // Each throws SafeItemUnavailable when its class is not registered.
    virtual std::unique_ptr<SafeAppointmentItem> CreateSafeAppointmentItem() = 0;
    virtual std::unique_ptr<SafeTaskItem> CreateSafeTaskItem() = 0;
    virtual std::unique_ptr<MapiUtils> CreateMapiUtils() = 0;
};

}  // namespace planwarte
