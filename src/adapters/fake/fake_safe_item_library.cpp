#include "adapters/fake/fake_safe_item_library.h"

#include <cctype>

#include "adapters/fake/fake_items.h"

namespace planwarte {

namespace {

constexpr const char* kLabelPropertySet = "{00062002-0000-0000-C000-000000000046}";
constexpr std::int32_t kLabelPropertyId = 0x8214;

using Shared = FakeSafeItemLibrary::Shared;

bool ReadsFail(const Shared& shared) {
    std::lock_guard lock(shared.mutex);
    return shared.reads_fail;
}

bool SameGuid(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The item part both safe item classes share.
template <typename Interface>
class FakeSafeItem : public Interface {
  public:
    explicit FakeSafeItem(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

    void SetItem(std::shared_ptr<OlItem> item) override { item_ = std::move(item); }
    std::shared_ptr<OlItem> Item() const override { return item_; }

    std::string Body() const override { return FakeItem("Body").SafeBody(); }

  protected:
    const FakeItemBase& FakeItem(const char* member) const {
        if (ReadsFail(*shared_)) {
            throw OutlookError(member, "injected failure");
        }
        const FakeItemBase* fake = AsFakeItem(item_.get());
        if (!fake) {
            throw OutlookError(member, item_ ? "not an item of this source" : "no item set");
        }
        return *fake;
    }

    std::shared_ptr<Shared> shared_;

  private:
    std::shared_ptr<OlItem> item_;
};

class FakeSafeAppointment : public FakeSafeItem<SafeAppointmentItem> {
  public:
    using FakeSafeItem::FakeSafeItem;

    std::int32_t GetIDsFromNames(const std::string& property_set_guid,
                                 std::int32_t property_id) override {
        if (ReadsFail(*shared_)) {
            throw OutlookError("GetIDsFromNames", "injected failure");
        }
        const bool is_label =
            SameGuid(property_set_guid, kLabelPropertySet) && property_id == kLabelPropertyId;
        return is_label ? kFakeLabelColourTag : 0;
    }

    // Only the tag exactly as GetIDsFromNames gave it names the label; any other tag, the
    // label's with type bits added among them, reads as empty.
    Variant Fields(std::int32_t property_tag) override {
        const FakeItemBase& item = FakeItem("Fields");
        if (property_tag != kFakeLabelColourTag) {
            return Variant();
        }
        const std::optional<int> colour = item.LabelColour();
        return colour ? Variant(static_cast<std::int32_t>(*colour)) : Variant();
    }
};

class FakeSafeTask : public FakeSafeItem<SafeTaskItem> {
  public:
    using FakeSafeItem::FakeSafeItem;
};

class FakeMapiUtils : public MapiUtils {
  public:
    explicit FakeMapiUtils(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

    void Cleanup() override {
        std::lock_guard lock(shared_->mutex);
        ++shared_->cleanups;
    }

  private:
    std::shared_ptr<Shared> shared_;
};

void RequireAvailable(const Shared& shared, bool Shared::*available, const char* prog_id) {
    std::lock_guard lock(shared.mutex);
    if (!(shared.*available)) {
        throw SafeItemUnavailable(std::string("class not registered: ") + prog_id);
    }
}

}  // namespace

FakeSafeItemLibrary::FakeSafeItemLibrary() : shared_(std::make_shared<Shared>()) {}

void FakeSafeItemLibrary::SetAvailable(FakeSafeClass safe_class, bool available) {
    std::lock_guard lock(shared_->mutex);
    switch (safe_class) {
        case FakeSafeClass::Appointment:
            shared_->appointment_available = available;
            break;
        case FakeSafeClass::Task:
            shared_->task_available = available;
            break;
        case FakeSafeClass::MapiUtils:
            shared_->utils_available = available;
            break;
    }
}

void FakeSafeItemLibrary::SetReadsFail(bool fail) {
    std::lock_guard lock(shared_->mutex);
    shared_->reads_fail = fail;
}

int FakeSafeItemLibrary::CleanupCount() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->cleanups;
}

std::unique_ptr<SafeAppointmentItem> FakeSafeItemLibrary::CreateSafeAppointmentItem() {
    RequireAvailable(*shared_, &Shared::appointment_available, kSafeAppointmentProgID);
    return std::make_unique<FakeSafeAppointment>(shared_);
}

std::unique_ptr<SafeTaskItem> FakeSafeItemLibrary::CreateSafeTaskItem() {
    RequireAvailable(*shared_, &Shared::task_available, kSafeTaskProgID);
    return std::make_unique<FakeSafeTask>(shared_);
}

std::unique_ptr<MapiUtils> FakeSafeItemLibrary::CreateMapiUtils() {
    RequireAvailable(*shared_, &Shared::utils_available, kMapiUtilsProgID);
    return std::make_unique<FakeMapiUtils>(shared_);
}

}  // namespace planwarte
