#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/item_source_contract.h"
#include "core/common/date_time.h"
#include "core/outlook/object_model.h"

// What every source of an inbox must do with Find, FindNext, Sort and the item events on
// mail, checked the same way for each implementation. A source under test makes an inbox
// holding given mails, in the given order, and changes the inbox it made last so that its
// sinks hear of it. Received times are local times.
namespace planwarte::testing_support {

struct SourceMail {
    std::string subject;
    DateTime received{};
    bool unread = true;
};

class MailSourceUnderTest : public ChangingSourceUnderTest {
  public:
    virtual std::shared_ptr<OlItems> MailItems(const std::vector<SourceMail>& items) = 0;
    virtual void AddMail(const SourceMail& item) = 0;
};

// Two unread mails came at ten, so that the sort shows which of them it keeps first; one
// came in the last minute of the day, which the filter's "23:59" takes whole.
inline std::vector<SourceMail> ContractInbox() {
    const auto at = [](int day, int hour, int minute, int second = 0) {
        return EncodeDateTime(2004, 12, day, hour, minute, second);
    };
    return {
        {"Zahnarzt", at(8, 10, 0)},  {"Frühstück", at(8, 8, 0)}, {"Gelesen", at(8, 9, 0), false},
        {"Auch zehn", at(8, 10, 0)}, {"Gestern", at(7, 22, 0)},  {"Spät", at(8, 23, 59, 30)},
        {"Morgen", at(9, 0, 0)},
    };
}

inline void CheckMailFindAndSort(MailSourceUnderTest& source) {
    auto items = source.MailItems(ContractInbox());
    CheckSearchAndSort(*items, {.filter = "[ReceivedTime] >= '#08.12.2004 0:00#' AND "
                                          "[ReceivedTime] <= '#08.12.2004 23:59#' AND "
                                          "[UnRead] = True",
                                .found = {"Zahnarzt", "Frühstück", "Auch zehn", "Spät"},
                                .sort_by = "ReceivedTime",
                                .ascending = {"Frühstück", "Zahnarzt", "Auch zehn", "Spät"},
                                .descending = {"Spät", "Zahnarzt", "Auch zehn", "Frühstück"},
                                .lacking = "[Start]",
                                .first_by_subject = "Auch zehn",
                                .last_by_subject = "Zahnarzt"});
    EXPECT_EQ(ContractFindAll(*items, "[UnRead] = False"), std::vector<std::string>{"Gelesen"});
}

inline void CheckMailFaultyFilters(MailSourceUnderTest& source) {
    auto items = source.MailItems(ContractInbox());
    // The second names a time no mail came at, so that the fault shows without one to test;
    // the third a property of appointments.
    CheckRejectedFilters(*items, {"[Nix] = 1", "[Nix] = 1 AND [ReceivedTime] >= '#01.01.2090#'",
                                  "[Start] >= '#08.12.2004#'", "[ReceivedTime] >="});
}

inline void CheckMailEvents(MailSourceUnderTest& source) {
    auto items = source.MailItems({ContractInbox().front()});
    CheckItemEvents(*items, source, [&] {
        source.AddMail({"Neu", EncodeDateTime(2004, 12, 10, 9, 0)});
    });
}

}  // namespace planwarte::testing_support
