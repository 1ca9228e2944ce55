#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/recording_items_sink.h"
#include "core/outlook/object_model.h"

// What every source must do with Find, FindNext, Sort, faulty filters and the item events,
// whatever kind of items its folders hold; checked the same way for each implementation.
// The calendar and the mail checks run these on folders of their kind.
namespace planwarte::testing_support {

// A source that changes the folder it made last so that the sinks of its Items collections
// hear of it.
class ChangingSourceUnderTest {
  public:
    virtual ~ChangingSourceUnderTest() = default;
    virtual void Rename(const std::string& subject, const std::string& new_subject) = 0;
    virtual void Remove(const std::string& subject) = 0;
};

inline std::vector<std::string> ContractFindAll(OlItems& items, const std::string& filter) {
    std::vector<std::string> found;
    for (auto item = items.Find(filter); item; item = items.FindNext()) {
        found.push_back(item->Subject());
    }
    return found;
}

// A folder's items searched and sorted: the filter finds some of them, two of which have
// the same value of the sorted property, so that the sort shows which of them it keeps first.
struct SearchAndSortCase {
    std::string filter;
    std::vector<std::string> found;  // unsorted: the folder's order
    std::string sort_by;             // a property name without brackets
    std::vector<std::string> ascending;
    std::vector<std::string> descending;
    std::string lacking;  // a property the folder's kind of item has not, with brackets
    std::string first_by_subject;
    std::string last_by_subject;
};

// `items` is a fresh collection: no Find before.
inline void CheckSearchAndSort(OlItems& items, const SearchAndSortCase& c) {
    EXPECT_THROW(items.FindNext(), OutlookError) << "FindNext without Find";
    EXPECT_EQ(ContractFindAll(items, c.filter), c.found) << "unsorted: the folder's order";
    EXPECT_EQ(items.FindNext(), nullptr) << "again after the last match";

    items.Sort("[" + c.sort_by + "]", false);
    EXPECT_EQ(ContractFindAll(items, c.filter), c.ascending);
    items.Sort(c.sort_by, true);
    EXPECT_EQ(ContractFindAll(items, c.filter), c.descending)
        << "equal values keep the folder's order also descending";

    EXPECT_THROW(items.Sort(c.lacking, false), OutlookError);
    EXPECT_EQ(ContractFindAll(items, c.filter).front(), c.descending.front())
        << "a failed Sort keeps the order";
    items.Sort("[Subject]", false);
    EXPECT_EQ(items.Item(1)->Subject(), c.first_by_subject);
    EXPECT_EQ(items.Item(items.Count())->Subject(), c.last_by_subject);
}

// Each filter names a property the items lack or does not parse.
inline void CheckRejectedFilters(OlItems& items, const std::vector<std::string>& filters) {
    for (const std::string& filter : filters) {
        try {
            items.Find(filter);
            ADD_FAILURE() << "no error for " << filter;
        } catch (const OutlookError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("Find: ", 0), 0u) << error.what();
        }
        EXPECT_THROW(items.FindNext(), OutlookError) << "a failed Find leaves no search";
    }
}

using ContractSink = RecordingItemsSink;

// `items` is of a folder that holds an item "Zahnarzt"; `add_neu` adds one named "Neu".
inline void CheckItemEvents(OlItems& items, ChangingSourceUnderTest& source,
                            const std::function<void()>& add_neu) {
    ContractSink sink;
    ContractSink other_sink;
    ContractSink released_sink;
    const int cookie = items.Advise(&sink);
    const std::shared_ptr<OlItems> other = items.Parent()->Items();
    const int other_cookie = other->Advise(&other_sink);
    items.Parent()->Items()->Advise(&released_sink);  // its collection goes at once
    add_neu();
    source.Rename("Zahnarzt", "Zahnärztin");
    source.Remove("Neu");
    EXPECT_EQ(sink.events, (std::vector<std::string>{"add Neu", "change Zahnärztin", "remove"}));
    EXPECT_EQ(other_sink.events, sink.events) << "every collection of the folder hears them";
    EXPECT_TRUE(released_sink.events.empty()) << "a released collection takes its sinks along";

    EXPECT_THROW(items.Advise(nullptr), OutlookError);
    EXPECT_THROW(items.Unadvise(cookie + 1000), OutlookError) << "a cookie never handed out";
    EXPECT_THROW(items.Unadvise(other_cookie), OutlookError) << "a cookie of another collection";
    items.Unadvise(cookie);
    source.Rename("Zahnärztin", "Ungehört");
    EXPECT_EQ(sink.events.size(), 3u);
    EXPECT_EQ(other_sink.events.size(), 4u) << "still connected to its own collection";
    EXPECT_THROW(items.Unadvise(cookie), OutlookError);
}

}  // namespace planwarte::testing_support
