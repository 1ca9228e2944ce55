#include "adapters/fake/memory_settings_store.h"

#include <algorithm>
#include <map>
#include <utility>

#include "core/settings/key_names.h"

namespace planwarte {

namespace {

enum class ValueKind { kInteger, kString, kRaw };

struct Value {
    std::string name;
    ValueKind kind;
    std::int32_t integer = 0;
    std::string text;  // string and raw values
};

struct Node {
    std::string name;                   // the last path part, as first written
    std::vector<std::string> children;  // folded full paths, in creation order
    std::vector<Value> values;          // in creation order
};

const Value* FindValue(const std::vector<Value>& values, std::string_view name) {
    const auto found = std::find_if(values.begin(), values.end(),
                                    [&](const Value& value) { return SameName(value.name, name); });
    return found == values.end() ? nullptr : &*found;
}

// Replaces a value in place, keeping the name it was first written with.
void PutValue(std::vector<Value>& values, Value value) {
    const auto found = std::find_if(values.begin(), values.end(), [&](const Value& old) {
        return SameName(old.name, value.name);
    });
    if (found == values.end()) {
        values.push_back(std::move(value));
    } else {
        value.name = found->name;
        *found = std::move(value);
    }
}

std::string FoldedPath(std::string_view path) {
    std::string folded;
    for (const std::string& part : SplitKeyPath(path)) {
        folded += (folded.empty() ? "" : "\\") + FoldCase(part);
    }
    return folded;
}

}  // namespace

struct MemorySettingsStore::State {
    std::map<std::string, Node> nodes{{"", Node{}}};  // by folded path; "" is the root
    bool unavailable = false;
    int writes = 0;

    Node* Find(std::string_view path) {
        const auto found = nodes.find(FoldedPath(path));
        return found == nodes.end() ? nullptr : &found->second;
    }

    const Node* Find(std::string_view path) const {
        const auto found = nodes.find(FoldedPath(path));
        return found == nodes.end() ? nullptr : &found->second;
    }

    Node& Create(std::string_view path) {
        std::string folded;
        Node* node = &nodes.at("");
        for (const std::string& part : SplitKeyPath(path)) {
            std::string child = folded + (folded.empty() ? "" : "\\") + FoldCase(part);
            const auto [it, inserted] = nodes.try_emplace(child, Node{part, {}, {}});
            if (inserted) {
                node->children.push_back(child);
            }
            node = &it->second;
            folded = std::move(child);
        }
        return *node;
    }

    const Value* FindValue(std::string_view path, std::string_view name) const {
        const Node* node = Find(path);
        return node == nullptr ? nullptr : planwarte::FindValue(node->values, name);
    }
};

namespace {

class MemorySettingsKey : public SettingsKey {
  public:
    MemorySettingsKey(std::shared_ptr<MemorySettingsStore::State> state, std::string path,
                      std::vector<Value> values, std::vector<std::string> sub_keys)
        : state_(std::move(state)),
          path_(std::move(path)),
          values_(std::move(values)),
          sub_keys_(std::move(sub_keys)) {}

    std::int32_t ReadInteger(std::string_view name) override {
        const Value* value = FindValue(values_, name);
        if (value == nullptr) {
            throw SettingsError("value " + std::string(name) + " is absent");
        }
        if (value->kind != ValueKind::kInteger) {
            throw SettingsError("value " + std::string(name) + " is not an integer");
        }
        return value->integer;
    }

    bool ReadBool(std::string_view name) override { return ReadInteger(name) != 0; }

    std::string ReadString(std::string_view name) override {
        const Value* value = FindValue(values_, name);
        if (value == nullptr) {
            return {};
        }
        if (value->kind != ValueKind::kString) {
            throw SettingsError("value " + std::string(name) + " is not a text");
        }
        return value->text;
    }

    bool ValueExists(std::string_view name) override { return FindValue(values_, name) != nullptr; }

    void WriteInteger(std::string_view name, std::int32_t value) override {
        Write(Value{std::string(name), ValueKind::kInteger, value, {}});
    }

    void WriteBool(std::string_view name, bool value) override {
        WriteInteger(name, value ? 1 : 0);
    }

    void WriteString(std::string_view name, std::string_view value) override {
        Write(Value{std::string(name), ValueKind::kString, 0, std::string(value)});
    }

    std::vector<std::string> SubKeyNames() override { return sub_keys_; }

  private:
    void Write(const Value& value) {
        PutValue(values_, value);
        PutValue(state_->Create(path_).values, value);
        ++state_->writes;
    }

    std::shared_ptr<MemorySettingsStore::State> state_;
    std::string path_;
    std::vector<Value> values_;
    std::vector<std::string> sub_keys_;
};

}  // namespace

MemorySettingsStore::MemorySettingsStore() : state_(std::make_shared<State>()) {}

MemorySettingsStore::~MemorySettingsStore() = default;

std::unique_ptr<SettingsKey> MemorySettingsStore::OpenKey(std::string_view path, bool create) {
    if (state_->unavailable || SplitKeyPath(path).empty()) {
        return nullptr;
    }
    const Node* node = create ? &state_->Create(path) : state_->Find(path);
    if (node == nullptr) {
        return nullptr;
    }
    std::vector<std::string> sub_keys;
    for (const std::string& child : node->children) {
        sub_keys.push_back(state_->nodes.at(child).name);
    }
    return std::make_unique<MemorySettingsKey>(state_, std::string(path), node->values,
                                               std::move(sub_keys));
}

void MemorySettingsStore::CreateKey(std::string_view path) {
    state_->Create(path);
}

void MemorySettingsStore::SetInteger(std::string_view path, std::string_view name,
                                     std::int32_t value) {
    PutValue(state_->Create(path).values, Value{std::string(name), ValueKind::kInteger, value, {}});
}

void MemorySettingsStore::SetString(std::string_view path, std::string_view name,
                                    std::string_view value) {
    PutValue(state_->Create(path).values,
             Value{std::string(name), ValueKind::kString, 0, std::string(value)});
}

void MemorySettingsStore::SetRaw(std::string_view path, std::string_view name,
                                 std::string_view bytes) {
    PutValue(state_->Create(path).values,
             Value{std::string(name), ValueKind::kRaw, 0, std::string(bytes)});
}

bool MemorySettingsStore::HasKey(std::string_view path) const {
    return state_->Find(path) != nullptr;
}

bool MemorySettingsStore::HasValue(std::string_view path, std::string_view name) const {
    return state_->FindValue(path, name) != nullptr;
}

std::optional<std::int32_t> MemorySettingsStore::IntegerValue(std::string_view path,
                                                              std::string_view name) const {
    const Value* value = state_->FindValue(path, name);
    if (value == nullptr || value->kind != ValueKind::kInteger) {
        return std::nullopt;
    }
    return value->integer;
}

std::optional<std::string> MemorySettingsStore::StringValue(std::string_view path,
                                                            std::string_view name) const {
    const Value* value = state_->FindValue(path, name);
    if (value == nullptr || value->kind != ValueKind::kString) {
        return std::nullopt;
    }
    return value->text;
}

std::vector<std::string> MemorySettingsStore::ValueNames(std::string_view path) const {
    std::vector<std::string> names;
    if (const Node* node = state_->Find(path)) {
        for (const Value& value : node->values) {
            names.push_back(value.name);
        }
    }
    return names;
}

void MemorySettingsStore::SetUnavailable(bool unavailable) {
    state_->unavailable = unavailable;
}

int MemorySettingsStore::WriteCount() const {
    return state_->writes;
}

}  // namespace planwarte
