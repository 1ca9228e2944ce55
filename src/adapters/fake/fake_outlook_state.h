#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace planwarte {

class OlItem;

// What every object of one fake calendar source shares: the call log, the failures a test
// has asked for, the identities handed out and the open item window. All members lock one
// mutex, so that a worker thread with an application of its own may use the source too.
//
// Members are named as the object model names them ("Connect", "Find", "Subject"); the
// members of collections that share a name are qualified ("Items.Count", "Folders.Item",
// "UserProperties.Add"). Operations are logged with their arguments, e.g.
// "GetNamespace(MAPI)", "Logon(,,,)", "Find([Complete] = False)"; plain value reads (texts,
// numbers, dates, flags, Count, Parent) are not logged, but every member can be made to fail.
class FakeOutlookState {
  public:
    using Lock = std::unique_lock<std::recursive_mutex>;

    // The entry of every member: locks, logs `logged` unless it is empty, and throws the
    // OutlookError a test asked for (or the one of a lost session). The caller keeps the
    // lock for the rest of the member.
    Lock Enter(const std::string& member, const std::string& logged = "");
    // Locks without logging or failing, for the test helpers and the safe-item library.
    Lock Hold() const { return Lock(mutex_); }
    // Runs `read` with every member entered as Hold does: the filters and the sort order read
    // items through their members, and those reads are not calls of the program's.
    template <typename Read>
    auto Quietly(Read read) const {
        Lock lock(mutex_);
        ++quiet_;
        struct Restore {
            int& quiet;
            ~Restore() { --quiet; }
        } restore{quiet_};
        return read();
    }

    // The n-th call of the member from now on (1 = the next) throws, once.
    void FailCall(const std::string& member, int nth = 1,
                  const std::string& reason = "injected failure");
    // Every call of the member throws until StopFailing.
    void FailEveryCall(const std::string& member, const std::string& reason = "injected failure");
    void StopFailing(const std::string& member);

    // The member answers null instead of an object (GetNamespace, GetDefaultFolder,
    // GetFolderFromID, ActiveInspector, GetRecurrencePattern, CurrentItem, Items, Folders,
    // UserProperties).
    void AnswerNull(const std::string& member, bool answer_null = true);
    bool AnswersNull(const std::string& member) const;

    // The data source went away: every call but CreateApplication fails until the next
    // Connect, which brings it back for every object, old references included.
    void LoseSession();
    void RestoreSession();

    std::vector<std::string> CallLog() const;
    void ClearCallLog();

    std::string NewEntryID();
    std::string NewStoreID();

    // The item of the open item window. Held weakly: every item holds this state, and a
    // strong reference back would keep both alive for ever. Its folder keeps it.
    void SetActiveItem(std::shared_ptr<OlItem> item);
    std::shared_ptr<OlItem> ActiveItem() const;

  private:
    struct Failure {
        int calls_left = 0;  // 0: every call
        std::string reason;
    };

    mutable std::recursive_mutex mutex_;
    std::vector<std::string> log_;
    std::map<std::string, Failure> failures_;
    std::set<std::string> null_answers_;
    bool session_lost_ = false;
    unsigned next_id_ = 1;
    mutable int quiet_ = 0;  // Quietly calls under way on the thread holding the lock
    std::weak_ptr<OlItem> active_item_;
};

}  // namespace planwarte
