#include "core/assistant/new_mail_check.h"

#include <exception>
#include <utility>

#include "core/app/clock.h"
#include "core/assistant/agent_host.h"
#include "core/common/format_date_time.h"
#include "core/common/string_table.h"
#include "core/outlook/item_access.h"
#include "core/outlook/object_model.h"
#include "core/outlook/outlook_session.h"
#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"

namespace planwarte {

namespace {

constexpr const char* kItemsFailedTrace = "_5_";
constexpr const char* kAnnouncingFailedTrace = "_6_";
constexpr double kFirstLookBackDays = 1.0;

std::string FilterBound(DateTime value) {
    return FormatDateTime("'#'ddddd h:nn'#'", value);
}

// The item and the following matches up to the next mail; other kinds of items in the inbox
// are passed over.
std::shared_ptr<OlMailItem> MailFrom(std::shared_ptr<OlItem> item, OlItems& items) {
    while (item) {
        if (auto mail = std::dynamic_pointer_cast<OlMailItem>(item)) {
            return mail;
        }
        item = items.FindNext();
    }
    return nullptr;
}

}  // namespace

std::string NewMailFilter(DateTime last_check, DateTime now) {
    return "[ReceivedTime] >= '" + FilterBound(last_check) + "' AND [ReceivedTime] <= '" +
           FilterBound(DateTime(now.value + NewMailCheck::kLookAheadDays)) +
           "' AND [UnRead] = TRUE";
}

NewMailCheck::NewMailCheck(AgentHost& host, SettingsStore& settings, const Clock& clock,
                           std::function<void(const std::string&)> trace)
    : host_(host), settings_(settings), clock_(clock), trace_(std::move(trace)) {}

bool NewMailCheck::ReadMailSettings(MailSettings& settings) {
    auto key = settings_.OpenKey(kSettingsKeyPath, false);
    if (!key) {
        return false;
    }
    settings.text = ReadStringOr(*key, "SPAgentCheckMail", LoadStr(msg::kNewMailText));
    bool unreadable = false;
    try {
        settings.reads_subject = key->ReadBool("AgentReadsSubject");
    } catch (const SettingsError&) {
        unreadable = true;
    }
    try {
        settings.checks_mail = key->ReadBool("AgentChecksMail");
    } catch (const SettingsError&) {
        unreadable = true;
    }
    if (unreadable) {
        // Both exist afterwards; one that could not be read is stored as off.
        key->WriteBool("AgentReadsSubject", settings.reads_subject);
        key->WriteBool("AgentChecksMail", settings.checks_mail);
    }
    return true;
}

void NewMailCheck::Run(OutlookSession& session) {
    host_.SetIdleTicks(0);
    MailSettings settings;
    if (!ReadMailSettings(settings) || !settings.checks_mail) {
        return;
    }
    if (!last_check_) {
        last_check_ = DateTime(clock_.Now().value - kFirstLookBackDays);
    }
    std::shared_ptr<OlFolder> inbox;
    try {
        if (const auto& outlook = session.Namespace()) {
            inbox = outlook->GetDefaultFolder(kDefaultFolderInbox);
        }
    } catch (const std::exception&) {
        // A session that does not answer is rebuilt below, as one without an inbox.
    }
    if (!inbox) {
        session.EnsureOutlookSession();
        return;
    }
    const std::string filter = NewMailFilter(*last_check_, clock_.Now());
    std::shared_ptr<OlItems> items;
    try {
        items = inbox->Items();
        if (!items) {
            throw OutlookError("Items", "the inbox has no items collection");
        }
    } catch (const std::exception& error) {
        trace_(kItemsFailedTrace + std::string(error.what()));
    }
    try {
        if (!items) {
            throw OutlookError("Sort", "no items to sort");
        }
        if (!AnnounceFound(*items, filter, settings)) {
            return;
        }
    } catch (const std::exception& error) {
        // The messages not handled yet are announced only if a later window still holds them.
        trace_(kAnnouncingFailedTrace + std::string(error.what()));
    }
    last_check_ = clock_.Now();
}

bool NewMailCheck::AnnounceFound(OlItems& items, const std::string& filter,
                                 const MailSettings& settings) {
    items.Sort("[ReceivedTime]", false);
    std::shared_ptr<OlMailItem> mail = MailFrom(items.Find(filter), items);
    if (!mail) {
        return true;
    }
    if (!host_.LoadAgent(0, 0, true)) {
        return false;
    }
    if (!HasAnnouncedMark(*mail)) {
        host_.SpeakText(settings.text, {.gesture_before = true, .no_wait = true});
    }
    for (; mail; mail = MailFrom(items.FindNext(), items)) {
        host_.PlayAnimation("Blink");
        if (!HasAnnouncedMark(*mail)) {
            SetAnnouncedMark(*mail);
            if (settings.reads_subject) {
                host_.SpeakText(mail->Subject(), {.no_wait = true});
            }
        }
    }
    return true;
}

}  // namespace planwarte
