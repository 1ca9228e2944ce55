#include "adapters/fake/fake_outlook_state.h"

#include <cstdio>

#include "core/outlook/object_model.h"

namespace planwarte {

namespace {

std::string Hex8(unsigned value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", value);
    return text;
}

}  // namespace

FakeOutlookState::Lock FakeOutlookState::Enter(const std::string& member,
                                               const std::string& logged) {
    Lock lock(mutex_);
    if (quiet_ > 0) {
        return lock;
    }
    if (!logged.empty()) {
        log_.push_back(logged);
    }
    // A lost source is started afresh by a new application or a new Connect.
    if (session_lost_ && member != "Connect" && member != "CreateApplication") {
        throw OutlookError(member, "the server is not available");
    }
    const auto failure = failures_.find(member);
    if (failure != failures_.end()) {
        Failure& rule = failure->second;
        if (rule.calls_left == 0) {
            throw OutlookError(member, rule.reason);
        }
        if (--rule.calls_left == 0) {
            const std::string reason = rule.reason;
            failures_.erase(failure);
            throw OutlookError(member, reason);
        }
    }
    return lock;
}

void FakeOutlookState::FailCall(const std::string& member, int nth, const std::string& reason) {
    Lock lock(mutex_);
    failures_[member] = Failure{nth < 1 ? 1 : nth, reason};
}

void FakeOutlookState::FailEveryCall(const std::string& member, const std::string& reason) {
    Lock lock(mutex_);
    failures_[member] = Failure{0, reason};
}

void FakeOutlookState::StopFailing(const std::string& member) {
    Lock lock(mutex_);
    failures_.erase(member);
}

void FakeOutlookState::AnswerNull(const std::string& member, bool answer_null) {
    Lock lock(mutex_);
    if (answer_null) {
        null_answers_.insert(member);
    } else {
        null_answers_.erase(member);
    }
}

bool FakeOutlookState::AnswersNull(const std::string& member) const {
    Lock lock(mutex_);
    return null_answers_.count(member) != 0;
}

void FakeOutlookState::LoseSession() {
    Lock lock(mutex_);
    session_lost_ = true;
}

void FakeOutlookState::RestoreSession() {
    Lock lock(mutex_);
    session_lost_ = false;
}

std::vector<std::string> FakeOutlookState::CallLog() const {
    Lock lock(mutex_);
    return log_;
}

void FakeOutlookState::ClearCallLog() {
    Lock lock(mutex_);
    log_.clear();
}

std::string FakeOutlookState::NewEntryID() {
    Lock lock(mutex_);
    return "00000000"
           "9A8B7C6D" +
           Hex8(next_id_++);
}

std::string FakeOutlookState::NewStoreID() {
    Lock lock(mutex_);
    return "0000000038A1BB1005E5101AA1BB0800" + Hex8(next_id_++);
}

void FakeOutlookState::SetActiveItem(std::shared_ptr<OlItem> item) {
    Lock lock(mutex_);
    active_item_ = std::move(item);
}

std::shared_ptr<OlItem> FakeOutlookState::ActiveItem() const {
    Lock lock(mutex_);
    return active_item_.lock();
}

}  // namespace planwarte
