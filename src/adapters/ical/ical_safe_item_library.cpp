#include "adapters/ical/ical_safe_item_library.h"

#include "adapters/ical/ical_item_objects.h"
#include "core/outlook/item_access.h"

namespace planwarte {

namespace {

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The page asks for the label's tag once per entry, nearly always in the spelling it was
// defined in, so the exact comparison comes first.
bool SameGuid(const std::string& a, const std::string& b) {
    if (a == b) {
        return true;
    }
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

template <typename Interface>
class IcalSafeItem : public Interface {
  public:
    void SetItem(std::shared_ptr<OlItem> item) override { item_ = std::move(item); }
    std::shared_ptr<OlItem> Item() const override { return item_; }
    std::string Body() const override { return Own("Body").SafeBody(); }

  protected:
    const IcalItemBase& Own(const char* member) const {
        const auto* own = dynamic_cast<const IcalItemBase*>(item_.get());
        if (own == nullptr) {
            throw OutlookError(member, item_ ? "not an item of the calendar files" : "no item set");
        }
        return *own;
    }

  private:
    std::shared_ptr<OlItem> item_;
};

class IcalSafeAppointment : public IcalSafeItem<SafeAppointmentItem> {
  public:
    std::int32_t GetIDsFromNames(const std::string& property_set_guid,
                                 std::int32_t property_id) override {
        const bool is_label = SameGuid(property_set_guid, kLabelColourPropertySet) &&
                              property_id == kLabelColourPropertyId;
        return is_label ? kIcalLabelColourTag : 0;
    }

    Variant Fields(std::int32_t property_tag) override {
        const IcalItemBase& item = Own("Fields");
        if (property_tag != kIcalLabelColourTag) {
            return Variant();
        }
        return static_cast<std::int32_t>(item.LabelColour());
    }
};

class IcalSafeTask : public IcalSafeItem<SafeTaskItem> {};

// The files hold no resources between reads.
class IcalMapiUtils : public MapiUtils {
  public:
    void Cleanup() override {}
};

}  // namespace

std::unique_ptr<SafeAppointmentItem> IcalSafeItemLibrary::CreateSafeAppointmentItem() {
    return std::make_unique<IcalSafeAppointment>();
}

std::unique_ptr<SafeTaskItem> IcalSafeItemLibrary::CreateSafeTaskItem() {
    return std::make_unique<IcalSafeTask>();
}

std::unique_ptr<MapiUtils> IcalSafeItemLibrary::CreateMapiUtils() {
    return std::make_unique<IcalMapiUtils>();
}

}  // namespace planwarte
