#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "adapters/fake/fake_object_model.h"

namespace planwarte {

// A fake source and a connected, logged-on session on it.
class FakeOutlookTest : public ::testing::Test {
  protected:
    std::shared_ptr<OlNamespace> Session() {
        if (!namespace_) {
            application_ = outlook_->Factory()->CreateApplication();
            application_->Connect();
            namespace_ = application_->GetNamespace("MAPI");
            namespace_->Logon("", "", "", "");
        }
        return namespace_;
    }

    // Every item a search finds, first to last, by subject.
    static std::vector<std::string> FindAll(OlItems& items, const std::string& filter) {
        std::vector<std::string> subjects;
        for (auto item = items.Find(filter); item; item = items.FindNext()) {
            subjects.push_back(item->Subject());
        }
        return subjects;
    }

    static std::string DayFilter(const std::string& day) {
        return "([Start] >= '#" + day + " 0:00#' AND [Start] <= '#" + day + " 23:59#') OR " +
               "([Start] <= '#" + day + " 0:00#' AND [End] > '#" + day + " 0:00#')";
    }

    std::shared_ptr<FakeOutlook> outlook_ = FakeOutlook::Create();
    std::shared_ptr<OlApplication> application_;
    std::shared_ptr<OlNamespace> namespace_;
};

}  // namespace planwarte
